// Starting documents and programs.
#include "platform/win32/Win32Api.h"
#include <shellapi.h>

#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

bool Win32Shell::Open(const std::string& file, const std::string& parameters, int showCommand) {
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                       nullptr, showCommand);
    // Values above 32 mean success; the rest are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::Exec(const std::string& commandLine, int showCommand) {
    return ::WinExec(commandLine.c_str(), static_cast<UINT>(showCommand)) > 31;
}

}  // namespace platform::win32
