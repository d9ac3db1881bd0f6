// The item-list editor worked as a person does: menu picks, typed answers in
// the input box, keys, drags and the OK and Cancel buttons.
#include "toolbar/EIEditItemsForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "HostPlatformTest.h"
#include "foundation/EIFunctionsBase.h"

using toolbar::TfrmEIEditItems;

namespace {

struct Reported {
    std::string message;
    bool silent;  // an abort, which the toolbar's handler swallows
};

class ItemListEditorTest : public HostPlatformTest {
protected:
    ItemListEditorTest() : HostPlatformTest(RegistryUse::StandIn) {
        previous_ = rt::SetUiBackend(backend_);
        rt::Application().OnException = [this](const std::exception& e) {
            reported.push_back({e.what(), dynamic_cast<const rt::EAbort*>(&e) != nullptr});
        };
        rt::THeadlessBackend::SetMenuScript([this](rt::TPopupMenu& menu, rt::TPoint) -> rt::TMenuItem* {
            for (int i = 0; i < menu.Items()->Count(); ++i)
                if (menu.Items()->Items(i)->Caption() == pick_) return menu.Items()->Items(i);
            ADD_FAILURE() << "no entry " << pick_;
            return nullptr;
        });
    }
    ~ItemListEditorTest() override {
        rt::THeadlessBackend::SetMenuScript(nullptr);
        rt::Application().OnException = nullptr;
        rt::SetUiBackend(previous_);
    }

    bool Edit(rt::TStringList& items, std::function<void(TfrmEIEditItems&)> person, int minCount = 0,
              bool requireNames = false) {
        backend_->SetModalScript([person](rt::TCustomForm& form) { person(dynamic_cast<TfrmEIEditItems&>(form)); });
        return toolbar::EditItemList("Manage Search History", items, minCount, "History List", requireNames);
    }

    // An action dispatched by the message loop: its error goes to the
    // application's handler and the dialog stays.
    static void Do(const std::function<void()>& action) {
        try {
            action();
        } catch (const std::exception& e) {
            rt::Application().HandleException(e);
        }
    }
    void Pick(TfrmEIEditItems& editor, const std::string& caption) {
        pick_ = caption;
        Do([&] { editor.btnSelectedItems->Click(); });
    }
    // The title above the list opens the same menu.
    void PickFromTitle(TfrmEIEditItems& editor, const std::string& caption) {
        pick_ = caption;
        Do([&] { editor.SelectedItemsCaption->Click(); });
    }
    static void Press(TfrmEIEditItems& editor, unsigned short key) { Do([&] { editor.KeyDown(key, {}); }); }
    static void PressOK(TfrmEIEditItems& editor) { Do([&] { editor.btnOK->Click(); }); }
    void Type(std::optional<std::string> text) { host_.dialogs->PushInput(std::move(text)); }
    static void Select(TfrmEIEditItems& editor, std::initializer_list<int> indexes, int focused) {
        for (int i : indexes) editor.lstItems->SetSelected(i, true);
        editor.lstItems->SetItemIndex(focused);
    }
    // The y of the middle of a row of the list.
    static int RowY(int row) { return row * 11 + 5; }

    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& r : reported) out.push_back(r.message);
        return out;
    }

    std::vector<Reported> reported;

private:
    std::shared_ptr<rt::THeadlessBackend> backend_ = std::make_shared<rt::THeadlessBackend>();
    std::shared_ptr<rt::IUiBackend> previous_;
    std::string pick_;
};

std::vector<std::string> Texts(const rt::TListBox& list) { return list.Items().ToVector(); }
std::vector<int> SelectedIndexes(const rt::TListBox& list) {
    std::vector<int> out;
    for (int i = 0; i < list.Items().Count(); ++i)
        if (list.Selected(i)) out.push_back(i);
    return out;
}

using Strings = std::vector<std::string>;

TEST_F(ItemListEditorTest, CancelOrEscapeAfterEditsLeavesTheCallersListAndAbortsSilently) {
    rt::TStringList items{"a", "b", "c"};
    auto edits = [&](TfrmEIEditItems& editor) {
        EXPECT_EQ(editor.Caption(), "Manage Search History");
        EXPECT_EQ(editor.SelectedItemsCaption->Caption(), "History List");
        EXPECT_EQ(Texts(*editor.lstItems), (Strings{"a", "b", "c"}));
        Type("d");
        Pick(editor, "&Add...");
        Select(editor, {0}, 0);
        Press(editor, rt::vk::Delete);
        EXPECT_EQ(Texts(*editor.lstItems), (Strings{"b", "c", "d"}));
    };
    try {
        Edit(items, [&](TfrmEIEditItems& editor) {
            edits(editor);
            Do([&] { editor.btnCancel->Click(); });
        });
        ADD_FAILURE() << "no abort";
    } catch (const foundation::EIIgniteAbort& e) {
        EXPECT_EQ(e.Message(), "Operation cancelled");
    }
    EXPECT_EQ(items.ToVector(), (Strings{"a", "b", "c"}));

    EXPECT_THROW(Edit(items,
                      [&](TfrmEIEditItems& editor) {
                          edits(editor);
                          editor.btnOK->SetFocus();  // Escape closes from any control
                          Press(editor, rt::vk::Escape);
                      }),
                 foundation::EIIgniteAbort);
    EXPECT_EQ(items.ToVector(), (Strings{"a", "b", "c"}));
    EXPECT_TRUE(reported.empty());
}

TEST_F(ItemListEditorTest, OkReportsWhetherTheTextsChangedCaseSensitively) {
    rt::TStringList items{"alpha", "beta"};
    EXPECT_FALSE(Edit(items, [](TfrmEIEditItems& editor) { PressOK(editor); }));
    EXPECT_EQ(items.ToVector(), (Strings{"alpha", "beta"}));

    EXPECT_TRUE(Edit(items, [&](TfrmEIEditItems& editor) {
        Select(editor, {1}, 1);
        Type("BETA");
        Do([&] { editor.lstItems->DblClick(); });
        PressOK(editor);
    }));
    EXPECT_EQ(items.ToVector(), (Strings{"alpha", "BETA"}));
    const auto shown = host_.dialogs->ShownDialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].inputBox);
    EXPECT_EQ(shown[0].caption, "Please supply a string");
    EXPECT_EQ(shown[0].text, "Rename item");
    EXPECT_EQ(shown[0].initialValue, "beta");

    // An item holding a line break is not the same list as two items.
    rt::TStringList joined{"x\r\ny"};
    EXPECT_TRUE(Edit(joined, [&](TfrmEIEditItems& editor) {
        Select(editor, {0}, 0);
        Type("x");
        Pick(editor, "&Rename...");
        Type("y");
        Pick(editor, "&Add...");
        PressOK(editor);
    }));
    EXPECT_EQ(joined.ToVector(), (Strings{"x", "y"}));
}

TEST_F(ItemListEditorTest, RenameActsOnTheFocusedItemAndNeedsASelection) {
    rt::TStringList items{"one", "two", "three"};
    EXPECT_TRUE(Edit(items, [&](TfrmEIEditItems& editor) {
        Press(editor, rt::vk::F2);  // nothing selected
        Select(editor, {0, 2}, -1);
        Press(editor, rt::vk::F2);  // selected, but no focused item
        Select(editor, {0, 1, 2}, 1);
        Type("TWO");
        Press(editor, rt::vk::F2);
        EXPECT_EQ(SelectedIndexes(*editor.lstItems), (std::vector<int>{0, 1, 2}));
        PressOK(editor);
    }));
    EXPECT_EQ(items.ToVector(), (Strings{"one", "TWO", "three"}));
    EXPECT_EQ(Messages(), (Strings{"Please select an item and try again !", "Please select an item and try again !!!"}));
}

TEST_F(ItemListEditorTest, OkRefusesTooFewItemsAndTheEditorStaysOpen) {
    struct Case {
        int minCount;
        rt::TStringList items;
        std::string message;
    };
    const Case cases[] = {
        {1, {}, "You have to have at least 1 item before you can continue !"},
        {2, {"a"}, "You have to have at least 2 item(s) before you can continue !"},
        {3, {"a", "b"}, "You have to have at least 3 item(s) before you can continue !"},
    };
    for (const Case& c : cases) {
        reported.clear();
        rt::TStringList items = c.items;
        EXPECT_TRUE(Edit(
            items,
            [&](TfrmEIEditItems& editor) {
                PressOK(editor);
                EXPECT_EQ(editor.ModalResult(), rt::mrNone);
                Type("z");
                Pick(editor, "&Add...");
                PressOK(editor);
            },
            c.minCount));
        EXPECT_EQ(Messages(), (Strings{c.message}));
        EXPECT_FALSE(reported.empty() || reported[0].silent);
        EXPECT_EQ(items.Count(), c.minCount);
    }
}

TEST_F(ItemListEditorTest, RequireNamesRefusesNonNamesAndKeepsTheSpacesOfAGoodOne) {
    rt::TStringList items{"first"};
    EXPECT_TRUE(Edit(
        items,
        [&](TfrmEIEditItems& editor) {
            for (const char* bad : {"two words", "9lives", "   "}) {
                Type(bad);
                Pick(editor, "&Add...");
            }
            Select(editor, {0}, 0);
            Type("bad-name");
            Pick(editor, "&Rename...");
            Type("  good_name1  ");
            Pick(editor, "&Add...");
            PressOK(editor);
        },
        0, true));
    EXPECT_EQ(items.ToVector(), (Strings{"first", "  good_name1  "}));
    EXPECT_EQ(Messages(), Strings(4, "Please supply a valid name and try again !"));
}

TEST_F(ItemListEditorTest, SortingIsOnceAndTheSelectionTravelsWithItsItems) {
    rt::TStringList items{"pear", "Apple", "banana", "cherry"};
    EXPECT_TRUE(Edit(items, [&](TfrmEIEditItems& editor) {
        Select(editor, {0, 1}, 0);  // pear, Apple
        PickFromTitle(editor, "&Sort items");
        EXPECT_EQ(Texts(*editor.lstItems), (Strings{"Apple", "banana", "cherry", "pear"}));
        EXPECT_EQ(SelectedIndexes(*editor.lstItems), (std::vector<int>{0, 3}));
        EXPECT_EQ(editor.lstItems->ItemIndex(), 3);
        Type("aardvark");
        Pick(editor, "&Add...");
        Press(editor, rt::vk::Delete);
        PressOK(editor);
    }));
    EXPECT_EQ(items.ToVector(), (Strings{"banana", "cherry", "aardvark"}));
}

TEST_F(ItemListEditorTest, DraggingOverAnItemMovesTheSelectionThere) {
    rt::TStringList items{"a", "b", "c", "d", "e"};
    EXPECT_TRUE(Edit(items, [&](TfrmEIEditItems& editor) {
        rt::TListBox& list = *editor.lstItems;
        ASSERT_GT(list.Height(), RowY(6));
        Select(editor, {1, 2}, 1);
        rt::TObject stranger;
        EXPECT_TRUE(list.DragOver(&stranger, 10, RowY(6)));  // below the last item
        EXPECT_EQ(Texts(list), (Strings{"a", "b", "c", "d", "e"}));
        EXPECT_TRUE(list.DragOver(&list, 10, RowY(4)));
        EXPECT_EQ(Texts(list), (Strings{"a", "d", "e", "b", "c"}));
        // Staying over the moved items moves nothing more.
        EXPECT_TRUE(list.DragOver(&list, 10, RowY(3)));
        EXPECT_EQ(Texts(list), (Strings{"a", "d", "e", "b", "c"}));
        EXPECT_TRUE(list.DragOver(&list, 10, RowY(0)));
        list.DragDrop(&list, 10, RowY(0));
        EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{0, 1}));
        PressOK(editor);
    }));
    EXPECT_EQ(items.ToVector(), (Strings{"b", "c", "a", "d", "e"}));
}

TEST_F(ItemListEditorTest, DeleteClearAndSelectionCommands) {
    rt::TStringList items{"a", "b", "c", "d"};
    EXPECT_TRUE(Edit(items, [&](TfrmEIEditItems& editor) {
        rt::TListBox& list = *editor.lstItems;
        Pick(editor, "&Delete...");
        EXPECT_EQ(Texts(list), (Strings{"a", "b", "c", "d"}));
        Select(editor, {1, 2}, 2);
        editor.btnOK->SetFocus();  // the Delete key works anywhere in the form
        Press(editor, rt::vk::Delete);
        EXPECT_EQ(Texts(list), (Strings{"a", "d"}));
        EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{0}));
        Pick(editor, "&Invert Selection");
        EXPECT_EQ(SelectedIndexes(list), (std::vector<int>{1}));
        Pick(editor, "Select &None");
        EXPECT_EQ(list.SelCount(), 0);
        Pick(editor, "&Select All");
        EXPECT_EQ(list.SelCount(), 2);
        Pick(editor, "&Clear list");
        EXPECT_EQ(list.Items().Count(), 0);
        PressOK(editor);
    }));
    EXPECT_EQ(items.Count(), 0);
    EXPECT_EQ(Messages(), (Strings{"Please select an item and try again !"}));
}

TEST_F(ItemListEditorTest, ACancelledInputBoxEndsOnlyThatAction) {
    rt::TStringList items{"keep"};
    EXPECT_FALSE(Edit(items, [&](TfrmEIEditItems& editor) {
        Type(std::nullopt);
        Pick(editor, "&Add...");
        Select(editor, {0}, 0);
        Type(std::nullopt);
        Pick(editor, "&Rename...");
        PressOK(editor);
    }));
    EXPECT_EQ(items.ToVector(), (Strings{"keep"}));
    ASSERT_EQ(reported.size(), 2u);
    for (const Reported& r : reported) {
        EXPECT_TRUE(r.silent);
        EXPECT_EQ(r.message, "String not supplied... Cancelling");
    }
}

TEST(ListBoxItemAtPos, FollowsTheItemHeightAndTheTopIndex) {
    rt::TListBox list(nullptr);
    EXPECT_EQ(list.ItemHeight(), 13);
    list.SetItemHeight(0);
    EXPECT_EQ(list.ItemHeight(), 13);
    list.SetItemHeight(10);
    list.SetBounds(0, 0, 100, 50);  // five rows
    for (int i = 0; i < 8; ++i) list.AddItem(std::to_string(i));
    EXPECT_EQ(list.ItemAtPos({5, 0}, true), 0);
    EXPECT_EQ(list.ItemAtPos({5, 49}, true), 4);
    EXPECT_EQ(list.ItemAtPos({5, 50}, false), -1);  // outside the control
    EXPECT_EQ(list.ItemAtPos({-1, 5}, false), -1);
    list.SetTopIndex(100);
    EXPECT_EQ(list.TopIndex(), 3);  // the last page is full
    EXPECT_EQ(list.ItemAtPos({5, 25}, true), 5);
    list.Items().Delete(7);
    list.Items().Delete(6);
    EXPECT_EQ(list.TopIndex(), 1);
    list.SetTopIndex(0);
    list.Items().Delete(5);
    list.Items().Delete(4);
    EXPECT_EQ(list.ItemAtPos({5, 45}, true), -1);  // below the last item
    EXPECT_EQ(list.ItemAtPos({5, 45}, false), 4);
}

}  // namespace
