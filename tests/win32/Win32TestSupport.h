#pragma once
// Helpers shared by the Windows integration tests.
#include "platform/win32/Win32Api.h"

#include <filesystem>
#include <string>

namespace zrtest {

// A unique empty folder under the user's temporary folder, removed with its
// content (read-only files included) when the object goes.
class TempDir {
public:
    TempDir() {
        char base[MAX_PATH + 1] = {};
        ::GetTempPathA(MAX_PATH, base);
        for (unsigned n = 0;; ++n) {
            path_ = std::string(base) + "zrw" + std::to_string(::GetCurrentProcessId()) + "_" +
                    std::to_string(::GetTickCount() % 100000) + "_" + std::to_string(n);
            if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
        }
    }
    ~TempDir() {
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            ::SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// The Windows path of a path on the build machine (wine maps drive Z: to "/").
inline std::string WindowsPathOf(const std::string& buildPath) {
    if (buildPath.empty() || buildPath[0] != '/') return buildPath;
    std::string path = "Z:" + buildPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The folder of the running test program, where its helpers are built.
inline std::string ProgramFolder() {
    char path[MAX_PATH * 2] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.find_last_of('\\'));
}

inline std::string ReadBytes(const std::string& path) {
    std::string bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    ::CloseHandle(file);
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Bytes made readable in a failure message: line ends and controls escaped,
// long runs of one character shortened.
inline std::string Visible(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t run = 1;
        while (i + run < bytes.size() && bytes[i + run] == bytes[i]) ++run;
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::string one;
        if (c == '\r') one = "\\r";
        else if (c == '\n') one = "\\n\n";
        else if (c == '\0') one = "\\0";
        else if (c < 32) one = "\\x" + std::to_string(c);
        else one = std::string(1, static_cast<char>(c));
        if (run > 8) {
            out += one + "{x" + std::to_string(run) + "}";
        } else {
            for (std::size_t k = 0; k < run; ++k) out += one;
        }
        i += run;
    }
    return out;
}

}  // namespace zrtest
