#pragma once
// Driving real windows as a person does: messages posted to the windows
// (clicks, keys, typed characters), and steps that run from a thread timer
// while a modal form or a menu runs its own loop.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "HostPlatformTest.h"
#include "platform/Services.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/ui/Win32UiBackend.h"
#include "runtime/Controls.h"

namespace zrtest::ui {

HWND WindowOf(const rt::TControl& control);
std::string TextOf(HWND window);
std::string ClassOf(HWND window);

// A left click at a point of the window's client area (its middle by default).
void Click(HWND window, int x = -1, int y = -1);
// A key pressed and released in the window (WM_KEYDOWN, WM_CHAR for keys
// that make one, WM_KEYUP).
void Key(HWND window, UINT key);
// Characters typed into the window.
void Type(HWND window, const std::string& text);
// Sets the thread's state of a modifier key, as GetKeyState reads it.
void HoldKey(UINT key, bool down);
// Runs the thread's waiting messages for about `milliseconds`.
void Pump(int milliseconds = 50);

// The visible top-level window of this thread with this caption; null when none.
HWND TopWindowCaptioned(const std::string& caption);
// The first descendant of `parent` of the window class (ignoring case),
// whose text equals `text` when it is not empty.
HWND ChildOfClass(HWND parent, const std::string& className, const std::string& text = "");
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);
// The windows this thread owns (top-level ones and their children).
int ThreadWindowCount();

// Steps run one after another from a thread timer, each until it answers
// true (so a step may wait for a window to appear). The timer fires inside
// any message loop of the thread: modal forms and menus included.
class Script {
public:
    using Step = std::function<bool()>;
    explicit Script(std::vector<Step> steps, UINT interval = 30);
    ~Script();
    bool Done() const { return next_ >= steps_.size(); }
    // How many times the steps were asked; a script that never finishes
    // gives up after `limit` ticks (the test then fails on what is missing).
    static constexpr int limit = 400;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    UINT_PTR timer_ = 0;
};

// A test over the platform's stand-ins with the real windows backend: the
// keyboard state and window messages are the system's, message boxes and
// input boxes answer from the host stand-in's script.
class UiTest : public HostPlatformTest {
protected:
    UiTest();
    ~UiTest() override;

    // A top-level frame window of the test's own that plays the browser's window.
    HWND Frame();

private:
    HWND frame_ = nullptr;
    std::shared_ptr<rt::IUiBackend> previousBackend_;
    std::unique_ptr<platform::ScopedServices> realDesktop_;
};

}  // namespace zrtest::ui
