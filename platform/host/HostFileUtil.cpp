#include <cctype>
#include "platform/host/HostFileUtil.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace platform::host {

std::optional<std::string> ReadWholeFile(const std::string& nativePath) {
    std::error_code ec;
    if (!fs::is_regular_file(nativePath, ec)) return std::nullopt;
    std::ifstream in(nativePath, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool IsNativeReadOnly(const std::string& nativePath) {
    std::error_code ec;
    fs::file_status st = fs::status(nativePath, ec);
    if (ec || !fs::exists(st)) return false;
    return (st.permissions() & fs::perms::owner_write) == fs::perms::none;
}

namespace {

std::string UniqueSuffix() {
    static std::atomic<unsigned long long> counter{0};
    unsigned long long n = ++counter;
    unsigned long long pid =
#ifndef _WIN32
        static_cast<unsigned long long>(::getpid());
#else
        static_cast<unsigned long long>(::_getpid());
#endif
    auto tid = std::hash<std::thread::id>()(std::this_thread::get_id());
    auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return ".tmp" + std::to_string(pid) + "-" + std::to_string(tid % 1000000007ULL) + "-" +
           std::to_string(static_cast<unsigned long long>(now) % 1000000007ULL) + "-" + std::to_string(n);
}

}  // namespace

bool WriteFileAtomically(const std::string& nativePath, const std::string& bytes) {
    std::error_code ec;
    fs::path target(nativePath);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    if (!fs::is_directory(folder, ec)) return false;
#ifndef _WIN32
    // A folder without write permission refuses the temporary file; checked
    // here too because root would be let through. (On Windows a folder's
    // read-only attribute does not protect its files, so it is not checked.)
    if (IsNativeReadOnly(folder.string())) return false;
#endif
    if (fs::exists(target, ec)) {
        if (!fs::is_regular_file(target, ec)) return false;
        if (IsNativeReadOnly(nativePath)) return false;  // as Windows: a read-only file is not replaced
    }
    fs::path temp = folder / ("." + target.filename().string() + UniqueSuffix());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    if (fs::exists(target, ec)) {  // the new file keeps the old one's permissions
        std::error_code ignored;
        fs::permissions(temp, fs::status(target, ignored).permissions(), fs::perm_options::replace, ignored);
    }
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

std::string AsciiLower(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace platform::host
