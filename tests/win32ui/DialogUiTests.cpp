// The toolbar's dialogs in real windows, used with posted clicks, drags and
// keys: the preferences' button lists, a rename in the item-list editor, the
// source viewer's find dialog, Escape in every dialog, and the keys the bar's
// search box keeps from the browser.
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

using namespace zrtest::ui;
using Strings = std::vector<std::string>;

namespace {

// ------------------------------------------------------------ helpers

LPARAM At(POINT point) { return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)); }

// A point inside a row of a list box, in its client area.
POINT RowPoint(HWND list, int row) {
    RECT item{};
    ::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return POINT{item.left + 10, (item.top + item.bottom) / 2};
}

void ClickRow(HWND list, int row) {
    const POINT point = RowPoint(list, row);
    Click(list, point.x, point.y);
}

// A press on row `from`, the pointer moved with the button down over each
// row up to `to`, and the release there.
void DragRow(HWND list, int from, int to) {
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, At(RowPoint(list, from)));
    for (int row = from; row != to;) {
        row += from < to ? 1 : -1;
        ::PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, At(RowPoint(list, row)));
    }
    ::PostMessageA(list, WM_LBUTTONUP, 0, At(RowPoint(list, to)));
}

// What a list box window shows, top to bottom.
Strings ListTexts(HWND list) {
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
void CtrlKey(HWND window, UINT key) {
    const LPARAM down = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(key, 0)) << 16);
    HoldKey(VK_CONTROL, true);
    ::PostMessageA(window, WM_KEYDOWN, key, down);
    ::PostMessageA(window, WM_KEYUP, key, down | (3u << 30));
}

// The visible common dialog (the find dialog) of this thread; null when none.
HWND CommonDialogShown() {
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
HWND FocusIn(HWND window) {
    HWND focus = ::GetFocus();
    return focus && (focus == window || ::IsChild(window, focus)) ? focus : nullptr;
}

bool PutOnClipboard(HWND owner, const std::string& text) {
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

// ------------------------------------------------------------ preferences

// The dialog over a holder of the toolbar's buttons, as the toolbar form holds them.
class PreferencesUiTest : public DialogUiTest {
protected:
    PreferencesUiTest() {
        toolbarOptions->SetName("AMToolbarOptions");
        toolbarOptions->Items().SetStrings({"Search", "News", "Mail", "Weather", "Tools"});
    }

    bool Run() {
        bool disableScriptErrors = false;
        Watchdog watchdog(Frame());
        return toolbar::ExecutePreferences(
            allButtons, nullptr, &form, disableScriptErrors, &bindings,
            [this](rt::TObject*) { applied.push_back(toolbarOptions->Items().ToVector()); });
    }

    rt::TComponent form{nullptr};
    foundation::TAMStringsHolder* toolbarOptions = new foundation::TAMStringsHolder(&form);
    rt::TStringList bindings{"AMToolbarOptions.Items,lstSelected.Items"};
    rt::TStringList allButtons{"Search", "News", "Mail", "Weather", "Tools", "Stocks"};
    std::vector<Strings> applied;  // the holder's list at each apply
};

TEST_F(PreferencesUiTest, ButtonsAddedRemovedAndDraggedWithTheMouseApplyOnceEachAndOkKeepsTheOrder) {
    PreferencesWindows w;
    std::vector<Strings> shown;  // the chosen list's window after each change
    Script person({[&] {
                       if (!w.Find()) return false;
                       ClickRow(w.available, 5);  // "Stocks"
                       Click(w.add);
                       return true;
                   },
                   [&] {
                       shown.push_back(ListTexts(w.chosen));
                       ClickRow(w.chosen, 1);  // "News"
                       Click(w.remove);
                       return true;
                   },
                   [&] {
                       shown.push_back(ListTexts(w.chosen));
                       ClickRow(w.chosen, 3);  // "Tools"
                       return true;
                   },
                   [&] {
                       DragRow(w.chosen, 3, 0);
                       return true;
                   },
                   [&] {
                       shown.push_back(ListTexts(w.chosen));
                       Click(w.ok);
                       return true;
                   }});
    EXPECT_TRUE(Run());
    EXPECT_TRUE(person.Done());
    const Strings added{"Search", "News", "Mail", "Weather", "Tools", "Stocks"};
    const Strings removed{"Search", "Mail", "Weather", "Tools", "Stocks"};
    const Strings dragged{"Tools", "Search", "Mail", "Weather", "Stocks"};
    EXPECT_EQ(shown, (std::vector<Strings>{added, removed, dragged}));
    // Each change applied once (the drag at its end, not at each row passed), and OK once more.
    EXPECT_EQ(applied, (std::vector<Strings>{added, removed, dragged, dragged}));
    EXPECT_EQ(toolbarOptions->Items().ToVector(), dragged);
    EXPECT_TRUE(reported.empty()) << reported.front();
}

TEST_F(PreferencesUiTest, APressOnAnUnselectedButtonSelectsItSoTheDragMovesThatButton) {
    PreferencesWindows w;
    Strings shown;
    Script person({[&] {
                       if (!w.Find()) return false;
                       ClickRow(w.chosen, 1);  // "News"
                       return true;
                   },
                   [&] {
                       DragRow(w.chosen, 3, 0);  // pressed on "Weather", not selected
                       return true;
                   },
                   [&] {
                       shown = ListTexts(w.chosen);
                       Click(w.ok);
                       return true;
                   }});
    EXPECT_TRUE(Run());
    EXPECT_TRUE(person.Done());
    const Strings dragged{"Weather", "Search", "News", "Mail", "Tools"};
    EXPECT_EQ(shown, dragged);
    EXPECT_EQ(applied, (std::vector<Strings>{dragged, dragged}));
    EXPECT_TRUE(reported.empty()) << reported.front();
}

// The dialog run by the toolbar form, a child window of the browser's frame.
class BandUiTest : public DialogUiTest {
protected:
    BandUiTest() {
        foundation::ChooseUserSettingsFile();
        toolbar::BandModuleLoaded();
        CollectErrors();  // the module installed its own handler
    }
    ~BandUiTest() override { toolbar::BandModuleUnloading(); }

    std::unique_ptr<toolbar::TBandForm> NewBar(const Strings& buttons) {
        WriteButtons(buttons);
        auto form = std::make_unique<toolbar::TBandForm>(nullptr, reinterpret_cast<std::uintptr_t>(Frame()));
        form->RestoreState();
        RECT client;
        ::GetClientRect(Frame(), &client);
        form->SetBounds(0, 0, platform::win32::ui::Unscale(client.right),
                        form->Panel2->Height() + form->Panel1->Height());
        form->Show();
        Pump();
        return form;
    }
    static void WriteButtons(const Strings& buttons) {
        foundation::TEIIniFile ini(foundation::CurrentUserSettingsFileName());
        ini.WriteString("TBandForm.AMToolbarOptions_Items", "Count", std::to_string(buttons.size()));
        for (std::size_t i = 0; i < buttons.size(); ++i)
            ini.WriteString("TBandForm.AMToolbarOptions_Items", "Item" + std::to_string(i), buttons[i]);
    }
    static Strings SavedButtons() {
        foundation::TEIIniFile ini(foundation::CurrentUserSettingsFileName());
        Strings items;
        const int count = std::atoi(ini.ReadString("TBandForm.AMToolbarOptions_Items", "Count", "0").c_str());
        for (int i = 0; i < count; ++i)
            items.push_back(ini.ReadString("TBandForm.AMToolbarOptions_Items", "Item" + std::to_string(i), ""));
        return items;
    }
    static HWND SearchEdit(toolbar::TBandForm& form) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(WindowOf(*form.edtSearch), &info);
        return info.hwndItem;
    }
    // The bar's search box clicked into and typed in.
    HWND FocusedSearchBoxWith(toolbar::TBandForm& bar, const std::string& text) {
        HWND edit = SearchEdit(bar);
        if (!edit) return nullptr;
        Click(edit);
        Type(edit, text);
        Pump();
        EXPECT_EQ(TextOf(edit), text);
        EXPECT_EQ(bar.ActiveControl(), bar.edtSearch);
        return edit;
    }
    // A key as the browser's message loop hands it to the band.
    static toolbar::TMsg KeyDownIn(HWND window, UINT key) {
        return toolbar::TMsg{reinterpret_cast<platform::WindowHandle>(window), WM_KEYDOWN, key,
                             static_cast<std::intptr_t>(1 | (::MapVirtualKeyA(key, 0) << 16))};
    }
    // Removes the first of the bar's buttons in the dialog, then closes it
    // with `close`; tells whether the bar had hidden that button meanwhile.
    bool RemoveFirstThenClose(toolbar::TBandForm& bar, HWND button, HWND PreferencesWindows::*close) {
        PreferencesWindows w;
        bool hiddenMeanwhile = false;
        Script person({[&] {
                           if (!w.Find()) return false;
                           ClickRow(w.chosen, 0);
                           Click(w.remove);
                           return true;
                       },
                       [&] {
                           hiddenMeanwhile = !::IsWindowVisible(button);
                           Click(w.*close);
                           return true;
                       }});
        {
            Watchdog watchdog(Frame());
            bar.ShowPreferences();
        }
        EXPECT_TRUE(person.Done());
        return hiddenMeanwhile;
    }
};

TEST_F(BandUiTest, CancelInThePreferencesPutsBackAButtonTheDialogHidAndOkKeepsItHidden) {
    auto bar = NewBar({"Google", "Tools"});
    HWND google = WindowOf(*bar->btnGoogle);
    HWND tools = WindowOf(*bar->btnTools);
    ASSERT_TRUE(::IsWindowVisible(google));

    // The removal shows on the bar at once; Cancel undoes it and saves nothing.
    EXPECT_TRUE(RemoveFirstThenClose(*bar, google, &PreferencesWindows::cancel));
    EXPECT_TRUE(::IsWindowVisible(google));
    EXPECT_TRUE(::IsWindowVisible(tools));
    EXPECT_EQ(SavedButtons(), (Strings{"Google", "Tools"}));

    EXPECT_TRUE(RemoveFirstThenClose(*bar, google, &PreferencesWindows::ok));
    EXPECT_FALSE(::IsWindowVisible(google));
    EXPECT_TRUE(::IsWindowVisible(tools));
    EXPECT_EQ(SavedButtons(), (Strings{"Tools"}));
    EXPECT_TRUE(reported.empty()) << reported.front();
}

// ------------------------------------------------------------ keys of the search box

TEST_F(BandUiTest, TheFocusedSearchBoxTakesBackspaceAndLeavesCtrlVToTheBrowser) {
    auto bar = NewBar({"Google"});
    HWND edit = FocusedSearchBoxWith(*bar, "owls");
    ASSERT_TRUE(edit);
    EXPECT_EQ(bar->FilterAccelerator(KeyDownIn(edit, VK_BACK)), 0);  // S_OK: the band dispatched it
    Pump();
    EXPECT_EQ(TextOf(edit), "owl");

    // Something to paste, so that a paste would show.
    ASSERT_TRUE(PutOnClipboard(Frame(), "PASTED"));
    HoldKey(VK_CONTROL, true);
    EXPECT_EQ(bar->FilterAccelerator(KeyDownIn(edit, 'V')), 1);  // S_FALSE: the browser's to handle
    Pump();
    HoldKey(VK_CONTROL, false);
    EXPECT_EQ(TextOf(edit), "owl");
    EXPECT_TRUE(reported.empty()) << reported.front();
}

TEST_F(BandUiTest, CtrlVReachingTheSearchBoxPastesOnce) {
    auto bar = NewBar({"Google"});
    HWND edit = FocusedSearchBoxWith(*bar, "owl");
    ASSERT_TRUE(edit);
    ASSERT_TRUE(PutOnClipboard(Frame(), "PASTED"));
    CtrlKey(edit, 'V');
    Pump();
    HoldKey(VK_CONTROL, false);
    EXPECT_EQ(TextOf(edit), "owlPASTED");
}

// ------------------------------------------------------------ item-list editor

// The list draws "Small Fonts" at a character height of 9 pixels (at 96 dots
// per inch) in rows tall enough for the font's descenders.
bool RowsHoldTheirText(HWND list) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
    LOGFONTA face{};
    if (!font || !::GetObjectA(font, sizeof(face), &face)) return false;
    HDC dc = ::GetDC(list);
    HGDIOBJ before = ::SelectObject(dc, font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc, &metrics);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::SelectObject(dc, before);
    ::ReleaseDC(list, dc);
    const LRESULT rowHeight = ::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    EXPECT_STREQ(face.lfFaceName, "Small Fonts");
    EXPECT_EQ(face.lfHeight, -::MulDiv(9, dpi, 96));
    EXPECT_LE(metrics.tmHeight, rowHeight) << "a row cuts the font's descenders";
    return std::string(face.lfFaceName) == "Small Fonts" && metrics.tmHeight <= rowHeight;
}

TEST_F(DialogUiTest, F2OnTheClickedItemRenamesItThroughTheInputBoxAndOkReturnsTheList) {
    rt::TStringList items{"alpha", "beta", "gamma"};
    host_.dialogs->PushInput("BETA");
    HWND list = nullptr, ok = nullptr;
    Strings shownAfterRename;
    bool rowsHoldTheirText = false;
    Script person({[&] {
                       HWND editor = TopWindowCaptioned("Manage Search History");
                       if (!editor) return false;
                       list = ChildOfClass(editor, "ListBox");
                       ok = ChildOfClass(editor, "Button", "OK");
                       if (!list || !ok) return false;
                       rowsHoldTheirText = RowsHoldTheirText(list);
                       ClickRow(list, 1);
                       return true;
                   },
                   [&] {
                       Key(list, VK_F2);
                       return true;
                   },
                   [&] {
                       shownAfterRename = ListTexts(list);
                       Click(ok);
                       return true;
                   }});
    {
        Watchdog watchdog(Frame());
        EXPECT_TRUE(toolbar::EditItemList("Manage Search History", items, 0, "History List", false));
    }
    EXPECT_TRUE(person.Done());
    EXPECT_TRUE(rowsHoldTheirText);
    EXPECT_EQ(shownAfterRename, (Strings{"alpha", "BETA", "gamma"}));
    EXPECT_EQ(items.ToVector(), (Strings{"alpha", "BETA", "gamma"}));
    const auto asked = host_.dialogs->ShownDialogs();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].inputBox);
    EXPECT_EQ(asked[0].text, "Rename item");
    EXPECT_EQ(asked[0].initialValue, "beta");
    EXPECT_TRUE(reported.empty()) << reported.front();
}

// ------------------------------------------------------------ source viewer

TEST_F(DialogUiTest, FindNextInTheFindDialogSelectsEachMatchInTurnAndStaysOnTheLast) {
    platform::ServiceSet set = platform::Services();
    set.commonDialogs = std::make_shared<platform::win32::Win32CommonDialogs>();
    platform::ScopedServices realFindDialog(set);
    // The rich-edit window counts a line end as one character, as "\n" is in
    // this page: its positions are the page's own.
    const std::string page = "<b>cat</b>\n<i>dog</i>\n<u>cat</u>";
    const LONG first = static_cast<LONG>(page.find("cat"));
    const LONG second = static_cast<LONG>(page.find("cat", first + 1));

    HWND viewer = nullptr, text = nullptr, find = nullptr;
    std::vector<std::pair<LONG, LONG>> selections;
    const auto selection = [&] {
        CHARRANGE range{};
        ::SendMessageA(text, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return std::pair<LONG, LONG>{range.cpMin, range.cpMax};
    };
    // What Find Next selected, then the next press.
    const auto seenThenFindNext = [&] {
        selections.push_back(selection());
        Click(::GetDlgItem(find, IDOK));
        return true;
    };
    Script person({[&] {
                       viewer = TopWindowCaptioned("View Source");
                       text = viewer ? ChildOfClass(viewer, RICHEDIT_CLASSA) : nullptr;
                       if (!text) return false;
                       CtrlKey(text, 'F');
                       return true;
                   },
                   [&] {
                       HoldKey(VK_CONTROL, false);
                       find = CommonDialogShown();
                       if (!find) return false;
                       Type(::GetDlgItem(find, edt1), "cat");
                       Click(::GetDlgItem(find, IDOK));
                       return true;
                   },
                   seenThenFindNext, seenThenFindNext,
                   [&] {
                       selections.push_back(selection());
                       ::PostMessageA(viewer, WM_CLOSE, 0, 0);
                       return true;
                   }});
    {
        Watchdog watchdog(Frame());
        toolbar::ShowHtmlSource("View Source", rt::TStringList{page}, true);
    }
    EXPECT_TRUE(person.Done());
    using Range = std::pair<LONG, LONG>;
    EXPECT_EQ(selections, (std::vector<Range>{{first, first + 3}, {second, second + 3}, {second, second + 3}}));
    EXPECT_FALSE(CommonDialogShown());  // the find dialog went with its viewer
    EXPECT_TRUE(reported.empty()) << reported.front();
}

// ------------------------------------------------------------ search page

// Each text of the Search page, measured with its own font in its own
// rectangle, fits there, and lies clear of every other control of the page.
TEST_F(DialogUiTest, EveryTextOfTheSearchPageShowsWholeAndClearOfTheOtherControls) {
    toolbar::TfmOptions preferences(nullptr);
    preferences.pgcOptions->SetActivePage(preferences.tsSearch);
    int measured = 0;
    Script person({[&] {
        HWND dialog = TopWindowCaptioned("Zephyra Preferences");
        HWND page = WindowOf(*preferences.tsSearch);
        if (!dialog || !page || !::IsWindowVisible(page)) return false;
        const std::vector<HWND> labels = ChildrenOfClass(page, "Static");
        for (HWND label : labels) {
            const std::string text = TextOf(label);
            RECT area{};
            ::GetClientRect(label, &area);
            RECT needed = area;
            HDC dc = ::GetDC(label);
            HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)));
            ::DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            ::SelectObject(dc, previous);
            ::ReleaseDC(label, dc);
            EXPECT_LE(needed.bottom, area.bottom) << text;
            EXPECT_LE(needed.right, area.right) << text;
            ++measured;
            RECT box{}, other{}, common{};
            ::GetWindowRect(label, &box);
            for (HWND sibling = ::GetWindow(page, GW_CHILD); sibling; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
                if (sibling == label || !::IsWindowVisible(sibling)) continue;
                ::GetWindowRect(sibling, &other);
                EXPECT_FALSE(::IntersectRect(&common, &box, &other)) << text << " under " << TextOf(sibling);
            }
        }
        Click(ChildOfClass(dialog, "Button", "Cancel"));
        return true;
    }});
    Watchdog watchdog(Frame());
    preferences.ShowModal();
    EXPECT_TRUE(person.Done());
    EXPECT_EQ(measured, 6);  // the page's labels, all of them found
}

// A question asked from within the open dialog, through the real message box:
// owned by the dialog, which takes no clicks until it is answered.
TEST_F(DialogUiTest, AQuestionFromTheOpenDialogIsOwnedByItAndKeepsItDisabledTillAnswered) {
    platform::ServiceSet set = platform::Services();
    set.dialogs = std::make_shared<platform::win32::Win32Dialogs>();
    platform::ScopedServices realBoxes(set);
    toolbar::TfmOptions preferences(nullptr);
    preferences.pgcOptions->SetActivePage(preferences.tsSearch);
    int answer = 0;
    preferences.OnClearSearchHistory = [&] {
        answer = platform::Dialogs().MessageBox("Clear the history?", "Zephyra", MB_YESNO | MB_ICONQUESTION);
    };
    HWND dialog = nullptr, owner = nullptr;
    bool enabledMeanwhile = true;
    Script person({[&] {
                       dialog = TopWindowCaptioned("Zephyra Preferences");
                       HWND clear = dialog ? ChildOfClass(dialog, "Button", "Clear Search History") : nullptr;
                       if (!clear || !::IsWindowVisible(clear)) return false;
                       Click(clear);
                       return true;
                   },
                   [&] {
                       HWND box = TopWindowCaptioned("Zephyra");
                       if (!box) return false;
                       owner = ::GetWindow(box, GW_OWNER);
                       enabledMeanwhile = ::IsWindowEnabled(dialog);
                       ::PostMessageA(box, WM_COMMAND, IDNO, 0);
                       return true;
                   },
                   [&] {
                       if (!::IsWindowEnabled(dialog)) return false;
                       Click(ChildOfClass(dialog, "Button", "Cancel"));
                       return true;
                   }});
    {
        Watchdog watchdog(Frame());
        preferences.ShowModal();
    }
    EXPECT_TRUE(person.Done());
    EXPECT_TRUE(owner && owner == dialog);
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_EQ(answer, IDNO);
    EXPECT_TRUE(reported.empty()) << reported.front();
}

// ------------------------------------------------------------ Escape

// Runs `dialog` modally and presses Escape in whichever of its controls has
// the focus; answers the modal result and names that control's class.
rt::TModalResult EscapeIn(rt::TForm& dialog, HWND frame, std::string& focused) {
    const std::string caption = dialog.Caption();
    Script escape({[&] {
        HWND window = TopWindowCaptioned(caption);
        HWND focus = window ? FocusIn(window) : nullptr;
        if (!focus) return false;
        focused = ClassOf(focus);
        Key(focus, VK_ESCAPE);
        return true;
    }});
    Watchdog watchdog(frame);
    const rt::TModalResult result = dialog.ShowModal();
    EXPECT_TRUE(escape.Done()) << caption;
    EXPECT_FALSE(::IsWindowVisible(WindowOf(dialog))) << caption;
    return result;
}

TEST_F(DialogUiTest, EscapeInTheFocusedControlClosesEachDialogWithCancel) {
    const rt::TStringList sources{"<p>page</p>"};
    toolbar::TfmOptions preferences(nullptr);
    toolbar::TfrmEIEditItems editor(nullptr);
    editor.SetCaption("Edit items");
    editor.lstItems->SetItems(rt::TStringList{"a", "b"});
    // No key preview and no Cancel button: Escape goes by the dialog keys.
    toolbar::TEIShowHtmlMessageForm viewer(nullptr);
    viewer.SetCaption("View Source");
    viewer.SetSources(sources);
    for (rt::TForm* dialog : std::initializer_list<rt::TForm*>{&preferences, &editor, &viewer}) {
        std::string focused;
        EXPECT_EQ(EscapeIn(*dialog, Frame(), focused), rt::mrCancel) << dialog->Caption() << ", Escape in " << focused;
    }
    EXPECT_TRUE(reported.empty()) << reported.front();
}

TEST_F(DialogUiTest, EscapeClosesTheAboutBoxWithCancelThoughItsOnlyButtonAnswersOk) {
    toolbar::TfmAbout about(nullptr);
    std::string focused;
    EXPECT_EQ(EscapeIn(about, Frame(), focused), rt::mrCancel) << "Escape in " << focused;
}

}  // namespace
