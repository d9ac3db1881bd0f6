#pragma once
// Port: the profile-file (INI) services of the operating system.
//
// Both implementations follow the Windows rules: sections and keys match
// ignoring case and the first match wins; a missing file reads as empty;
// writing creates the file and the section; values are trimmed and lose one
// pair of surrounding quotes when read; key lists come back in file order.
#include <memory>
#include <string>
#include <vector>

namespace platform {

class IProfileFiles {
public:
    virtual ~IProfileFiles() = default;

    // GetPrivateProfileString with a section and a key.
    virtual std::string ReadString(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // GetPrivateProfileString with a null key: the section's key names in file order.
    virtual std::vector<std::string> ReadKeys(const std::string& file, const std::string& section) = 0;
    // GetPrivateProfileSectionNames.
    virtual std::vector<std::string> ReadSectionNames(const std::string& file) = 0;
    // GetPrivateProfileSection: the section's lines as "key=value".
    virtual std::vector<std::string> ReadSectionLines(const std::string& file, const std::string& section) = 0;

    // WritePrivateProfileString with a value. False when the file cannot be written.
    virtual bool WriteString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
    // WritePrivateProfileString with a null value.
    virtual bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) = 0;
    // WritePrivateProfileString with a null key.
    virtual bool EraseSection(const std::string& file, const std::string& section) = 0;
    // WritePrivateProfileSection: replaces the whole content of a section with
    // "key=value" lines in one call (creating it when missing).
    virtual bool WriteSectionLines(const std::string& file, const std::string& section,
                                   const std::vector<std::string>& lines) = 0;
    // WritePrivateProfileString(NULL, NULL, NULL, file): flush any cached copy.
    virtual void Flush(const std::string& file) = 0;
};

// Holding one of these keeps every other process and thread from writing the
// same settings file: a named mutex on Windows, a file lock on the host.
class IFileLockHold {
public:
    virtual ~IFileLockHold() = default;
};

class IFileLocks {
public:
    virtual ~IFileLocks() = default;
    // Blocks until the lock of `file` is held; never returns null. When the
    // lock cannot be made at all the hold is empty and the caller goes on
    // unlocked (losing a race is better than losing the write).
    virtual std::unique_ptr<IFileLockHold> Lock(const std::string& file) = 0;
};

}  // namespace platform
