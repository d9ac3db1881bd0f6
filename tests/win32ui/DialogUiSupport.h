#pragma once
// What the dialog tests share: rows of list boxes clicked and dragged, keys
// with Ctrl, the common dialogs and the clipboard, a watchdog for modal
// loops, the fixture that keeps the errors reaching the loop, and the
// preferences dialog's windows found by what they show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "UiTestSupport.h"  // <windows.h> first, as the platform's headers want it

#include <dlgs.h>
#include <richedit.h>

#include "foundation/AMState.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "platform/win32/ui/UiGdi.h"
#include "toolbar/AboutForm.h"
#include "toolbar/BandForm.h"
#include "toolbar/EIEditItemsForm.h"
#include "toolbar/EIShowHtmlMessageUnit.h"
#include "toolbar/OptionsForm.h"



namespace zrtest::ui {

using Strings = std::vector<std::string>;

// ------------------------------------------------------------ helpers

inline LPARAM At(POINT point) { return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)); }

// A point inside a row of a list box, in its client area.
inline POINT RowPoint(HWND list, int row) {
    RECT item{};
    ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return POINT{item.left + 10, (item.top + item.bottom) / 2};
}

inline void ClickRow(HWND list, int row) {
    const POINT point = RowPoint(list, row);
    Click(list, point.x, point.y);
}

// A press on row `from`, the pointer moved with the button down over each
// row up to `to`, and the release there.
inline void DragRow(HWND list, int from, int to) {
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(list, from)));
    for (int row = from; row != to;) {
        row += from < to ? 1 : -1;
        ::PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, At(RowPoint(list, row)));
    }
    ::PostMessageA(list, WM_LBUTTONUP, 0, At(RowPoint(list, to)));
}

// What a list box window shows, top to bottom.
inline Strings ListTexts(HWND list) {
    Strings texts;
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

// A key pressed with Ctrl held (still held after: the caller lets go once the
// key has been handled). Only the key messages are posted: the message loop's
// TranslateMessage makes the control character, as for the keyboard's keys.
inline void CtrlKey(HWND window, UINT key) {
    const LPARAM down = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(key, 0)) << 16);
    HoldKey(VK_CONTROL, true);
    ::PostMessageA(window, WM_KEYDOWN, key, down);
    ::PostMessageA(window, WM_KEYUP, key, down | (3u << 30));
}

// The visible common dialog (the find dialog) of this thread; null when none.
inline HWND CommonDialogShown() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            if (!::IsWindowVisible(window) || ClassOf(window) != "#32770") return TRUE;
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The window with the focus when it is `window` or one of its children.
inline HWND FocusIn(HWND window) {
    HWND focus = ::GetFocus();
    return focus && (focus == window || ::IsChild(window, focus)) ? focus : nullptr;
}

inline bool PutOnClipboard(HWND owner, const std::string& text) {
    if (!::OpenClipboard(owner)) return false;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(::GlobalLock(memory), text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory);
    const bool put = ::SetClipboardData(CF_TEXT, memory) != nullptr;
    ::CloseClipboard();
    return put;
}

// Closes what a modal run left open once its time is up, so that a script
// that cannot finish fails its test instead of holding the run.
class Watchdog {
public:
    explicit Watchdog(HWND frame, UINT milliseconds = 20000) {
        frame_ = frame;
        fired_ = false;
        timer_ = ::SetTimer(nullptr, 0, milliseconds, &Fire);
    }
    ~Watchdog() {
        ::KillTimer(nullptr, timer_);
        EXPECT_FALSE(fired_) << "a dialog was still open when the time was up";
    }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        fired_ = true;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND window, LPARAM) -> BOOL {
                if (window != frame_ && ::IsWindowVisible(window) && ::IsWindowEnabled(window))
                    ::PostMessageA(window, WM_CLOSE, 0, 0);
                return TRUE;
            },
            0);
    }
    static inline HWND frame_ = nullptr;
    static inline bool fired_ = false;
    UINT_PTR timer_ = 0;
};

class DialogUiTest : public UiTest {
protected:
    DialogUiTest() {
        Frame();
        previousHandler_ = rt::Application().OnException;
        CollectErrors();
    }
    ~DialogUiTest() override {
        HoldKey(VK_CONTROL, false);
        rt::Application().OnException = previousHandler_;
    }
    // Errors that reach the message loop are kept for the test to see.
    void CollectErrors() {
        rt::Application().OnException = [this](const std::exception& error) { reported.push_back(error.what()); };
    }

    Strings reported;

private:
    std::function<void(const std::exception&)> previousHandler_;
};

// The windows of the preferences dialog's Buttons page, found as a person
// finds them: by what they show.
struct PreferencesWindows {
    HWND dialog = nullptr, available = nullptr, chosen = nullptr;
    HWND add = nullptr, remove = nullptr, ok = nullptr, cancel = nullptr;

    bool Find() {
        dialog = TopWindowCaptioned("Zephyra Preferences");
        if (!dialog) return false;
        std::vector<HWND> lists = ChildrenOfClass(dialog, "ListBox");
        if (lists.size() != 2) return false;
        const auto left = [](HWND window) {
            RECT area;
            ::GetWindowRect(window, &area);
            return area.left;
        };
        std::sort(lists.begin(), lists.end(), [&](HWND a, HWND b) { return left(a) < left(b); });
        available = lists[0];
        chosen = lists[1];
        add = ChildOfClass(dialog, "Button", ">");
        remove = ChildOfClass(dialog, "Button", "<");
        ok = ChildOfClass(dialog, "Button", "OK");
        cancel = ChildOfClass(dialog, "Button", "Cancel");
        return add && remove && ok && cancel;
    }
};

}  // namespace zrtest::ui
