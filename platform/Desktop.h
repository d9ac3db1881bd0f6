#pragma once
// Ports of the interactive desktop: keyboard state, message and input boxes,
// top-level windows and their messages.
#include <cstdint>
#include <string>

namespace platform {

// Virtual-key codes of the modifier keys.
namespace vk {
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12;  // Alt
}  // namespace vk

class IKeyboard {
public:
    virtual ~IKeyboard() = default;
    // GetKeyState: the key is held down now.
    virtual bool IsKeyDown(int virtualKey) = 0;
};

// Message box flags and results, with the values of the Windows MB_ and ID constants.
namespace mb {
constexpr unsigned Ok = 0x0;
constexpr unsigned YesNo = 0x4;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconInformation = 0x40;
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;
}  // namespace mb

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // MessageBox with no owner window; returns the pressed button (mb::Id*).
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // An input box: true and the typed text in `value` on OK, false on Cancel.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
};

using WindowHandle = std::uintptr_t;  // HWND; 0 is no window

class IWindows {
public:
    virtual ~IWindows() = default;
    // FindWindow: a top-level window by class name (and title when not empty).
    virtual WindowHandle FindWindow(const std::string& className, const std::string& title) = 0;
    virtual std::intptr_t SendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    virtual bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // WM_SETTINGCHANGE to all top-level windows with the section name as its text.
    virtual void BroadcastSettingChange(const std::string& section) = 0;
    // Runs the messages waiting for this thread (Application.ProcessMessages).
    virtual void ProcessMessages() = 0;
    // TranslateMessage and DispatchMessage of one message taken from the
    // queue by someone else (a key the browser hands its band).
    virtual void DispatchMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // MessageBeep: the system sound of that kind (0xFFFFFFFF: the speaker).
    virtual void MessageBeep(unsigned kind) = 0;
};

}  // namespace platform
