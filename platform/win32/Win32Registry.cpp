// The registry through advapi32, in the default view of the process.
#include <cstring>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

// Key names have at most 255 characters and value names 16,383.
constexpr DWORD kLongestName = 32768;

HKEY RootKey(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
        case RegRoot::Users: return HKEY_USERS;
    }
    return HKEY_CURRENT_USER;
}

std::string SubPath(const std::string& path) {
    return !path.empty() && path[0] == '\\' ? path.substr(1) : path;
}

UniqueKey Open(RegRoot root, const std::string& path, REGSAM access) {
    UniqueKey key;
    if (::RegOpenKeyExA(RootKey(root), SubPath(path).c_str(), 0, access, key.Receive()) != ERROR_SUCCESS)
        key.Reset();
    return key;
}

// Strings are stored with their NUL; a value written by another program
// may or may not have one, so trailing NULs are dropped.
std::string TextOf(const std::vector<std::uint8_t>& data) {
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

}  // namespace

bool Win32Registry::KeyExists(RegRoot root, const std::string& path) {
    return static_cast<bool>(Open(root, path, KEY_QUERY_VALUE));
}

bool Win32Registry::CreateKey(RegRoot root, const std::string& path) {
    UniqueKey key;
    return ::RegCreateKeyExA(RootKey(root), SubPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_QUERY_VALUE, nullptr, key.Receive(), nullptr) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKey(RegRoot root, const std::string& path) {
    const std::string sub = SubPath(path);
    if (sub.empty()) return false;  // never the whole root
    if (!KeyExists(root, path)) return false;
    return ::RegDeleteTreeA(RootKey(root), sub.c_str()) == ERROR_SUCCESS;
}

std::optional<RegValue> Win32Registry::ReadValue(RegRoot root, const std::string& path, const std::string& name) {
    UniqueKey key = Open(root, path, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;

    DWORD type = 0;
    std::vector<std::uint8_t> data(256);
    for (;;) {
        DWORD size = static_cast<DWORD>(data.size());
        LONG rc = ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            break;
        }
        if (rc != ERROR_MORE_DATA) return std::nullopt;
        // `size` is what the value needs now; it may grow again before the next try.
        data.resize(size > data.size() ? size : data.size() * 2);
    }

    RegValue value;
    switch (type) {
        case REG_SZ:
            value.type = RegType::String;
            value.text = TextOf(data);
            break;
        case REG_EXPAND_SZ:
            value.type = RegType::ExpandString;
            value.text = TextOf(data);
            break;
        case REG_MULTI_SZ:
            value.type = RegType::MultiString;
            value.text = TextOf(data);  // items stay joined by their NULs
            break;
        case REG_DWORD:
            if (data.size() == sizeof(DWORD)) {
                value.type = RegType::DWord;
                std::memcpy(&value.dword, data.data(), sizeof(DWORD));
            } else {
                value.type = RegType::Other;
                value.bytes = std::move(data);
            }
            break;
        case REG_BINARY:
            value.type = RegType::Binary;
            value.bytes = std::move(data);
            break;
        default:
            value.type = RegType::Other;
            value.bytes = std::move(data);
            break;
    }
    return value;
}

bool Win32Registry::WriteValue(RegRoot root, const std::string& path, const std::string& name,
                               const RegValue& value) {
    UniqueKey key = Open(root, path, KEY_SET_VALUE);
    if (!key) return false;

    DWORD type = REG_NONE;
    std::string text;
    const BYTE* data = nullptr;
    DWORD size = 0;
    switch (value.type) {
        case RegType::String:
        case RegType::ExpandString:
        case RegType::MultiString:
            type = value.type == RegType::String         ? REG_SZ
                   : value.type == RegType::ExpandString ? REG_EXPAND_SZ
                                                         : REG_MULTI_SZ;
            text = value.text;
            text.push_back('\0');
            if (value.type == RegType::MultiString) text.push_back('\0');  // the list's closing NUL
            data = reinterpret_cast<const BYTE*>(text.data());
            size = static_cast<DWORD>(text.size());
            break;
        case RegType::DWord:
            type = REG_DWORD;
            data = reinterpret_cast<const BYTE*>(&value.dword);
            size = sizeof(DWORD);
            break;
        case RegType::Binary:
        case RegType::Other:
            type = value.type == RegType::Binary ? REG_BINARY : REG_NONE;
            data = value.bytes.data();
            size = static_cast<DWORD>(value.bytes.size());
            break;
    }
    return ::RegSetValueExA(key.Get(), name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegRoot root, const std::string& path, const std::string& name) {
    UniqueKey key = Open(root, path, KEY_SET_VALUE);
    return key && ::RegDeleteValueA(key.Get(), name.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> Win32Registry::SubKeyNames(RegRoot root, const std::string& path) {
    std::vector<std::string> names;
    UniqueKey key = Open(root, path, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
    if (!key) return names;
    DWORD longest = 0;
    ::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
    std::string buffer;
    for (DWORD index = 0;; ++index) {
        buffer.assign(longest < 255 ? 256 : longest + 1, '\0');
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG rc = ::RegEnumKeyExA(key.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && longest < kLongestName) {  // a longer name was added meanwhile
            longest = longest * 2 + 256;
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

std::vector<std::string> Win32Registry::ValueNames(RegRoot root, const std::string& path) {
    std::vector<std::string> names;
    UniqueKey key = Open(root, path, KEY_QUERY_VALUE);
    if (!key) return names;
    DWORD longest = 0;
    ::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                       nullptr, nullptr);
    std::string buffer;
    for (DWORD index = 0;; ++index) {
        buffer.assign(longest < 255 ? 256 : longest + 1, '\0');
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG rc = ::RegEnumValueA(key.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && longest < kLongestName) {
            longest = longest * 2 + 256;
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

}  // namespace platform::win32
