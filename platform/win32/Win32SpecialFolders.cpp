// The shell's special folders.
#include "platform/win32/Win32Api.h"
#include <shlobj.h>

#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

std::optional<std::string> Win32SpecialFolders::Personal() {
    char path[MAX_PATH + 1] = {};
    // SHGFP_TYPE_CURRENT: where the folder is now, also when the user moved it.
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)) || !path[0])
        return std::nullopt;
    std::string folder(path);
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

std::string Win32SpecialFolders::WindowsFolder() {
    char path[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryA(path, sizeof path);
    // Never empty: an empty folder would turn the caller's full path into a relative one.
    std::string folder = length == 0 || length >= sizeof path ? std::string("C:\\WINDOWS") : std::string(path, length);
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace platform::win32
