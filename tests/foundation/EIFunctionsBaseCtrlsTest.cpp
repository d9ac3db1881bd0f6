#include "foundation/EIFunctionsBaseCtrls.h"

#include <gtest/gtest.h>

#include "HostPlatformTest.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/EIIniFilesUnit1.h"
#include "runtime/Forms.h"

using namespace foundation;

namespace {
std::string RaisedText(const std::function<void()>& f) {
    try {
        f();
    } catch (const EIIgniteError& e) {
        return e.Message();
    }
    return "<nothing>";
}

struct Box {
    rt::TListBox box{nullptr};
    int clicks = 0;
    explicit Box(bool multi, rt::TStringList items = {"a", "b", "c", "d"}) {
        box.SetMultiSelect(multi);
        box.SetItems(items);
        box.OnClick = [this](rt::TObject*) { ++clicks; };
    }
};
}  // namespace

TEST(ListBoxHelpers, SelectionQueriesAndTheirMessages) {
    Box single(false), multi(true);
    EXPECT_FALSE(ListBoxHasSelection(single.box));
    EXPECT_EQ(RaisedText([&] { RequireSelection(single.box); }), "Please select an item and try again !");
    EXPECT_EQ(RaisedText([&] { SelectedItemText(single.box); }), "Please select an item and try again !!!");
    EXPECT_TRUE(SelectItem(single.box, 2));
    EXPECT_EQ(SelectedItemText(single.box), "c");
    EXPECT_FALSE(SelectItem(single.box, 4));
    EXPECT_FALSE(SelectItem(single.box, -1));
    EXPECT_EQ(single.box.ItemIndex(), 2);

    EXPECT_FALSE(ListBoxHasSelection(multi.box));
    EXPECT_TRUE(SelectItemByText(multi.box, "B"));
    EXPECT_TRUE(ListBoxHasSelection(multi.box));
    EXPECT_EQ(multi.clicks, 1);
    EXPECT_FALSE(SelectItemByText(multi.box, "zz"));
    EXPECT_EQ(multi.clicks, 1);
    // A multi-select box may have marks but no current item.
    EXPECT_EQ(RaisedText([&] { SelectedItemText(multi.box); }), "Please select an item and try again !!!");
}

TEST(ListBoxHelpers, DeleteSelectedSelectsTheOneBefore) {
    Box b(true);
    b.box.SetSelected(1, true);
    b.box.SetSelected(2, true);
    EXPECT_TRUE(DeleteSelectedItems(b.box));
    EXPECT_EQ(b.box.Items().ToVector(), (std::vector<std::string>{"a", "d"}));
    EXPECT_TRUE(b.box.Selected(0));
    EXPECT_EQ(b.clicks, 1);
    SelectNone(b.box);
    EXPECT_FALSE(DeleteSelectedItems(b.box));  // nothing selected

    Box first(true, {"a", "b"});
    first.box.SetSelected(0, true);
    EXPECT_TRUE(DeleteSelectedItems(first.box));
    EXPECT_TRUE(first.box.Selected(0));  // "b" now at 0
    SelectAll(first.box);
    EXPECT_FALSE(DeleteSelectedItems(first.box));  // nothing left to select
    EXPECT_EQ(first.box.Items().Count(), 0);

    Box single(false);
    single.box.SetItemIndex(3);
    EXPECT_TRUE(DeleteSelectedItems(single.box));
    EXPECT_EQ(SelectedItemText(single.box), "c");
}

TEST(ListBoxHelpers, MoveSelectedKeepsTheirOrder) {
    Box b(true, {"a", "b", "c", "d", "e"});
    b.box.SetSelected(1, true);
    b.box.SetSelected(3, true);
    EXPECT_TRUE(MoveSelectedItems(b.box, 0));
    EXPECT_EQ(b.box.Items().ToVector(), (std::vector<std::string>{"b", "d", "a", "c", "e"}));
    EXPECT_TRUE(b.box.Selected(0));
    EXPECT_TRUE(b.box.Selected(1));
    EXPECT_TRUE(MoveSelectedItems(b.box, 99));  // clamped to the end
    EXPECT_EQ(b.box.Items().ToVector(), (std::vector<std::string>{"a", "c", "e", "b", "d"}));
    SelectNone(b.box);
    EXPECT_FALSE(MoveSelectedItems(b.box, 0));
    Box single(false);
    EXPECT_EQ(RaisedText([&] { MoveSelectedItems(single.box, 0); }),
              "Trying to move items in a single select list box. Please fix this problem and try again !");
}

TEST(ListBoxHelpers, BulkSelectionInOneBracket) {
    Box b(true);
    int changes = 0;
    auto inner = b.box.Items().OnChange;
    b.box.Items().OnChange = [&](rt::TStringList& l) {
        ++changes;
        inner(l);
    };
    b.box.SetSelected(0, true);
    InvertSelection(b.box);
    EXPECT_EQ(b.box.SelCount(), 3);
    EXPECT_FALSE(b.box.Selected(0));
    SelectAll(b.box);
    EXPECT_EQ(b.box.SelCount(), 4);
    SelectNone(b.box);
    EXPECT_EQ(b.box.SelCount(), 0);

    Box single(false);
    single.box.SetItemIndex(1);
    SelectNone(single.box);
    EXPECT_EQ(single.box.ItemIndex(), -1);
    EXPECT_EQ(RaisedText([&] { SelectAll(single.box); }),
              "You can't select all items in a single select list box ! Please fix this problem and try again");
    EXPECT_EQ(RaisedText([&] { InvertSelection(single.box); }),
              "You can't invert the selection in a single select list box ! Please fix this problem and try again");
}

TEST(Identifiers, LettersDigitsAndUnderscoreOnly) {
    EXPECT_TRUE(IsIdentifier("  btn_Go2 "));
    EXPECT_TRUE(IsIdentifier("_x"));
    EXPECT_FALSE(IsIdentifier("2go"));
    EXPECT_FALSE(IsIdentifier("a.b"));
    EXPECT_FALSE(IsIdentifier("   "));
    EXPECT_FALSE(IsIdentifier("caf\xe9"));
}

TEST(Panels, FitToVisibleChildren) {
    rt::TPanel panel(nullptr);
    rt::TButton a(nullptr), b(nullptr), hidden(nullptr);
    a.SetWidth(20);
    b.SetWidth(35);
    hidden.SetWidth(100);
    hidden.Hide();
    a.SetParent(&panel);
    b.SetParent(&panel);
    hidden.SetParent(&panel);
    EXPECT_EQ(VisibleChildrenWidth(panel), 55);
    FitPanelToChildren(panel);
    EXPECT_EQ(panel.Width(), 55);
}

class CtrlsPlatformTest : public HostPlatformTest {};

TEST_F(CtrlsPlatformTest, AskForStringReturnsTheTextOrAborts) {
    host_.dialogs->PushInput(std::string("typed"));
    EXPECT_EQ(AskForString("Name?", "def"), "typed");
    const auto shown = host_.dialogs->ShownDialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Please supply a string");
    EXPECT_EQ(shown[0].text, "Name?");
    EXPECT_EQ(shown[0].initialValue, "def");
    host_.dialogs->PushInput(std::nullopt);
    try {
        AskForString("Name?", "");
        FAIL();
    } catch (const EIIgniteAbort& e) {
        EXPECT_EQ(e.Message(), "String not supplied... Cancelling");
    }
}

TEST_F(CtrlsPlatformTest, PopupMenusBelowAndAtAPoint) {
    rt::TForm form(nullptr);
    form.SetBounds(200, 100, 300, 50);
    auto* button = new rt::TButton(&form);
    button->SetBounds(30, 5, 40, 20);
    button->SetParent(&form);
    rt::TPopupMenu menu(nullptr);
    rt::TPoint shownAt{-1, -1};
    rt::THeadlessBackend::SetMenuScript([&](rt::TPopupMenu&, rt::TPoint at) -> rt::TMenuItem* {
        shownAt = at;
        return nullptr;
    });
    PopupMenuBelow(menu, *button);
    EXPECT_EQ(shownAt.X, 230);
    EXPECT_EQ(shownAt.Y, 125);

    rt::Application().Handle = 0x77;
    PopupMenuAt(*button, menu, rt::TPoint{9, 8});
    rt::Application().Handle = 0;
    rt::THeadlessBackend::SetMenuScript(nullptr);
    EXPECT_EQ(shownAt.X, 9);
    EXPECT_EQ(menu.PopupComponent(), button);
    // The owner (the form) has no native window here: the application's gets the empty message.
    const auto messages = host_.windows->Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().window, 0x77u);
    EXPECT_EQ(messages.back().message, 0u);
    EXPECT_TRUE(messages.back().posted);
}

TEST_F(CtrlsPlatformTest, ReadChecksFromANumberedListInOneBracket) {
    const std::string path = InModule("user_1.ini");
    WriteBytes(path, "[Checks]\r\n0=True\r\n1=no\r\n2=yes\r\n");
    rt::TListView view(nullptr);
    for (const char* caption : {"a", "b", "c", "d"}) view.Items().Add(caption).Checked = true;
    TEIIniFile ini(path);
    ini.ReadChecks("Checks", view);
    EXPECT_TRUE(view.Items()[0].Checked);
    EXPECT_FALSE(view.Items()[1].Checked);
    EXPECT_TRUE(view.Items()[2].Checked);
    EXPECT_FALSE(view.Items()[3].Checked);  // beyond the list
    EXPECT_EQ(view.Items().UpdateBrackets(), 1);
    ini.ReadChecks("Missing", view);
    EXPECT_FALSE(view.Items()[0].Checked);
}
