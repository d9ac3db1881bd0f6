// The controls' real windows: what they show, what posted clicks and keys do
// to the controls, the modal loop, menus, errors at the message loop, and
// what is left after a form goes.
#include <gtest/gtest.h>

#include <memory>

#include "UiTestSupport.h"
#include "platform/win32/ui/UiGdi.h"
#include "runtime/Menus.h"
#include "runtime/StdCtrls.h"

using namespace zrtest::ui;

namespace {

class UiBackendTest : public UiTest {
protected:
    // A small dialog: a panel with a label, a check box, a combo box, a list
    // and OK and Cancel buttons.
    std::unique_ptr<rt::TForm> NewDialog() {
        auto form = std::make_unique<rt::TForm>(nullptr);
        form->SetCaption("Small dialog");
        form->SetBorderStyle(rt::TFormBorderStyle::bsDialog);
        form->SetBounds(100, 100, 300, 200);
        auto* panel = new rt::TPanel(form.get());
        panel->SetName("panel");
        panel->SetBounds(10, 10, 280, 120);
        panel->SetParent(form.get());
        label = new rt::TLabel(form.get());
        label->SetCaption("Name:");
        label->SetBounds(5, 5, 60, 13);
        label->SetParent(panel);
        check = new rt::TCheckBox(form.get());
        check->SetCaption("Enabled");
        check->SetBounds(5, 25, 100, 17);
        check->SetParent(panel);
        combo = new rt::TComboBox(form.get());
        combo->Items().SetStrings({"alpha", "beta", "gamma"});
        combo->SetBounds(70, 2, 150, 21);
        combo->SetParent(panel);
        list = new rt::TListBox(form.get());
        list->Items().SetStrings({"one", "two", "three"});
        list->SetBounds(5, 50, 120, 60);
        list->SetParent(panel);
        ok = new rt::TButton(form.get());
        ok->SetCaption("OK");
        ok->SetModalResult(rt::mrOk);
        ok->SetDefault(true);
        ok->SetBounds(130, 160, 75, 25);
        ok->SetParent(form.get());
        cancel = new rt::TButton(form.get());
        cancel->SetCaption("Cancel");
        cancel->SetModalResult(rt::mrCancel);
        cancel->SetCancel(true);
        cancel->SetBounds(215, 160, 75, 25);
        cancel->SetParent(form.get());
        return form;
    }
    HWND ComboEdit() const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(WindowOf(*combo), &info);
        return info.hwndItem;
    }

    rt::TLabel* label = nullptr;
    rt::TCheckBox* check = nullptr;
    rt::TComboBox* combo = nullptr;
    rt::TListBox* list = nullptr;
    rt::TButton* ok = nullptr;
    rt::TButton* cancel = nullptr;
};

TEST_F(UiBackendTest, ControlsShowTheirStateInRealWindowsAndFollowItsChanges) {
    Frame();
    auto form = NewDialog();
    form->Show();
    HWND window = WindowOf(*form);
    ASSERT_TRUE(window);
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(TextOf(window), "Small dialog");
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, platform::win32::ui::Scale(300));
    EXPECT_EQ(client.bottom, platform::win32::ui::Scale(200));

    EXPECT_EQ(ClassOf(WindowOf(*label)), "Static");
    EXPECT_EQ(TextOf(WindowOf(*label)), "Name:");
    EXPECT_EQ(::GetParent(WindowOf(*label)), WindowOf(*dynamic_cast<rt::TControl*>(form->FindComponent("panel"))));
    EXPECT_EQ(::SendMessageA(WindowOf(*combo), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(::SendMessageA(WindowOf(*list), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(TextOf(WindowOf(*ok)), "OK");
    EXPECT_NE(::GetWindowLongPtrA(WindowOf(*ok), GWL_STYLE) & BS_DEFPUSHBUTTON, 0);

    label->SetCaption("Surname:");
    EXPECT_EQ(TextOf(WindowOf(*label)), "Surname:");
    check->SetChecked(true);
    EXPECT_EQ(::SendMessageA(WindowOf(*check), BM_GETCHECK, 0, 0), BST_CHECKED);
    list->Items().Add("four");
    EXPECT_EQ(::SendMessageA(WindowOf(*list), LB_GETCOUNT, 0, 0), 4);
    list->SetItemIndex(2);
    EXPECT_EQ(::SendMessageA(WindowOf(*list), LB_GETCURSEL, 0, 0), 2);
    combo->SetItemIndex(1);
    EXPECT_EQ(TextOf(WindowOf(*combo)), "beta");
    list->SetBounds(5, 50, 100, 40);
    RECT bounds;
    ::GetWindowRect(WindowOf(*list), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, platform::win32::ui::Scale(100));
    check->Hide();
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*check)));
    // A control added to a form that has its windows gets one at once.
    auto* late = new rt::TLabel(form.get());
    late->SetCaption("Late");
    late->SetParent(form.get());
    EXPECT_EQ(TextOf(WindowOf(*late)), "Late");
}

TEST_F(UiBackendTest, ClicksAndTypingReachTheControls) {
    Frame();
    auto form = NewDialog();
    int checkClicks = 0, listClicks = 0;
    check->OnClick = [&](rt::TObject*) { ++checkClicks; };
    list->OnClick = [&](rt::TObject*) { ++listClicks; };
    form->Show();
    Click(WindowOf(*check));
    Pump();
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(checkClicks, 1);

    RECT item;
    ::SendMessageA(WindowOf(*list), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    Click(WindowOf(*list), item.left + 2, item.top + 2);
    Pump();
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(listClicks, 1);

    ::SetFocus(ComboEdit());
    Type(ComboEdit(), "delta");
    Pump();
    EXPECT_EQ(combo->Text(), "delta");
    // Typing does not echo back into the box: the caret stays at the end.
    DWORD start = 0, end = 0;
    ::SendMessageA(ComboEdit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 5u);
}

TEST_F(UiBackendTest, TheModalLoopDisablesTheOwnerUntilAButtonSetsTheResult) {
    HWND frame = Frame();
    ::SetActiveWindow(frame);
    auto form = NewDialog();
    bool ownerDisabledMeanwhile = false;
    Script script({[&] {
                       HWND dialog = TopWindowCaptioned("Small dialog");
                       if (!dialog) return false;
                       ownerDisabledMeanwhile = !::IsWindowEnabled(frame);
                       Click(WindowOf(*ok));
                       return true;
                   }});
    EXPECT_EQ(form->ShowModal(), rt::mrOk);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(frame));
    EXPECT_FALSE(::IsWindowVisible(WindowOf(*form)));
}

TEST_F(UiBackendTest, EscapeAndTheCloseBoxCancelAModalForm) {
    Frame();
    auto form = NewDialog();
    Script escape({[&] {
        HWND dialog = TopWindowCaptioned("Small dialog");
        if (!dialog) return false;
        // The focus may not have reached the new window yet: any of its controls will do.
        HWND target = ::GetFocus();
        if (!target || (target != dialog && !::IsChild(dialog, target))) target = WindowOf(*check);
        Key(target, VK_ESCAPE);
        return true;
    }});
    EXPECT_EQ(form->ShowModal(), rt::mrCancel);

    cancel->SetCancel(false);
    cancel->SetModalResult(rt::mrNone);
    Script closeBox({[&] {
        HWND dialog = TopWindowCaptioned("Small dialog");
        if (!dialog) return false;
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
        return true;
    }});
    EXPECT_EQ(form->ShowModal(), rt::mrCancel);
}

TEST_F(UiBackendTest, KeyPreviewSeesKeysFirstAndMenuShortcutsRun) {
    Frame();
    auto form = NewDialog();
    auto* menu = new rt::TPopupMenu(form.get());
    auto* rename = new rt::TMenuItem(form.get());
    rename->SetCaption("&Rename");
    rename->SetShortCut(rt::ShortCut(rt::vk::F2, {}));
    int renames = 0;
    rename->OnClick = [&](rt::TObject*) { ++renames; };
    menu->Items()->Add(rename);
    list->SetPopupMenu(menu);
    std::vector<unsigned short> previewed;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](rt::TObject*, unsigned short& key, rt::TShiftState) {
        previewed.push_back(key);
        if (key == 'Q') form->SetModalResult(rt::mrAbort);
    };
    Script keys({[&] {
                     if (!TopWindowCaptioned("Small dialog")) return false;
                     ::SetFocus(WindowOf(*list));
                     Key(WindowOf(*list), VK_F2);
                     return true;
                 },
                 [&] {
                     Key(WindowOf(*list), 'Q');
                     return true;
                 }});
    EXPECT_EQ(form->ShowModal(), rt::mrAbort);
    EXPECT_EQ(renames, 1);
    // The shortcut went to the menu, not on to the form.
    EXPECT_EQ(previewed, std::vector<unsigned short>{'Q'});
}

TEST_F(UiBackendTest, ErrorsRaisedInEventsReachTheApplicationsHandler) {
    Frame();
    auto form = NewDialog();
    std::vector<std::string> reported;
    auto previous = rt::Application().OnException;
    rt::Application().OnException = [&](const std::exception& error) { reported.push_back(error.what()); };
    check->OnClick = [](rt::TObject*) { throw rt::Exception("from the click"); };
    form->Show();
    Click(WindowOf(*check));
    Pump();
    rt::Application().OnException = previous;
    EXPECT_EQ(reported, std::vector<std::string>{"from the click"});
}

TEST_F(UiBackendTest, AFormFreedInItsOwnEventLeavesNothingBehind) {
    Frame();
    const int windowsBefore = ThreadWindowCount();
    const int gdiBefore = platform::win32::ui::LiveGdiObjects();
    auto form = NewDialog();
    form->Show();
    HWND okWindow = WindowOf(*ok), formWindow = WindowOf(*form);
    rt::TForm* raw = form.release();
    ok->OnClick = [raw](rt::TObject*) { delete raw; };
    Click(okWindow);
    Pump();
    EXPECT_FALSE(::IsWindow(formWindow));
    EXPECT_FALSE(::IsWindow(okWindow));
    EXPECT_EQ(platform::win32::ui::LivePeerCount(), 0);
    EXPECT_EQ(platform::win32::ui::LiveGdiObjects(), gdiBefore);
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
    // Messages for the windows that are gone go nowhere.
    EXPECT_EQ(::SendMessageA(okWindow, WM_LBUTTONUP, 0, 0), 0);
}

TEST_F(UiBackendTest, AModalFormWhoseOwnerIsDestroyedEndsCancelled) {
    HWND frame = Frame();
    ::SetActiveWindow(frame);
    auto form = NewDialog();
    Script destroyOwner({[&] {
        if (!TopWindowCaptioned("Small dialog")) return false;
        ::DestroyWindow(frame);
        return true;
    }});
    EXPECT_EQ(form->ShowModal(), rt::mrCancel);
    // The form can show again, with windows of its own.
    form->Show();
    EXPECT_TRUE(::IsWindowVisible(WindowOf(*form)));
}

TEST_F(UiBackendTest, APopupMenuReturnsThePickAndDropsOneForAMenuFreedMeanwhile) {
    Frame();
    auto owner = std::make_unique<rt::TForm>(nullptr);
    auto* menu = new rt::TPopupMenu(owner.get());
    int clicks = 0;
    for (const char* caption : {"First", "Second"}) {
        auto* item = new rt::TMenuItem(owner.get());
        item->SetCaption(caption);
        item->OnClick = [&clicks](rt::TObject*) { ++clicks; };
        menu->Items()->Add(item);
    }
    auto pickFirst = [] {
        HWND shown = ::FindWindowA("#32768", nullptr);
        if (!shown || !::IsWindowVisible(shown)) return false;
        ::keybd_event(VK_DOWN, 0, 0, 0);
        ::keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
        ::keybd_event(VK_RETURN, 0, 0, 0);
        ::keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
        return true;
    };
    {
        Script pick({pickFirst});
        menu->Popup(100, 100);
    }
    EXPECT_EQ(clicks, 1);
    {
        Script freeThenPick({[&] {
                                 if (!::FindWindowA("#32768", nullptr)) return false;
                                 owner.reset();  // the menu and its entries go
                                 return true;
                             },
                             pickFirst});
        rt::TPopupMenu* raw = menu;
        raw->Popup(100, 100);
    }
    EXPECT_EQ(clicks, 1);
}

}  // namespace
