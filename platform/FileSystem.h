#pragma once
// Port: files and folders. Paths are Windows paths ("c:\Program Files\x.ini");
// the host stand-in maps them onto a folder of its own.
#include <optional>
#include <string>

namespace platform {

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    virtual bool CreateDirectory(const std::string& path) = 0;  // parents included
    virtual bool DeleteFile(const std::string& path) = 0;
    // CopyFile: with failIfExists an existing target is left alone and the result is false.
    virtual bool CopyFile(const std::string& source, const std::string& target, bool failIfExists) = 0;
    // The whole file as bytes; nullopt when it cannot be read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Replaces the file atomically (a reader sees the old or the new content).
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    virtual bool IsReadOnly(const std::string& path) = 0;
    virtual bool SetReadOnly(const std::string& path, bool readOnly) = 0;
};

}  // namespace platform
