// The dialogs and keys of the toolbar form run in the browser's frame: the
// preferences opened from the bar, and the keys its search box keeps from the browser.
#include "DialogUiSupport.h"

#include <memory>

using namespace zrtest::ui;

namespace {

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

}  // namespace
