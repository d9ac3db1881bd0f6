// The toolbar form as a child window of a browser frame, used with real
// clicks and keys: a search typed and sent with Enter, the history list
// picked from with the mouse and the keyboard or cancelled, the editing keys
// and the context menu of the search box, a pick from a search button's
// menu, and nothing left behind when the form goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "BandFormMenus.h"
#include "EventSinkFakes.h"
#include "ScreenCapture.h"
#include "UiTestSupport.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "platform/host/HostBrowser.h"
#include "platform/win32/ui/UiGdi.h"
#include "toolbar/BandForm.h"

using namespace zrtest::ui;
using toolbar::TBandForm;
using Strings = std::vector<std::string>;
using zrtest::kGoogleXml;

namespace {

class BandFormUiTest : public UiTest {
protected:
    BandFormUiTest() {
        foundation::ChooseUserSettingsFile();
        toolbar::BandModuleLoaded();
        toolbar::SetBrowserEventSourceProvider([this](const std::shared_ptr<platform::IBrowser>&) { return events; });
        Files().CreateDirectory(InModule("Data"));
        WriteBytes(InModule("Data\\google.xml"), kGoogleXml);
        browser->Show("http://www.example.com/a/page.html", "Example page",
                      platform::host::HostDocumentWith("<p>top</p>"));
    }
    ~BandFormUiTest() override {
        toolbar::SetBrowserEventSourceProvider(nullptr);
        toolbar::BandModuleUnloading();
    }

    // The bar with the given buttons, a child of the frame across its width.
    std::unique_ptr<TBandForm> NewBar(const Strings& buttons) {
        foundation::TEIIniFile ini(foundation::CurrentUserSettingsFileName());
        ini.WriteString("TBandForm.AMToolbarOptions_Items", "Count", std::to_string(buttons.size()));
        for (std::size_t i = 0; i < buttons.size(); ++i)
            ini.WriteString("TBandForm.AMToolbarOptions_Items", "Item" + std::to_string(i), buttons[i]);
        auto form = std::make_unique<TBandForm>(nullptr, reinterpret_cast<std::uintptr_t>(Frame()));
        form->SetBrowser(browser);
        form->RestoreState();
        RECT client;
        ::GetClientRect(Frame(), &client);
        // The band's height: the bar's rows, as the band reports them to its site.
        form->SetBounds(0, 0, platform::win32::ui::Unscale(client.right), form->Panel2->Height() + form->Panel1->Height());
        form->Show();
        Pump();
        shown_ = form.get();
        return form;
    }
    HWND SearchEdit(TBandForm& form) const { return SearchBoxInfo(form).hwndItem; }
    static COMBOBOXINFO SearchBoxInfo(TBandForm& form) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(WindowOf(*form.edtSearch), &info);
        return info;
    }
    static bool ListShown(TBandForm& form) {
        return ::SendMessageA(WindowOf(*form.edtSearch), CB_GETDROPPEDSTATE, 0, 0) != 0;
    }

    // The browser's message loop: each key message is offered to the band
    // first (its TranslateAcceleratorIO), the rest translated and dispatched.
    void BrowserPump(int milliseconds = 80) {
        const DWORD until = ::GetTickCount() + static_cast<DWORD>(milliseconds);
        do {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (shown_ && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
                    shown_->FilterAccelerator(toolbar::TMsg{reinterpret_cast<platform::WindowHandle>(msg.hwnd),
                                                            msg.message, msg.wParam, msg.lParam}) == 0)
                    continue;
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            ::Sleep(5);
        } while (static_cast<LONG>(::GetTickCount() - until) < 0);
    }
    // A key of the keyboard pressed and released: the message loop makes its character.
    static void Press(HWND window, UINT key, bool alt = false) {
        const LPARAM down = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(key, 0)) << 16) | (alt ? 1 << 29 : 0);
        ::PostMessageA(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, down);
        ::PostMessageA(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, down | (3u << 30));
    }
    void PressAlt(HWND window, UINT key) {
        HoldKey(VK_MENU, true);
        Press(window, key, true);
        BrowserPump();
        HoldKey(VK_MENU, false);
    }
    void PressShift(HWND window, UINT key) {
        HoldKey(VK_SHIFT, true);
        Press(window, key);
        BrowserPump();
        HoldKey(VK_SHIFT, false);
    }
    // Typed into the focused box and searched with Enter.
    void Search(HWND edit, const std::string& text) {
        Press(edit, VK_END);
        BrowserPump();
        PressShift(edit, VK_HOME);
        Type(edit, text);
        Press(edit, VK_RETURN);
        BrowserPump();
    }
    // The states of a pop-up menu's entries by caption: true when enabled.
    static std::vector<std::pair<std::string, bool>> MenuStates(HMENU menu) {
        std::vector<std::pair<std::string, bool>> states;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            char caption[128] = "";
            ::GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof(caption), MF_BYPOSITION);
            const UINT state = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            if (caption[0]) states.emplace_back(std::string(caption).substr(0, std::string(caption).find('\t')),
                                                !(state & (MF_GRAYED | MF_DISABLED)));
        }
        return states;
    }
    Strings Urls() const {
        Strings urls;
        for (const auto& n : browser->navigations) urls.push_back(n.url);
        return urls;
    }
    Strings History() const {
        foundation::TEIIniFile ini(foundation::CurrentUserSettingsFileName());
        Strings items;
        const int count = std::atoi(ini.ReadString("TBandForm.edtSearch_Items", "Count", "0").c_str());
        for (int i = 0; i < count; ++i)
            items.push_back(ini.ReadString("TBandForm.edtSearch_Items", "Item" + std::to_string(i), ""));
        return items;
    }

    // Saves a picture of the frame (with any open menu) when the run asks
    // for pictures, and tells whether the area shows more than a flat fill.
    bool Picture(const std::string& name) {
        const zrdemo::Picture picture = zrdemo::CaptureScreenArea(zrdemo::AreaWithOpenMenus(Frame()));
        if (const char* folder = std::getenv("ZR_SCREENSHOTS")) {
            std::string path = std::string(folder) + "\\" + name + ".png";
            EXPECT_TRUE(zrdemo::WritePng(path, picture)) << path;
        }
        std::set<unsigned> colors;
        for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
            colors.insert(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2]);
        return colors.size() > 8;
    }

    std::shared_ptr<platform::host::HostBrowser> browser = std::make_shared<platform::host::HostBrowser>();
    std::shared_ptr<zrtest::TestEventSource> events = std::make_shared<zrtest::TestEventSource>();

private:
    TBandForm* shown_ = nullptr;  // the bar whose keys the browser's loop offers to the band
};

TEST_F(BandFormUiTest, TheBarIsAChildOfTheFrameAndShowsItsButtons) {
    auto form = NewBar({"Google", "Tools"});
    HWND bar = WindowOf(*form);
    ASSERT_TRUE(bar);
    EXPECT_EQ(::GetParent(bar), Frame());
    EXPECT_TRUE(::GetWindowLongA(bar, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(::IsWindowVisible(WindowOf(*form->btnGoogle)));
    EXPECT_TRUE(::IsWindowVisible(WindowOf(*form->btnTools)));
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*form->btnAmazon)));
    RECT area;
    ::GetWindowRect(bar, &area);
    EXPECT_GT(area.bottom - area.top, 10);
    EXPECT_TRUE(Picture("toolbar"));
}

TEST_F(BandFormUiTest, ASearchTypedIntoTheBoxAndEnterNavigatesAndIsRemembered) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    ASSERT_TRUE(edit);
    Click(edit);
    Type(edit, "blue cats");
    Pump();
    EXPECT_EQ(TextOf(edit), "blue cats");
    Key(edit, VK_RETURN);
    Pump();
    ASSERT_FALSE(Urls().empty());
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=blue cats");  // a space stays a space
    EXPECT_EQ(History(), (Strings{"blue cats"}));

    Key(edit, VK_END);  // the searched text stays selected: go past it
    Type(edit, "&more");
    Key(edit, VK_RETURN);
    Pump();
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=blue cats%26more");  // escaped for the address only
    EXPECT_EQ(History(), (Strings{"blue cats&more", "blue cats"}));
}

TEST_F(BandFormUiTest, AHistoryEntryClickedInTheListIsSearchedAndACancelledListSearchesNothing) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    ASSERT_TRUE(edit);
    Click(edit);
    const std::string longest = "where the owls of the northern forests spend the winter nights";
    for (const char* text : {longest.c_str(), "alpha", "beta"}) Search(edit, text);
    ASSERT_EQ(History(), (Strings{"beta", "alpha", longest}));
    const std::size_t searched = Urls().size();

    // The arrow of the box, then the second entry of its list.
    const COMBOBOXINFO box = SearchBoxInfo(*form);
    Click(WindowOf(*form->edtSearch), (box.rcButton.left + box.rcButton.right) / 2,
          (box.rcButton.top + box.rcButton.bottom) / 2);
    BrowserPump();
    ASSERT_TRUE(ListShown(*form));
    // The list is as wide as its longest entry in the box's font, and stays on the screen.
    RECT list{};
    ::GetWindowRect(box.hwndList, &list);
    HDC dc = ::GetDC(box.hwndList);
    HGDIOBJ before = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(edit, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, longest.c_str(), static_cast<int>(longest.size()), &extent);
    ::SelectObject(dc, before);
    ::ReleaseDC(box.hwndList, dc);
    EXPECT_GT(list.right - list.left, extent.cx);
    EXPECT_LE(list.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(Picture("search-history-list"));
    RECT row{};
    ::SendMessageA(box.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    Click(box.hwndList, row.left + 10, (row.top + row.bottom) / 2);
    BrowserPump();
    EXPECT_FALSE(ListShown(*form));
    ASSERT_EQ(Urls().size(), searched + 1);
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=alpha");
    EXPECT_EQ(TextOf(edit), "alpha");
    EXPECT_EQ(History(), (Strings{"alpha", "beta", longest}));

    // Opened from the keyboard and left with Escape: no search.
    PressAlt(edit, VK_DOWN);
    ASSERT_TRUE(ListShown(*form));
    Press(edit, VK_ESCAPE);
    BrowserPump();
    EXPECT_FALSE(ListShown(*form));
    EXPECT_EQ(Urls().size(), searched + 1);
    EXPECT_EQ(TextOf(edit), "alpha");
}

TEST_F(BandFormUiTest, EnterInTheOpenListSearchesTheShownEntryOnceAndClosesTheList) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    ASSERT_TRUE(edit);
    Click(edit);
    for (const char* text : {"alpha", "beta"}) Search(edit, text);
    const std::size_t searched = Urls().size();
    PressAlt(edit, VK_DOWN);
    ASSERT_TRUE(ListShown(*form));
    Press(edit, VK_DOWN);  // from "beta" to "alpha"
    BrowserPump();
    EXPECT_EQ(TextOf(edit), "alpha");
    Press(edit, VK_RETURN);
    BrowserPump();
    EXPECT_FALSE(ListShown(*form));
    EXPECT_TRUE(Picture("search-after-enter-in-list"));
    ASSERT_EQ(Urls().size(), searched + 1);
    EXPECT_EQ(Urls().back(), "http://www.bing.com/search?q=alpha");
    EXPECT_EQ(History(), (Strings{"alpha", "beta"}));
}

TEST_F(BandFormUiTest, DeleteInTheSearchBoxDeletesAndTheNextCharacterIsTyped) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    ASSERT_TRUE(edit);
    Click(edit);
    Type(edit, "abc");
    Press(edit, VK_HOME);
    Press(edit, VK_DELETE);
    Type(edit, "Z");
    BrowserPump();
    EXPECT_EQ(TextOf(edit), "Zbc");

    // A selection goes as a whole, and the next character still arrives.
    PressShift(edit, VK_END);
    Press(edit, VK_DELETE);
    Type(edit, "Q");
    BrowserPump();
    EXPECT_EQ(TextOf(edit), "ZQ");
    EXPECT_EQ(form->edtSearch->Text(), "ZQ");
}

TEST_F(BandFormUiTest, TheSearchBoxMenuOffersWhatAppliesAndUndoesWithCtrlZAndItsEntry) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    ASSERT_TRUE(edit);
    Click(edit);
    Type(edit, "owls");
    BrowserPump();
    host_.clipboard->Clear();  // nothing to paste yet
    // Opens the box's context menu, records its states, then presses `key` in it.
    auto openMenuAndPress = [&](BYTE key, const std::string& picture) {
        std::vector<std::pair<std::string, bool>> states;
        Script person({[&] {
            HWND menu = ::FindWindowA("#32768", nullptr);
            if (!menu || !::IsWindowVisible(menu)) return false;
            Pump(100);
            states = MenuStates(reinterpret_cast<HMENU>(::SendMessageA(menu, 0x01E1 /* MN_GETHMENU */, 0, 0)));
            EXPECT_TRUE(Picture(picture));
            ::keybd_event(key, 0, 0, 0);
            ::keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
            return true;
        }});
        ::PostMessageA(edit, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        ::PostMessageA(edit, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        BrowserPump(300);
        EXPECT_TRUE(person.Done());
        return states;
    };
    using States = std::vector<std::pair<std::string, bool>>;
    const States typed = openMenuAndPress('U', "search-box-menu-typed");
    ASSERT_GE(typed.size(), 5u);
    EXPECT_EQ(States(typed.begin(), typed.begin() + 5),
              (States{{"Cu&t", false}, {"&Copy", false}, {"&Paste", false}, {"&Delete", false}, {"&Undo", true}}));
    EXPECT_EQ(TextOf(edit), "");  // the entry undid the typing

    // Ctrl+Z undoes the last edit, here that undo itself.
    HoldKey(VK_CONTROL, true);
    Press(edit, 'Z');
    BrowserPump();
    HoldKey(VK_CONTROL, false);
    EXPECT_EQ(TextOf(edit), "owls");
    EXPECT_EQ(form->edtSearch->Text(), "owls");

    Press(edit, VK_END);
    BrowserPump();
    PressShift(edit, VK_HOME);
    host_.clipboard->SetText("PASTED");
    const States selected = openMenuAndPress(VK_ESCAPE, "search-box-menu-selection");
    ASSERT_GE(selected.size(), 5u);
    EXPECT_EQ(States(selected.begin(), selected.begin() + 5),
              (States{{"Cu&t", true}, {"&Copy", true}, {"&Paste", true}, {"&Delete", true}, {"&Undo", true}}));
    EXPECT_EQ(TextOf(edit), "owls");
}

TEST_F(BandFormUiTest, APickFromASearchButtonsMenuSearchesWithItsAddress) {
    auto form = NewBar({"Google"});
    HWND edit = SearchEdit(*form);
    Click(edit);
    Type(edit, "owls");
    Pump();
    bool pictured = false;
    Script pick({[&] {
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) return false;
        Pump(100);
        pictured = Picture("google-menu");
        // No pick is remembered yet: Web, then Images.
        for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
            ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
        }
        return true;
    }});
    Click(WindowOf(*form->btnGoogle));
    Pump(200);
    EXPECT_TRUE(pick.Done());
    EXPECT_TRUE(pictured);
    ASSERT_FALSE(Urls().empty());
    EXPECT_EQ(Urls().back(), "http://images.google.com/images?q=owls");
    EXPECT_EQ(form->btnGoogle->MRUItems().ToVector(), (Strings{"img"}));
}

TEST_F(BandFormUiTest, NoWindowGdiObjectOrPeerOutlivesTheForm) {
    Frame();
    {  // the first form loads what stays for the process (classes, fonts, bitmaps of the module)
        auto warmUp = NewBar({"Google", "Tools"});
    }
    Pump();
    const int windows = ThreadWindowCount();
    const int peers = platform::win32::ui::LivePeerCount();
    const int gdi = platform::win32::ui::LiveGdiObjects();
    for (int round = 0; round < 3; ++round) {
        auto form = NewBar({"Google", "Tools", "Highlight"});
        EXPECT_GT(ThreadWindowCount(), windows);
        Pump();
    }
    Pump();
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(platform::win32::ui::LivePeerCount(), peers);
    EXPECT_EQ(platform::win32::ui::LiveGdiObjects(), gdi);
}

}  // namespace
