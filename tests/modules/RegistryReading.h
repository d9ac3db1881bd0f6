#pragma once
// Reading back what a module's registration wrote, and regsvr32 itself.
#include "platform/win32/Win32Api.h"

#include <string>
#include <vector>

#include "win32/WinProcess.h"

namespace zrtest::registry {

inline bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// Value names (default value as "") and subkeys of a key.
struct KeyContent {
    std::vector<std::string> values, subKeys;
};

inline KeyContent Content(HKEY root, const std::string& path) {
    KeyContent content;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return content;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        content.values.emplace_back(name, size);
    }
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        content.subKeys.emplace_back(name, size);
    }
    ::RegCloseKey(key);
    return content;
}

inline std::string Text(HKEY root, const std::string& path, const char* name) {
    char value[1024] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<none>";
    return value;
}

inline int RegSvr32(const std::string& arguments) {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return zrtest::ChildProcess(std::string(system) + "\\regsvr32.exe", arguments).Wait();
}

}  // namespace zrtest::registry
