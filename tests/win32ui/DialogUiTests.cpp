// The toolbar's dialogs in real windows, used with posted clicks, drags and
// keys: the preferences' button lists and pages, a rename in the item-list
// editor, the source viewer's find dialog, owned questions, Escape in every dialog.
#include "DialogUiSupport.h"

using namespace zrtest::ui;

namespace {

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
