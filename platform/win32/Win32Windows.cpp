// Top-level windows and their messages.
#include <string>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

WindowHandle Win32Windows::FindWindow(const std::string& className, const std::string& title) {
    HWND found = ::FindWindowA(className.empty() ? nullptr : className.c_str(), title.empty() ? nullptr : title.c_str());
    return reinterpret_cast<WindowHandle>(found);
}

std::intptr_t Win32Windows::SendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                        std::intptr_t lParam) {
    return ::SendMessageA(ToHwnd(window), message, wParam, lParam);
}

bool Win32Windows::PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return ::PostMessageA(ToHwnd(window), message, wParam, lParam) != FALSE;
}

void Win32Windows::BroadcastSettingChange(const std::string& section) {
    // Sent as UTF-16 converted from the ANSI code page: the system hands every
    // window the text in its own character set either way, but wine's ANSI
    // broadcast passes the 8-bit text on as if it were UTF-16.
    std::wstring text;
    if (!section.empty()) {
        int length = ::MultiByteToWideChar(CP_ACP, 0, section.data(), static_cast<int>(section.size()), nullptr, 0);
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        if (length > 0)
            ::MultiByteToWideChar(CP_ACP, 0, section.data(), static_cast<int>(section.size()), text.data(), length);
    }
    // A hung window must not hang us: it is skipped, and no window gets more than 5 s.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, 5000, &ignored);
}

void Win32Windows::DispatchMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
    MSG msg{};
    msg.hwnd = reinterpret_cast<HWND>(window);
    msg.message = message;
    msg.wParam = static_cast<WPARAM>(wParam);
    msg.lParam = static_cast<LPARAM>(lParam);
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
}

void Win32Windows::ProcessMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the thread's own message loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void Win32Windows::MessageBeep(unsigned kind) { ::MessageBeep(kind); }

}  // namespace platform::win32
