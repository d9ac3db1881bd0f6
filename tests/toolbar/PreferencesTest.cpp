// The preferences dialog worked as a person does, over a small stand-in of
// the toolbar form holding the saved values the binding map names.
#include "toolbar/OptionsForm.h"

#include <gtest/gtest.h>

#include <functional>

#include "HostPlatformTest.h"
#include "foundation/AMState.h"
#include "foundation/EIFunctionsBaseCtrls.h"
#include "foundation/SVCommonIE.h"
#include "toolbar/plgSolvane.h"

using foundation::TAMSaveValue;
using foundation::TAMStringsHolder;
using toolbar::TfmOptions;
using Strings = std::vector<std::string>;

namespace {

constexpr const char* kAskCaption = "Zephyra - Popup Blocker";

class PreferencesTest : public HostPlatformTest {
protected:
    PreferencesTest() : HostPlatformTest(RegistryUse::StandIn) {
        previous_ = rt::SetUiBackend(backend_);
        rt::Application().OnException = [this](const std::exception& e) { reported.push_back(e.what()); };
        toolbarOptions->SetName("AMToolbarOptions");
        toolbarOptions->Items().SetStrings({"Search", "News", "Mail", "Weather", "Tools"});
        for (auto [value, name, text] : {std::tuple{&mruCount, "MRUItemCount", "5"},
                                         {&autoSearch, "AutoSearchOnMRUSelect", "True"},
                                         {&updateFrequency, "UpdateFrequency", "30"},
                                         {&blocking, "BlockingPopups", "False"},
                                         {&playSound, "PlaySoundWhenBlockingPopup", "True"},
                                         {&blockedCursor, "ShowBlockedCursorWhenBlockingPopup", "False"}}) {
            *value = new TAMSaveValue(&form);
            (*value)->SetName(name);
            (*value)->SetValue(text);
        }
        foundation::SetScriptErrorsShown(true);
    }
    ~PreferencesTest() override {
        rt::Application().OnException = nullptr;
        rt::SetUiBackend(previous_);
    }

    bool Run(std::function<void(TfmOptions&)> person) {
        backend_->SetModalScript([person](rt::TCustomForm& f) { person(dynamic_cast<TfmOptions&>(f)); });
        return toolbar::ExecutePreferences(
            allButtons, &descriptions, &form, disableScriptErrors, &bindings,
            [this](rt::TObject*) { appliedLists.push_back(toolbarOptions->Items().ToVector()); }, &browser,
            [this] { ++managed; }, [this] { ++cleared; });
    }

    // A click dispatched by the message loop: its error goes to the
    // application's handler and the dialog stays open.
    static void Do(const std::function<void()>& action) {
        try {
            action();
        } catch (const std::exception& e) {
            rt::Application().HandleException(e);
        }
    }
    static void ClickItem(rt::TListBox& list, int index) {
        list.SetItemIndex(index);
        Do([&] { list.Click(); });
    }
    static void Select(rt::TListBox& list, std::initializer_list<int> indexes) {
        for (int i : indexes) list.SetSelected(i, true);
    }
    static int RowY(int row) { return row * 13 + 5; }
    int Questions() {
        int n = 0;
        for (const auto& shown : host_.dialogs->ShownDialogs()) n += shown.caption == kAskCaption;
        return n;
    }

    rt::TComponent form{nullptr};
    TAMStringsHolder* toolbarOptions = new TAMStringsHolder(&form);
    TAMSaveValue *mruCount, *autoSearch, *updateFrequency, *blocking, *playSound, *blockedCursor;
    rt::TStringList bindings{"AMToolbarOptions.Items,lstSelected.Items",
                             "MRUItemCount.Value,cboMRUCount.selectedItem",
                             "AutoSearchOnMRUSelect.AsBoolean,chkAutoSearch.CheckedNoEvent",
                             "UpdateFrequency.Value,cboUpdateFrequency.selectedValue",
                             "BlockingPopups.AsBoolean,chkBlockingPopups.CheckedNoEvent",
                             "PlaySoundWhenBlockingPopup.AsBoolean,chkPlaySoundWhenBlockingPopup.CheckedNoEvent",
                             "ShowBlockedCursorWhenBlockingPopup.AsBoolean,"
                             "chkShowBlockedCursorWhenBlockingPopup.CheckedNoEvent"};
    rt::TStringList allButtons{"Search", "News", "Mail", "Weather", "Tools", "Stocks"};
    rt::TStringList descriptions{"Search the web", "Today's news"};
    toolbar::TSolvane browser{nullptr};
    bool disableScriptErrors = true;  // the dialog must set it
    std::vector<Strings> appliedLists;
    std::vector<std::string> reported;
    int managed = 0, cleared = 0;

private:
    std::shared_ptr<rt::THeadlessBackend> backend_ = std::make_shared<rt::THeadlessBackend>();
    std::shared_ptr<rt::IUiBackend> previous_;
};

TEST_F(PreferencesTest, EveryBindingCopiesInAndOkCopiesEveryOneOut) {
    EXPECT_TRUE(Run([&](TfmOptions& d) {
        EXPECT_EQ(d.pgcOptions->ActivePage(), d.tsButtons);
        EXPECT_EQ(d.cboMRUCount->Items().Count(), 21);
        EXPECT_EQ(d.cboMRUCount->Items()[20], "20");
        EXPECT_EQ(d.lstSelected->Items().ToVector(), (Strings{"Search", "News", "Mail", "Weather", "Tools"}));
        EXPECT_EQ(d.cboMRUCount->ItemIndex(), 5);
        EXPECT_TRUE(d.chkAutoSearch->Checked());
        EXPECT_EQ(d.cboUpdateFrequency->ItemIndex(), 2);
        EXPECT_FALSE(d.chkBlockingPopups->Checked());
        EXPECT_TRUE(d.chkPlaySoundWhenBlockingPopup->Checked());
        EXPECT_FALSE(d.chkShowBlockedCursorWhenBlockingPopup->Checked());

        d.lstSelected->Items().SetStrings({"Tools", "Search"});
        d.cboMRUCount->SelectFromList(12);
        d.cboUpdateFrequency->SelectFromList(3);
        Do([&] { d.lblAutoSearch->Click(); });
        Do([&] { d.lblPlaySound->Click(); });
        Do([&] { d.lblShowBlockedCursor->Click(); });
        foundation::SetScriptErrorsShown(false);  // so that checking "Enabled" asks nothing
        d.chkBlockingPopups->Toggle();
        Do([&] { d.btnOK->Click(); });
    }));
    EXPECT_EQ(toolbarOptions->Items().ToVector(), (Strings{"Tools", "Search"}));
    EXPECT_EQ(mruCount->Value(), "12");
    EXPECT_FALSE(autoSearch->AsBoolean());
    EXPECT_EQ(updateFrequency->Value(), "10000");
    EXPECT_TRUE(blocking->AsBoolean());
    EXPECT_FALSE(playSound->AsBoolean());
    EXPECT_TRUE(blockedCursor->AsBoolean());
    EXPECT_EQ(appliedLists.size(), 1u);
    EXPECT_FALSE(disableScriptErrors);
    EXPECT_EQ(Questions(), 0);
    EXPECT_TRUE(reported.empty());
}

TEST_F(PreferencesTest, MisspeltOrMalformedBindingsAreSkippedAndTheOthersWork) {
    bindings.Insert(0, "AMToolbarOptions.Items,lstSelectd.Items");
    bindings.Insert(0, "MRUItemCount.Value,cboMRUCount");
    bindings.Insert(0, "NoSuchValue.Value,cboMRUCount.selectedItem");
    bindings.Delete(bindings.IndexOf("AMToolbarOptions.Items,lstSelected.Items"));
    EXPECT_TRUE(Run([&](TfmOptions& d) {
        EXPECT_TRUE(d.lstSelected->Items().ToVector().empty());
        EXPECT_EQ(d.cboMRUCount->ItemIndex(), 5);
        d.cboMRUCount->SelectFromList(7);
        Do([&] { d.btnOK->Click(); });
    }));
    EXPECT_EQ(mruCount->Value(), "7");
    EXPECT_EQ(toolbarOptions->Items().Count(), 5);
    EXPECT_TRUE(reported.empty());
}

TEST_F(PreferencesTest, AddingSelectsTheButtonAndAppliesOnlyWhenItWasMissing) {
    EXPECT_FALSE(Run([&](TfmOptions& d) {
        Do([&] { d.btnAdd->Click(); });  // nothing chosen: refused, the dialog stays
        EXPECT_EQ(reported, (Strings{"Please select an item and try again !"}));

        Select(*d.lstSelected, {0, 1});
        ClickItem(*d.lstAvailable, 3);  // "Weather", already there
        Do([&] { d.btnAdd->Click(); });
        EXPECT_TRUE(appliedLists.empty());
        EXPECT_EQ(d.lstSelected->SelCount(), 1);
        EXPECT_TRUE(d.lstSelected->Selected(3));

        ClickItem(*d.lstAvailable, 5);
        Do([&] { d.lstAvailable->DblClick(); });
        EXPECT_EQ(d.lstSelected->SelCount(), 1);
        EXPECT_TRUE(d.lstSelected->Selected(5));
        Do([&] { d.btnCancel->Click(); });
    }));
    ASSERT_EQ(appliedLists.size(), 1u);
    EXPECT_EQ(appliedLists[0].back(), "Stocks");
    // Cancel undoes nothing itself: restoring the form is the caller's.
    EXPECT_EQ(toolbarOptions->Items().ToVector(), (Strings{"Search", "News", "Mail", "Weather", "Tools", "Stocks"}));
}

TEST_F(PreferencesTest, RemovingAnyNumberOfButtonsAppliesOnce) {
    Run([&](TfmOptions& d) {
        Do([&] { d.btnRemove->Click(); });
        EXPECT_EQ(reported, (Strings{"Please select an item and try again !"}));
        Select(*d.lstSelected, {0, 2, 4});
        Do([&] { d.btnRemove->Click(); });
        EXPECT_EQ(appliedLists.size(), 1u);
        EXPECT_TRUE(d.lstSelected->Selected(0));  // the one before the first removed
        foundation::SelectNone(*d.lstSelected);
        Select(*d.lstSelected, {1});
        Do([&] { d.lstSelected->DblClick(); });
    });
    ASSERT_EQ(appliedLists.size(), 2u);
    EXPECT_EQ(appliedLists[0], (Strings{"News", "Weather"}));
    EXPECT_EQ(appliedLists[1], (Strings{"News"}));
}

TEST_F(PreferencesTest, ADragAppliesOnceAtItsEndAndOnlyWhenItMovedItems) {
    Run([&](TfmOptions& d) {
        rt::TListBox& list = *d.lstSelected;
        Select(list, {3});
        EXPECT_TRUE(list.DragOver(&list, 10, RowY(7)));  // below the last item
        list.EndDrag(&list, 10, RowY(7));
        EXPECT_TRUE(appliedLists.empty());

        EXPECT_TRUE(list.DragOver(&list, 10, RowY(2)));
        EXPECT_TRUE(list.DragOver(&list, 10, RowY(0)));
        EXPECT_TRUE(appliedLists.empty());  // the items follow the pointer; the toolbar waits
        list.EndDrag(&list, 10, RowY(0));
        EXPECT_FALSE(d.DragMoved);
        list.EndDrag(nullptr, 0, 0);  // a later drag that moved nothing

        foundation::SelectNone(list);
        EXPECT_TRUE(list.DragOver(&list, 10, RowY(1)));  // nothing selected: nothing moves
        list.EndDrag(&list, 10, RowY(1));
    });
    ASSERT_EQ(appliedLists.size(), 1u);
    EXPECT_EQ(appliedLists[0], (Strings{"Weather", "Search", "News", "Mail", "Tools"}));
}

TEST_F(PreferencesTest, CheckingEnabledAsksOnceAndYesThenOkSwitchesScriptErrorsOff) {
    host_.dialogs->PushAnswer(platform::mb::IdYes);
    EXPECT_TRUE(Run([&](TfmOptions& d) {
        d.chkBlockingPopups->Toggle();
        EXPECT_EQ(Questions(), 1);
        d.chkBlockingPopups->Toggle();  // unchecking asks nothing and keeps the answer
        EXPECT_EQ(Questions(), 1);
        EXPECT_TRUE(d.DisableScriptErrors);
        EXPECT_TRUE(foundation::AreScriptErrorsShown());
        Do([&] { d.btnOK->Click(); });
    }));
    EXPECT_FALSE(foundation::AreScriptErrorsShown());
    EXPECT_TRUE(disableScriptErrors);
}

TEST_F(PreferencesTest, YesThenCancelOrAnswerNoLeavesTheBrowserAlone) {
    host_.dialogs->PushAnswer(platform::mb::IdYes);
    EXPECT_FALSE(Run([&](TfmOptions& d) {
        d.chkBlockingPopups->Toggle();
        EXPECT_TRUE(d.DisableScriptErrors);
        Do([&] { d.btnCancel->Click(); });
    }));
    EXPECT_TRUE(foundation::AreScriptErrorsShown());
    EXPECT_FALSE(disableScriptErrors);

    host_.dialogs->PushAnswer(platform::mb::IdYes);
    host_.dialogs->PushAnswer(platform::mb::IdNo);
    EXPECT_TRUE(Run([&](TfmOptions& d) {
        d.chkBlockingPopups->Toggle();
        d.chkBlockingPopups->Toggle();
        d.chkBlockingPopups->Toggle();  // asked again: No overrides the earlier Yes
        Do([&] { d.btnOK->Click(); });
    }));
    EXPECT_EQ(Questions(), 3);
    EXPECT_TRUE(foundation::AreScriptErrorsShown());
    EXPECT_FALSE(disableScriptErrors);
}

TEST_F(PreferencesTest, NoQuestionWhenBlockingIsAlreadyOnOrScriptErrorsAreHidden) {
    blocking->SetAsBoolean(true);
    Run([&](TfmOptions& d) {
        EXPECT_TRUE(d.chkBlockingPopups->Checked());
        Do([&] { d.btnOK->Click(); });
    });
    blocking->SetAsBoolean(false);
    foundation::SetScriptErrorsShown(false);
    Run([&](TfmOptions& d) {
        d.chkBlockingPopups->Toggle();
        EXPECT_FALSE(d.DisableScriptErrors);
    });
    EXPECT_EQ(Questions(), 0);
}

TEST_F(PreferencesTest, EscapeClosesWithCancelFromAnyControl) {
    EXPECT_FALSE(Run([&](TfmOptions& d) {
        d.lstSelected->SetFocus();
        Do([&] { d.KeyDown(rt::vk::Escape, {}); });
    }));
    EXPECT_TRUE(appliedLists.empty());
}

TEST_F(PreferencesTest, LabelsDescriptionsAndSearchButtons) {
    Run([&](TfmOptions& d) {
        ClickItem(*d.lstAvailable, 1);
        EXPECT_EQ(d.lblHeader->Caption(), "Today's news");
        ClickItem(*d.lstAvailable, 4);  // no description of its own
        EXPECT_EQ(d.lblHeader->Caption(), "");

        // The count's own texts leave the auto-search option alone.
        Do([&] { d.lblMRUText->Click(); });
        Do([&] { d.lblMRUEntries->Click(); });
        EXPECT_TRUE(d.chkAutoSearch->Checked());
        EXPECT_EQ(d.ActiveControl(), d.cboMRUCount);
        Do([&] { d.lblAutoSearch->Click(); });
        EXPECT_FALSE(d.chkAutoSearch->Checked());

        Do([&] { d.btnManageSearchHistory->Click(); });
        Do([&] { d.btnClearSearchHistory->Click(); });
        Do([&] { d.btnClearSearchHistory->Click(); });
        EXPECT_EQ(d.ModalResult(), rt::mrNone);
    });
    EXPECT_EQ(managed, 1);
    EXPECT_EQ(cleared, 2);
}

TEST(PreferencesHintTest, TheApplicationsHintHandlerIsIgnoredWhileADialogLivesAndRestoredAfter) {
    int hints = 0;
    rt::Application().OnHint = [&](rt::TObject*) { ++hints; };
    {
        auto first = std::make_unique<TfmOptions>(nullptr);
        rt::Application().SetHint("one");
        auto second = std::make_unique<toolbar::TfmBase>(nullptr);
        rt::Application().SetHint("two");
        first.reset();  // freed out of order: the handler must not come back yet, nor a freed one
        rt::Application().SetHint("three");
        EXPECT_EQ(hints, 0);
    }
    rt::Application().SetHint("four");
    EXPECT_EQ(hints, 1);
    rt::Application().OnHint = nullptr;
    rt::Application().SetHint("");
}

}  // namespace
