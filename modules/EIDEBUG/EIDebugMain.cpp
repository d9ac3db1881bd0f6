// EIDEBUG.EXE [LOGFILE]: the debug viewer. The modules' debug watchers find
// its window by class, write a line into the line buffer ("EIDEBUG.INI" in
// the Windows folder, section "Data", key "Line1") and send a notification;
// the viewer reads the line while the sender waits and lists it, indented
// inside groups. With a log file, every notification is also appended to it
// as "message wparam line" (and the viewer ends by itself after two
// minutes, so that a test never leaves it running).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr const char* kViewerClass = "TEIBugWatcherForm";
constexpr UINT kFirst = WM_USER + 1, kLast = WM_USER + 11;
constexpr UINT kLine = WM_USER + 2, kGroupBegin = WM_USER + 3, kGroupEnd = WM_USER + 4, kStatus = WM_USER + 8,
               kErrorLine = WM_USER + 11;
constexpr int kMaxLines = 5000;  // the oldest lines go first

std::string logPath;
HWND list = nullptr;
int depth = 0;

std::string BufferedLine() {
    char line[4096] = {};
    ::GetPrivateProfileStringA("Data", "Line1", "", line, sizeof line, "EIDEBUG.INI");
    return line;
}

void Show(const std::string& text) {
    if (!list) return;
    if (::SendMessageA(list, LB_GETCOUNT, 0, 0) >= kMaxLines) ::SendMessageA(list, LB_DELETESTRING, 0, 0);
    const LRESULT at = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(list, LB_SETTOPINDEX, at, 0);
}

void Notified(UINT message, WPARAM wParam) {
    const std::string line = BufferedLine();
    if (!logPath.empty()) {
        if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
            std::fprintf(log, "%u %u %s\n", message, static_cast<unsigned>(wParam), line.c_str());
            std::fclose(log);
        }
    }
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    switch (message) {
        case kLine: Show(indent + line); break;
        case kGroupBegin:
            Show(indent + line);
            ++depth;
            break;
        case kGroupEnd:
            if (depth > 0) --depth;
            break;
        case kStatus: Show(indent + "[status " + std::to_string(wParam) + "]"); break;
        case kErrorLine: Show(indent + "ERROR: " + line); break;
        default: break;
    }
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kFirst && message <= kLast) {
        Notified(message, wParam);
        return 0;
    }
    switch (message) {
        case WM_SIZE:
            if (list) ::MoveWindow(list, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_DESTROY: ::PostQuitMessage(0); return 0;
        default: return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void CALLBACK EndLogging(HWND window, UINT, UINT_PTR, DWORD) { ::DestroyWindow(window); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    logPath = commandLine ? commandLine : "";
    if (logPath.size() >= 2 && logPath.front() == '"') logPath = logPath.substr(1, logPath.size() - 2);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ViewerProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = kViewerClass;
    if (!::RegisterClassA(&windowClass)) return 2;
    HWND window = ::CreateWindowExA(0, kViewerClass, "Zephyra debug viewer", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 640, 400, nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    list = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                             0, 0, 0, 0, window, nullptr, instance, nullptr);
    ::SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(ANSI_FIXED_FONT)), FALSE);
    RECT client;
    ::GetClientRect(window, &client);
    ::MoveWindow(list, 0, 0, client.right, client.bottom, FALSE);
    ::ShowWindow(window, show);
    if (!logPath.empty()) ::SetTimer(window, 1, 120000, &EndLogging);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
