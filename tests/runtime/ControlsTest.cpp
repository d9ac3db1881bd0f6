#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "HostPlatformTest.h"
#include "runtime/ComCtrls.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Forms.h"
#include "runtime/Menus.h"
#include "runtime/StdCtrls.h"

using namespace rt;

TEST(ControlsLayout, AlignedChildrenShareTheClientAreaInOrder) {
    TForm form(nullptr);
    form.SetBounds(100, 50, 400, 300);
    auto* top = new TPanel(&form);
    top->SetHeight(30);
    top->SetAlign(TAlign::alTop);
    top->SetParent(&form);
    auto* left = new TPanel(&form);
    left->SetWidth(80);
    left->SetAlign(TAlign::alLeft);
    left->SetParent(&form);
    auto* client = new TPanel(&form);
    client->SetAlign(TAlign::alClient);
    client->SetParent(&form);
    auto* loose = new TButton(&form);
    loose->SetBounds(7, 8, 20, 10);
    loose->SetParent(&form);

    EXPECT_EQ(top->BoundsRect().Left, 0);
    EXPECT_EQ(top->Width(), 400);
    EXPECT_EQ(left->Top(), 30);
    EXPECT_EQ(left->Height(), 270);
    EXPECT_EQ(client->Left(), 80);
    EXPECT_EQ(client->Top(), 30);
    EXPECT_EQ(client->Width(), 320);
    EXPECT_EQ(client->Height(), 270);
    EXPECT_EQ(loose->Left(), 7);  // alNone keeps its place

    // Hiding the top strip and resizing the form re-lay the rest.
    top->Hide();
    form.SetWidth(500);
    EXPECT_EQ(left->Top(), 0);
    EXPECT_EQ(left->Height(), 300);
    EXPECT_EQ(client->Width(), 420);

    // Screen coordinates go through the parents up to the form.
    const TPoint p = client->ClientToScreen(TPoint{1, 2});
    EXPECT_EQ(p.X, 100 + 80 + 1);
    EXPECT_EQ(p.Y, 50 + 0 + 2);
}

TEST(ControlsLayout, SeveralLeftControlsStackInTheirPlacedOrder) {
    TPanel strip(nullptr);
    strip.SetBounds(0, 0, 300, 20);
    TButton a(nullptr), b(nullptr);
    b.SetBounds(50, 0, 40, 20);
    a.SetBounds(10, 0, 30, 20);
    b.SetAlign(TAlign::alLeft);
    a.SetAlign(TAlign::alLeft);
    strip.DisableAlign();
    b.SetParent(&strip);
    a.SetParent(&strip);
    EXPECT_EQ(b.Left(), 50);  // no layout inside the bracket
    strip.EnableAlign();
    EXPECT_EQ(a.Left(), 0);
    EXPECT_EQ(b.Left(), 30);
    // A child freed before its parent leaves it.
    {
        TButton c(nullptr);
        c.SetParent(&strip);
        EXPECT_EQ(strip.ControlCount(), 3);
    }
    EXPECT_EQ(strip.ControlCount(), 2);
}

TEST(ControlsProperties, PublishedByName) {
    TPanel panel(nullptr);
    SetPropText(panel, "Align", "alClient");
    EXPECT_EQ(panel.Align(), TAlign::alClient);
    SetPropText(panel, "Width", "77");
    EXPECT_EQ(GetPropText(panel, "Width"), "77");
    EXPECT_THROW(SetPropText(panel, "Width", "wide"), EConvertError);
    EXPECT_EQ(panel.Width(), 77);
    TListBox list(nullptr);
    TStringList items{"x", "y"};
    SetObjectProp(list, "Items", &items);
    EXPECT_EQ(list.Items().Count(), 2);
}

TEST(ListBox, SingleSelectionIsTheCurrentItem) {
    TListBox box(nullptr);
    box.SetItems(TStringList{"a", "b", "c"});
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.SelCount(), -1);
    box.SetSelected(1, true);
    EXPECT_EQ(box.ItemIndex(), 1);
    box.SetSelected(2, true);
    EXPECT_FALSE(box.Selected(1));
    EXPECT_TRUE(box.Selected(2));
    box.DeleteItem(2);
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_THROW(box.Selected(5), EListError);
}

TEST(ListBox, MarksFollowTheirItems) {
    TListBox box(nullptr);
    box.SetMultiSelect(true);
    box.SetItems(TStringList{"a", "b", "c", "d"});
    box.SetSelected(1, true);
    box.SetSelected(3, true);
    EXPECT_EQ(box.SelCount(), 2);
    box.InsertItem(0, "new");
    EXPECT_TRUE(box.Selected(2));
    EXPECT_TRUE(box.Selected(4));
    box.DeleteItem(0);
    box.MoveItem(3, 0);  // "d", selected, to the front
    EXPECT_EQ(box.Items().ToVector(), (std::vector<std::string>{"d", "a", "b", "c"}));
    EXPECT_TRUE(box.Selected(0));
    EXPECT_TRUE(box.Selected(2));
    EXPECT_FALSE(box.Selected(3));
    box.Items().Clear();
    EXPECT_EQ(box.SelCount(), 0);
}

TEST(ListBox, DragOverNeedsAHandlerThatAccepts) {
    TListBox target(nullptr), source(nullptr);
    EXPECT_FALSE(target.DragOver(&source, 1, 1));
    TObject* dropped = nullptr;
    target.OnDragOver = [&](TObject*, TObject* s, int, int, bool& accept) { accept = s == &source; };
    target.OnDragDrop = [&](TObject*, TObject* s, int, int) { dropped = s; };
    EXPECT_TRUE(target.DragOver(&source, 1, 1));
    EXPECT_FALSE(target.DragOver(&target, 1, 1));
    target.DragDrop(&source, 2, 2);
    EXPECT_EQ(dropped, &source);
}

TEST(ComboBox, TypeAheadAndSelection) {
    TComboBox box(nullptr);
    box.SetItems(TStringList{"Apple", "Banana"});
    int changes = 0;
    box.OnChange = [&](TObject*) { ++changes; };
    box.TypeText("ba");
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(box.Text(), "Banana");
    box.SelectFromList(0);
    EXPECT_EQ(box.Text(), "Apple");
    EXPECT_EQ(changes, 2);
    box.Items().Delete(0);
    EXPECT_EQ(box.ItemIndex(), 0);  // index 0 still exists
    box.Items().Clear();
    EXPECT_EQ(box.ItemIndex(), -1);
}

TEST(CheckBox, ChangingTheStateClicks) {
    TCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    box.SetChecked(true);
    box.SetChecked(true);
    box.Toggle();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

// A person working a dialog: type a name, tick a box, press OK.
TEST(Forms, ModalDialogDrivenByAScript) {
    auto backend = std::make_shared<THeadlessBackend>();
    auto previous = SetUiBackend(backend);
    TForm dialog(nullptr);
    auto* name = new TComboBox(&dialog);
    name->SetParent(&dialog);
    auto* option = new TCheckBox(&dialog);
    option->SetParent(&dialog);
    auto* ok = new TButton(&dialog);
    ok->SetParent(&dialog);
    ok->SetModalResult(mrOk);
    bool okClicked = false;
    ok->OnClick = [&](TObject*) { okClicked = true; };
    backend->SetModalScript([&](TCustomForm& form) {
        EXPECT_TRUE(form.Visible());
        EXPECT_TRUE(form.Modal());
        name->SetFocus();
        name->TypeText("hello");
        option->Toggle();
        ok->Click();
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(okClicked);
    EXPECT_EQ(name->Text(), "hello");
    EXPECT_TRUE(option->Checked());
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(dialog.ActiveControl(), name);

    // A script that leaves without a result cancels; the form can be shown again.
    backend->SetModalScript([](TCustomForm&) {});
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    backend->SetModalScript([](TCustomForm& form) { EXPECT_THROW(form.ShowModal(), EInvalidOperation); form.Close(); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
    SetUiBackend(previous);
}

TEST(Forms, KeyPreviewLetsTheFormSwallowKeys) {
    TForm form(nullptr);
    auto* edit = new TComboBox(&form);
    edit->SetParent(&form);
    edit->SetFocus();
    std::vector<unsigned short> seen;
    edit->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) { seen.push_back(key); };
    form.OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) {
        if (key == 13) key = 0;
    };
    form.KeyDown(13, {});
    form.KeyDown(65, {});
    EXPECT_EQ(seen, (std::vector<unsigned short>{13, 65}));  // no preview yet
    seen.clear();
    form.SetKeyPreview(true);
    form.KeyDown(13, {});
    form.KeyDown(65, {});
    EXPECT_EQ(seen, (std::vector<unsigned short>{65}));
}

TEST(Menus, EntriesNestAndDispatchByCommand) {
    TPopupMenu menu(nullptr);
    auto* file = new TMenuItem(&menu);
    file->SetCaption("File");
    menu.Items()->Add(file);
    auto* open = new TMenuItem(&menu);
    open->SetCaption("Open");
    file->Add(open);
    int clicks = 0;
    open->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_EQ(open->GetParentMenu(), &menu);
    EXPECT_TRUE(menu.DispatchCommand(open->Command()));
    open->SetEnabled(false);
    EXPECT_TRUE(menu.DispatchCommand(open->Command()));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(menu.DispatchCommand(9999999));
    EXPECT_THROW(menu.Items()->Add(open), EMenuError);  // already in the menu
    EXPECT_THROW(open->Add(file), EMenuError);          // its own ancestor
    delete open;  // leaves its parent
    EXPECT_EQ(file->Count(), 0);
}

TEST(Menus, DefaultAndRadioEntriesAreExclusive) {
    TMainMenu menu(nullptr);
    std::vector<TMenuItem*> items;
    for (int i = 0; i < 3; ++i) {
        items.push_back(new TMenuItem(&menu));
        items.back()->SetRadioItem(true);
        menu.Items()->Add(items.back());
    }
    items[0]->SetDefault(true);
    items[1]->SetDefault(true);
    EXPECT_FALSE(items[0]->Default());
    items[0]->SetChecked(true);
    items[2]->SetChecked(true);
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[2]->Checked());
    SetPropText(*items[1], "Break", "mbBarBreak");
    EXPECT_EQ(items[1]->Break(), TMenuBreak::mbBarBreak);
    bool rebuilt = false;
    menu.OnChange = [&](TObject*, TMenuItem*, bool rebuild) { rebuilt = rebuild; };
    items[1]->SetVisible(false);
    EXPECT_TRUE(rebuilt);
}

TEST(Menus, PopupRunsThePickOfTheScript) {
    TPopupMenu menu(nullptr);
    auto* item = new TMenuItem(&menu);
    menu.Items()->Add(item);
    int clicks = 0, popups = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    menu.OnPopup = [&](TObject*) { ++popups; };
    THeadlessBackend::SetMenuScript([&](TPopupMenu& m, TPoint at) -> TMenuItem* {
        EXPECT_EQ(at.X, 5);
        return m.Items()->Items(0);
    });
    menu.Popup(5, 6);
    THeadlessBackend::SetMenuScript(nullptr);
    menu.Popup(5, 6);  // dismissed
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(popups, 2);
}

TEST(Menus, AShortCutSeesTheStatesItsPopupWouldShowAndPassesOverADisabledEntry) {
    TPopupMenu menu(nullptr);
    auto* clear = new TMenuItem(&menu);
    clear->SetShortCut(TextToShortCut("Del"));
    menu.Items()->Add(clear);
    bool applies = false;
    int clicks = 0, popups = 0;
    clear->OnClick = [&](TObject*) { ++clicks; };
    menu.OnPopup = [&](TObject*) {
        ++popups;
        clear->SetEnabled(applies);
    };
    EXPECT_FALSE(menu.IsShortCut(TextToShortCut("Del")));  // left to the control
    applies = true;
    EXPECT_TRUE(menu.IsShortCut(TextToShortCut("Del")));
    EXPECT_FALSE(menu.IsShortCut(TextToShortCut("Ctrl+Z")));  // no entry has it: no popup either
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(popups, 2);
}

TEST(ComboBox, AClosedListTellsAPickFromACancelAndTheProgramClosesItSilently) {
    TComboBox combo(nullptr);
    std::vector<bool> closes;
    combo.OnCloseUp = [&](TObject*) { closes.push_back(combo.ClosedOnPick()); };
    combo.CloseUp();  // not open: nothing to report
    combo.DropDown();
    combo.CloseUp(false);
    combo.DropDown();
    combo.CloseUp(true);
    combo.DropDown();
    combo.CloseList();
    EXPECT_FALSE(combo.DroppedDown());
    combo.CloseUp(true);  // the window's own close-up after the program closed it
    EXPECT_EQ(closes, (std::vector<bool>{false, true}));
}

class TimerTest : public HostPlatformTest {};

TEST_F(TimerTest, RunsOnlyWhenEnabledWithIntervalAndHandler) {
    int ticks = 0;
    {
        TTimer timer(nullptr);
        EXPECT_FALSE(timer.Running());
        timer.SetInterval(4000);
        timer.SetOnTimer([&](TObject*) { ++ticks; });
        ASSERT_TRUE(timer.Running());
        EXPECT_EQ(host_.timers->Running().begin()->second, 4000u);
        host_.timers->TickAll();
        timer.SetEnabled(false);
        EXPECT_FALSE(host_.timers->TickAll());
        timer.SetEnabled(true);
        timer.SetInterval(0);
        EXPECT_FALSE(timer.Running());
        timer.SetInterval(100);
        host_.timers->TickAll();
        // A handler may stop its own timer.
        timer.SetOnTimer([&](TObject* sender) {
            ++ticks;
            static_cast<TTimer*>(sender)->SetEnabled(false);
        });
        host_.timers->TickAll();
        EXPECT_FALSE(timer.Running());
        timer.SetEnabled(true);
    }
    EXPECT_TRUE(host_.timers->Running().empty());  // freed timers stop
    EXPECT_EQ(ticks, 3);
}

TEST_F(TimerTest, ThreadsSwitchingOneTimerLeaveNoStrayTimerBehind) {
    // The popup helper's browser windows share one timer across threads.
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetOnTimer([](TObject*) {});
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&timer, t] {
            for (int i = 0; i < 2000; ++i) timer.SetEnabled((i + t) % 2 == 0);
        });
    for (auto& thread : threads) thread.join();
    timer.SetEnabled(true);
    EXPECT_EQ(host_.timers->Running().size(), 1u);
    timer.SetEnabled(false);
    EXPECT_TRUE(host_.timers->Running().empty());
}

TEST(ListView, ItemsWithChecks) {
    TListView view(nullptr);
    view.SetCheckboxes(true);
    view.Items().Add("a").Checked = true;
    view.Items().Add("b");
    EXPECT_TRUE(view.Items()[0].Checked);
    view.Items().Delete(0);
    EXPECT_EQ(view.Items()[0].Caption, "b");
    EXPECT_THROW(view.Items()[3], EListError);
}
