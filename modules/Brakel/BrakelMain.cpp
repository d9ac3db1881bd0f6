// Brakel.exe [PROGRAM [ARGUMENTS]]: closes every browser window, asking each
// politely (WM_CLOSE), waits a bounded time for them to go, then starts
// PROGRAM with ARGUMENTS (the uninstaller with its log, say). A window that
// stays open keeps the program from starting: the browser would still hold
// the toolbar's modules. Exit codes: 0 done, 1 a browser window stayed open,
// 2 the program could not be started.
#include <windows.h>

#include <string>
#include <vector>

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

// The command line after the program's own name.
std::string Arguments(const char* commandLine) {
    std::string text = commandLine ? commandLine : "";
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    if (!CloseBrowserWindows()) return 1;
    std::string command = Arguments(commandLine);
    if (command.empty()) return 0;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 2;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return 0;
}
