// Brakel.exe ["PROGRAM" [ARGUMENTS]]: closes every browser window, asking each
// politely (WM_CLOSE), waits a bounded time for them to go, then starts
// PROGRAM with ARGUMENTS (the uninstaller with its log, say). PROGRAM is a
// full path, quoted when it holds a blank; it is started by that path alone,
// never searched for. A window that stays open keeps the program from
// starting: the browser would still hold the toolbar's modules. Exit codes:
// 0 done, 1 a browser window stayed open, 2 the program could not be started.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/CommandLine.h"

namespace {

constexpr const char* kBrowserFrameClass = "IEFrame";
constexpr DWORD kPatience = 5000;  // milliseconds for the windows to close

BOOL CALLBACK CollectBrowser(HWND window, LPARAM param) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, kBrowserFrameClass) == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> BrowserWindows() {
    std::vector<HWND> windows;
    ::EnumWindows(&CollectBrowser, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool CloseBrowserWindows() {
    for (HWND window : BrowserWindows()) ::PostMessageA(window, WM_CLOSE, 0, 0);
    const DWORD start = ::GetTickCount();
    while (!BrowserWindows().empty()) {
        if (::GetTickCount() - start > kPatience) return false;
        ::Sleep(100);
    }
    return true;
}

// Starts the program named first on `command` by its full path; CreateProcess
// given no program name would try "c:\Program.exe" for "c:\Program Files\...".
bool StartProgram(const std::string& command) {
    const foundation::ProgramAndArguments parts = foundation::SplitProgram(command);
    if (!foundation::IsFullPath(parts.program)) return false;
    const DWORD attributes = ::GetFileAttributesA(parts.program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::string line = foundation::QuoteArgument(parts.program);
    if (!parts.arguments.empty()) line += " " + parts.arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(parts.program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (!CloseBrowserWindows()) return 1;
    const std::string command = commandLine ? commandLine : "";
    if (command.find_first_not_of(" \t") == std::string::npos) return 0;
    return StartProgram(command) ? 0 : 2;
}
