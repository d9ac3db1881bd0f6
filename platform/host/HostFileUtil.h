#pragma once
// File and text helpers shared by the host stand-ins (not part of the platform API).
#include <optional>
#include <string>

namespace platform::host {

// The whole file as bytes; nullopt when it is missing or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& nativePath);

// Writes `bytes` to a temporary file in the target's folder, then renames it
// over the target, so a reader sees the old or the new content, never a mix.
// False (and the target unchanged) when the folder is missing, the target is
// read-only or anything fails. The folder is not created.
bool WriteFileAtomically(const std::string& nativePath, const std::string& bytes);

// ASCII letters in lower case (names that match ignoring case).
std::string AsciiLower(const std::string& text);

// The file (or folder) has no write permission for its owner.
bool IsNativeReadOnly(const std::string& nativePath);

}  // namespace platform::host
