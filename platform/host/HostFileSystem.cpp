// HostFileSystem: Windows paths mapped onto a folder of this machine.
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/host/HostPlatform.h"
#include "platform/host/HostFileUtil.h"

namespace fs = std::filesystem;

namespace platform::host {

HostFileSystem::HostFileSystem(std::string root) : root_(std::move(root)) {}

std::string HostFileSystem::NativePath(const std::string& path) const {
    std::string rest = path;
    std::string out;
    if (!root_.empty() && rest.size() >= 2 && rest[1] == ':' &&
        std::isalpha(static_cast<unsigned char>(rest[0]))) {
        out = root_;
        if (!out.empty() && out.back() != '/' && out.back() != '\\') out += '/';
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(rest[0])));
        rest = rest.substr(2);
        if (!rest.empty() && rest[0] != '\\' && rest[0] != '/') out += '/';
    }
    for (char c : rest) out += c == '\\' ? '/' : c;
    return out;
}

PathMapper HostFileSystem::Mapper() const {
    std::string root = root_;
    return [root](const std::string& path) { return HostFileSystem(root).NativePath(path); };
}

bool HostFileSystem::FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(NativePath(path), ec);
}

bool HostFileSystem::DirectoryExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(NativePath(path), ec);
}

bool HostFileSystem::CreateDirectory(const std::string& path) {
    std::error_code ec;
    fs::path p = NativePath(path);
    fs::create_directories(p, ec);
    return fs::is_directory(p, ec);
}

bool HostFileSystem::DeleteFile(const std::string& path) {
    std::error_code ec;
    fs::path p = NativePath(path);
    if (!fs::is_regular_file(p, ec)) return false;
    if (IsNativeReadOnly(p.string())) return false;  // as DeleteFile: access denied
    return fs::remove(p, ec) && !ec;
}

bool HostFileSystem::CopyFile(const std::string& source, const std::string& target, bool failIfExists) {
    std::error_code ec;
    fs::path from = NativePath(source), to = NativePath(target);
    if (!fs::is_regular_file(from, ec)) return false;
    if (fs::exists(to, ec)) {
        if (failIfExists) return false;
        if (!fs::is_regular_file(to, ec)) return false;
    }
    std::optional<std::string> bytes = ReadWholeFile(from.string());
    if (!bytes) return false;
    return WriteFileAtomically(to.string(), *bytes);
}

std::optional<std::string> HostFileSystem::ReadFile(const std::string& path) {
    return ReadWholeFile(NativePath(path));
}

bool HostFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    return WriteFileAtomically(NativePath(path), bytes);
}

bool HostFileSystem::IsReadOnly(const std::string& path) {
    return IsNativeReadOnly(NativePath(path));
}

bool HostFileSystem::SetReadOnly(const std::string& path, bool readOnly) {
    std::error_code ec;
    fs::path p = NativePath(path);
    if (!fs::exists(p, ec)) return false;
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
    return !ec;
}

}  // namespace platform::host
