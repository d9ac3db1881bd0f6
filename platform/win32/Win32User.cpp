// The name of the user the process runs as.
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

std::optional<std::string> Win32User::UserName() {
    char name[257] = {};  // UNLEN + 1
    DWORD size = 256;
    if (!::GetUserNameA(name, &size)) return std::nullopt;
    return std::string(name);
}

}  // namespace platform::win32
