#include "platform/win32/Win32SystemLibrary.h"

namespace platform::win32 {

std::string SystemLibraryPath(const std::string& name) {
    char folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return std::string();
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    return path + name;
}

HMODULE LoadSystemLibrary(const std::string& name) {
    const std::string path = SystemLibraryPath(name);
    // Never a name alone: that would be searched for.
    return path.empty() ? nullptr : ::LoadLibraryA(path.c_str());
}

}  // namespace platform::win32
