// A debug viewer for the tests: a window of the viewer's class that appends
// every notification it receives, with the line it reads from the line
// buffer, to the log file named on its command line ("message wparam line").
// It ends on WM_CLOSE or after two minutes.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string logPath;

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message > WM_USER && message <= WM_USER + 11) {
        char line[4096] = {};
        ::GetPrivateProfileStringA("Data", "Line1", "", line, sizeof line, "EIDEBUG.INI");
        if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
            std::fprintf(log, "%u %u %s\n", message, static_cast<unsigned>(wParam), line);
            std::fclose(log);
        }
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    logPath = commandLine;
    if (logPath.size() >= 2 && logPath.front() == '"') logPath = logPath.substr(1, logPath.size() - 2);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ViewerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TEIBugWatcherForm";
    if (!::RegisterClassA(&windowClass)) return 2;
    HWND window = ::CreateWindowExA(0, "TEIBugWatcherForm", "Debug viewer", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                    nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    ::SetTimer(window, 1, 120000, [](HWND w, UINT, UINT_PTR, DWORD) { ::DestroyWindow(w); });
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
