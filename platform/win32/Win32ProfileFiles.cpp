// Profile files through kernel32. The "A" calls copy into a caller's buffer
// and only say that it was too small, so every read retries with a larger one
// until the whole result fits.
//
// The "A" calls pass their strings on through counted UTF-16 strings of at
// most 32,767 characters, and cut longer ones (a value written would lose
// its head). Strings that long go through the "W" calls, converted from and
// to the ANSI code page; the file keeps its encoding either way.
#include <cstring>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

constexpr DWORD kFirstBuffer = 1024;
// Beyond this a result is cut rather than the buffer doubled again.
constexpr DWORD kLargestBuffer = 0x40000000;

// Calls `read(buffer, size)` with growing buffers. `slack` is how far below
// the size a result that filled the buffer ends: 1 for one string (its NUL),
// 2 for a NUL-separated list (its two closing NULs).
template <typename Read>
std::string ReadGrowing(Read read, DWORD slack) {
    std::string buffer;
    for (DWORD size = kFirstBuffer;; size *= 2) {
        buffer.assign(size, '\0');
        DWORD length = read(buffer.data(), size);
        if (length + slack < size || size >= kLargestBuffer) {
            buffer.resize(length < size ? length : size);
            return buffer;
        }
    }
}

// "a\0b\0\0" -> {"a", "b"}. `list` holds the characters before the closing NUL.
// An empty item (a key line with an empty name) reads as the list's end, as
// for every caller that walks such a list.
std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\0', start);
        if (end == std::string::npos) end = list.size();
        if (end == start) break;
        items.emplace_back(list, start, end - start);
        start = end + 1;
    }
    return items;
}

constexpr std::size_t kLongestAnsiArgument = 32766;

bool TooLongForAnsi(const std::string& text) { return text.size() > kLongestAnsiArgument; }

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int length =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                              nullptr);
    return text;
}

std::string ReadStringWide(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) {
    const std::wstring wFile = Widen(file), wSection = Widen(section), wKey = Widen(key),
                       wDefault = Widen(defaultValue);
    std::wstring buffer;
    for (DWORD size = kFirstBuffer;; size *= 2) {
        buffer.assign(size, L'\0');
        DWORD length = ::GetPrivateProfileStringW(wSection.c_str(), wKey.c_str(), wDefault.c_str(), buffer.data(), size,
                                                  wFile.c_str());
        if (length + 1 < size || size >= kLargestBuffer) {
            buffer.resize(length < size ? length : size);
            return Narrow(buffer);
        }
    }
}

}  // namespace

std::string Win32ProfileFiles::ReadString(const std::string& file, const std::string& section,
                                          const std::string& key, const std::string& defaultValue) {
    if (TooLongForAnsi(section) || TooLongForAnsi(key) || TooLongForAnsi(defaultValue))
        return ReadStringWide(file, section, key, defaultValue);
    return ReadGrowing(
        [&](char* buffer, DWORD size) {
            return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, size,
                                              file.c_str());
        },
        1);
}

std::vector<std::string> Win32ProfileFiles::ReadKeys(const std::string& file, const std::string& section) {
    return SplitList(ReadGrowing(
        [&](char* buffer, DWORD size) {
            return ::GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size, file.c_str());
        },
        2));
}

std::vector<std::string> Win32ProfileFiles::ReadSectionNames(const std::string& file) {
    return SplitList(ReadGrowing(
        [&](char* buffer, DWORD size) { return ::GetPrivateProfileSectionNamesA(buffer, size, file.c_str()); }, 2));
}

std::vector<std::string> Win32ProfileFiles::ReadSectionLines(const std::string& file, const std::string& section) {
    return SplitList(ReadGrowing(
        [&](char* buffer, DWORD size) {
            return ::GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
        },
        2));
}

bool Win32ProfileFiles::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& value) {
    if (TooLongForAnsi(section) || TooLongForAnsi(key) || TooLongForAnsi(value)) {
        return ::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                            Widen(file).c_str()) != FALSE;
    }
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

bool Win32ProfileFiles::DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != FALSE;
}

bool Win32ProfileFiles::EraseSection(const std::string& file, const std::string& section) {
    return ::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != FALSE;
}

bool Win32ProfileFiles::WriteSectionLines(const std::string& file, const std::string& section,
                                          const std::vector<std::string>& lines) {
    // "k1=v1\0k2=v2\0\0"; an empty section is a lone pair of NULs.
    std::string block;
    for (const std::string& line : lines) {
        // An empty item would end the list early; a NUL inside a line ends that line.
        if (line.empty() || line[0] == '\0') continue;
        block.append(line.c_str());
        block.push_back('\0');
    }
    if (block.empty()) block.push_back('\0');
    block.push_back('\0');
    return ::WritePrivateProfileSectionA(section.c_str(), block.data(), file.c_str()) != FALSE;
}

void Win32ProfileFiles::Flush(const std::string& file) {
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

}  // namespace platform::win32
