// Files and folders through kernel32.
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

// A file's folder with the separator that ends it ("c:\a\b.ini" -> "c:\a\"); "" when relative.
std::string FolderOf(const std::string& path) {
    std::size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(bytes.size() - done > 0x10000000 ? 0x10000000 : bytes.size() - done);
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CreateDirectory(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
    if (folder.empty()) return false;
    if (DirectoryExists(folder)) return true;

    // Parents first. A drive root or a share's server part cannot be made and
    // is not tried twice: its creation just fails and the folder's own call decides.
    std::size_t cut = folder.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0) {
        std::string parent = folder.substr(0, cut);
        bool isRoot = parent.size() == 2 && parent[1] == ':';
        if (!isRoot && !DirectoryExists(parent)) CreateDirectory(parent);
    }
    if (::CreateDirectoryA(folder.c_str(), nullptr)) return true;
    return DirectoryExists(folder);  // made by someone else meanwhile
}

bool Win32FileSystem::DeleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != FALSE; }

bool Win32FileSystem::CopyFile(const std::string& source, const std::string& target, bool failIfExists) {
    return ::CopyFileA(source.c_str(), target.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    std::string bytes;
    if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    // Read to the end rather than trusting the size: the file may change while read.
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    return bytes;
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    if (IsReadOnly(path) || DirectoryExists(path)) return false;

    // The new content goes to a temporary file beside the target, which then
    // replaces the target in one rename: readers see the old or the new file.
    std::string folder = FolderOf(path);
    char temp[MAX_PATH + 16];
    if (!::GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "zrt", 0, temp)) return false;
    {
        UniqueHandle file(::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !WriteAll(file.Get(), bytes) || !::FlushFileBuffers(file.Get())) {
            file.Reset();
            ::DeleteFileA(temp);
            return false;
        }
    }
    // A reader that opened the target without sharing deletion blocks the
    // rename for a moment; try a few times before giving up.
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        DWORD error = ::GetLastError();
        if (attempt >= 20 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) break;
        ::Sleep(10);
    }
    ::DeleteFileA(temp);
    return false;
}

bool Win32FileSystem::IsReadOnly(const std::string& path) {
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool Win32FileSystem::SetReadOnly(const std::string& path, bool readOnly) {
    DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    attributes = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

}  // namespace platform::win32
