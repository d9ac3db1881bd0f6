// Keyboard state, dialogs and window messages. Needs a desktop (the test
// runner gives wine a virtual X display); without one these are skipped.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "Win32TestSupport.h"
#include "platform/win32/Win32Platform.h"

using namespace platform::win32;

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    std::string text;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 1) return static_cast<LRESULT>(wParam) + lParam;
    if (message == WM_APP + 2) {
        g_seen.push_back({message, wParam, {}});
        return 0;
    }
    if (message == WM_SETTINGCHANGE) {
        g_seen.push_back({message, wParam, lParam ? reinterpret_cast<const char*>(lParam) : ""});
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className.c_str();
        ::RegisterClassA(&windowClass);
        window = ::CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        if (!window) GTEST_SKIP() << "no desktop to make windows on";
        g_seen.clear();
    }
    void TearDown() override {
        if (window) ::DestroyWindow(window);
    }

    // Unique to this process: other test processes make windows at the same time.
    const std::string suffix = " " + std::to_string(::GetCurrentProcessId());
    const std::string className = "ZrTestRecordingWindow" + suffix;
    const std::string title = "Zephyra test window" + suffix;
    HWND window = nullptr;
};

TEST_F(DesktopTest, WindowsAreFoundByClassAndTitle) {
    Win32Windows windows;
    auto handle = reinterpret_cast<platform::WindowHandle>(window);
    EXPECT_EQ(windows.FindWindow(className, ""), handle);
    EXPECT_EQ(windows.FindWindow(className, title), handle);
    EXPECT_EQ(windows.FindWindow("", title), handle);
    EXPECT_EQ(windows.FindWindow(className, "another title"), 0u);
    EXPECT_EQ(windows.FindWindow("ZrNoSuchClass", ""), 0u);
}

TEST_F(DesktopTest, SentPostedAndBroadcastMessagesArrive) {
    Win32Windows windows;
    auto handle = reinterpret_cast<platform::WindowHandle>(window);
    EXPECT_EQ(windows.SendMessage(handle, WM_APP + 1, 2, 3), 5);

    ASSERT_TRUE(windows.PostMessage(handle, WM_APP + 2, 7, 0));
    EXPECT_TRUE(g_seen.empty());  // posted: waits for the message loop
    windows.ProcessMessages();
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].wParam, 7u);
    EXPECT_FALSE(windows.PostMessage(0x7FFFFFF0, WM_APP + 2, 0, 0));

    g_seen.clear();
    const std::string section = "ZephyraSettings" + suffix;
    windows.BroadcastSettingChange(section);
    int ours = 0;
    for (const Seen& seen : g_seen) ours += seen.message == WM_SETTINGCHANGE && seen.text == section ? 1 : 0;
    EXPECT_EQ(ours, 1);
}

TEST_F(DesktopTest, ProcessingMessagesLeavesAQuitForTheOwnLoop) {
    Win32Windows windows;
    ::PostQuitMessage(3);
    windows.ProcessMessages();
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DesktopTest, KeyStateFollowsTheThreadsKeyboard) {
    BYTE state[256] = {};
    state[VK_SHIFT] = 0x80;
    state[VK_CONTROL] = 0x01;  // toggled, not down
    ASSERT_TRUE(::SetKeyboardState(state));
    Win32Keyboard keyboard;
    EXPECT_TRUE(keyboard.IsKeyDown(platform::vk::Shift));
    EXPECT_FALSE(keyboard.IsKeyDown(platform::vk::Control));
    EXPECT_FALSE(keyboard.IsKeyDown(platform::vk::Menu));
    BYTE none[256] = {};
    ::SetKeyboardState(none);
}

// Plays the user of a dialog from another thread: finds it by caption once
// it shows (a dialog is shown only after its initialisation has filled its
// controls), does `act` on it. The modal loop on the test thread answers its messages.
class DialogUser {
public:
    DialogUser(std::string caption, std::function<void(HWND)> act)
        : thread_([this, caption = std::move(caption), act = std::move(act)] {
              for (int i = 0; i < 200 && !found_; ++i) {
                  HWND dialog = ::FindWindowA("#32770", caption.c_str());
                  if (dialog && ::IsWindowVisible(dialog)) {
                      found_ = true;
                      act(dialog);
                  } else {
                      ::Sleep(50);
                  }
              }
          }) {}
    ~DialogUser() {
        if (thread_.joinable()) thread_.join();
    }
    bool Found() {
        if (thread_.joinable()) thread_.join();
        return found_;
    }

private:
    std::atomic<bool> found_{false};
    std::thread thread_;
};

std::string ItemText(HWND dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

TEST_F(DesktopTest, InputBoxShowsTheValueAndReturnsWhatWasTyped) {
    Win32Dialogs dialogs;
    const std::string caption = "Zephyra input OK" + suffix;
    std::string shownValue, shownPrompt;
    DialogUser user(caption, [&](HWND dialog) {
        shownValue = ItemText(dialog, Win32Dialogs::kEditId);
        shownPrompt = ItemText(dialog, Win32Dialogs::kPromptId);
        ::SetDlgItemTextA(dialog, Win32Dialogs::kEditId, "typed text");
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    std::string value = "initial";
    EXPECT_TRUE(dialogs.InputQuery(caption, "Your name:", value));
    EXPECT_TRUE(user.Found());
    EXPECT_EQ(shownValue, "initial");
    EXPECT_EQ(shownPrompt, "Your name:");
    EXPECT_EQ(value, "typed text");
}

TEST_F(DesktopTest, CancelledInputBoxKeepsTheValue) {
    Win32Dialogs dialogs;
    const std::string caption = "Zephyra input Cancel" + suffix;
    DialogUser user(caption, [&](HWND dialog) {
        ::SetDlgItemTextA(dialog, Win32Dialogs::kEditId, "thrown away");
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    std::string value = "kept";
    EXPECT_FALSE(dialogs.InputQuery(caption, "Prompt", value));
    EXPECT_TRUE(user.Found());
    EXPECT_EQ(value, "kept");
}

TEST_F(DesktopTest, MessageBoxReturnsThePressedButton) {
    Win32Dialogs dialogs;
    const std::string caption = "Zephyra question" + suffix;
    DialogUser user(caption, [](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, IDNO, 0); });
    EXPECT_EQ(dialogs.MessageBox("Really?", caption, platform::mb::YesNo | platform::mb::IconQuestion),
              platform::mb::IdNo);
    EXPECT_TRUE(user.Found());
}

}  // namespace
