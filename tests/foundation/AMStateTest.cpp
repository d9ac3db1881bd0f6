#include "foundation/AMState.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "HostPlatformTest.h"
#include "foundation/EIIniFilesUnit1.h"
#include "runtime/StdCtrls.h"

using namespace foundation;

namespace {

// The toolbar form's stored components, as far as the store sees them.
class TBandForm : public rt::TComponent {
    RT_CLASS_SAME_PROPS(TBandForm, rt::TComponent)
public:
    TBandForm() : rt::TComponent(nullptr) {
        auto holder = [this](const char* name) {
            auto* h = new TAMStringsHolder(this);
            h->SetName(name);
            return h;
        };
        edtSearch = holder("edtSearch");
        AMToolbarOptions = holder("AMToolbarOptions");
        SearchPanel = new rt::TPanel(this);
        SearchPanel->SetName("SearchPanel");
        SearchPanel->SetWidth(150);
        MRUItemCount = Value("MRUItemCount", "10");
        AutoSearchOnMRUSelect = Value("AutoSearchOnMRUSelect", "True");
        State = new TAMState(this);
        State->SetName("State");
        State->StoredProps().SetStrings({"edtSearch.Items", "SearchPanel.Width", "AMToolbarOptions.Items",
                                         "MRUItemCount.Value", "AutoSearchOnMRUSelect.Value", " Missing . Value",
                                         "NoDot", ".Value", "edtSearch."});
        State->OnRestorePlacement = [this](rt::TObject*) { ++restores; };
    }

    TAMSaveValue* Value(const char* name, const char* initial) {
        auto* v = new TAMSaveValue(this);
        v->SetName(name);
        v->SetValue(initial);
        return v;
    }

    TAMStringsHolder* edtSearch;
    TAMStringsHolder* AMToolbarOptions;
    rt::TPanel* SearchPanel;
    TAMSaveValue* MRUItemCount;
    TAMSaveValue* AutoSearchOnMRUSelect;
    TAMState* State;
    int restores = 0;
};

class AMStateTest : public HostPlatformTest {
protected:
    AMStateTest() { SetFormStorageIniFileProvider([this] { return path; }); }
    ~AMStateTest() override { SetFormStorageIniFileProvider(nullptr); }
    std::string Read(const std::string& section, const std::string& key) {
        return TEIIniFile(path).ReadString(section, key, "<none>");
    }
    std::string path = InModule("user_1.ini");
};

}  // namespace

TEST_F(AMStateTest, StoredFormatSectionBySection) {
    TBandForm form;
    EXPECT_FALSE(form.State->Active());
    EXPECT_EQ(form.State->Options(), 0u);
    EXPECT_EQ(form.State->StorageSection(), "TBandForm");
    form.edtSearch->Items().SetStrings({"first", " spaced ", "a=b"});
    form.MRUItemCount->SetValue("  12\t");
    form.State->Save();

    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "1");
    EXPECT_EQ(Read("TBandForm", "FormVersion"), "0");
    EXPECT_EQ(Read("TBandForm", "SearchPanel_Width"), "150");
    EXPECT_EQ(Read("TBandForm", "MRUItemCount_Value"), "12");  // trimmed
    EXPECT_EQ(Read("TBandForm", "AutoSearchOnMRUSelect_Value"), "True");
    EXPECT_EQ(Read("TBandForm.edtSearch_Items", "Count"), "3");
    EXPECT_EQ(Read("TBandForm.edtSearch_Items", "Item0"), "first");
    EXPECT_EQ(Read("TBandForm.edtSearch_Items", "Item2"), "a=b");
    // An empty list leaves no section at all.
    rt::TStringList sections;
    TEIIniFile(path).ReadSections(sections);
    EXPECT_EQ(sections.IndexOf("TBandForm.AMToolbarOptions_Items"), -1);
    EXPECT_EQ(form.State->LoadedSaveCount, 1);

    // Items read back the same way a key-by-key read gives them.
    TBandForm other;
    other.State->Reload();
    EXPECT_EQ(other.edtSearch->Items().ToVector(), (std::vector<std::string>{"first", "spaced", "a=b"}));
    EXPECT_EQ(other.MRUItemCount->Value(), "12");
    EXPECT_EQ(other.restores, 1);
}

TEST_F(AMStateTest, ListsThatEmptyEraseTheirSection) {
    TBandForm form;
    form.AMToolbarOptions->Items().SetStrings({"x", "y"});
    form.State->Save();
    form.AMToolbarOptions->Items().Clear();
    form.State->Save();
    rt::TStringList sections;
    TEIIniFile(path).ReadSections(sections);
    EXPECT_EQ(sections.IndexOf("TBandForm.AMToolbarOptions_Items"), -1);
    TBandForm other;
    other.AMToolbarOptions->Items().SetStrings({"stale"});
    other.State->Reload();
    EXPECT_EQ(other.AMToolbarOptions->Items().Count(), 0);
}

TEST_F(AMStateTest, TrimmedMissingAndBadValues) {
    WriteBytes(path,
               "[TBandForm]\r\nMRUItemCount_Value= 12 \r\nSearchPanel_Width=wide\r\n"
               "[TBandForm.edtSearch_Items]\r\nCount=three\r\nItem0=a\r\n"
               "[TBandForm.AMToolbarOptions_Items]\r\nCount= 3\r\nItem0=\"quoted\"\r\nItem2=c\r\n");
    TBandForm form;
    form.edtSearch->Items().SetStrings({"kept?"});
    form.State->Reload();
    EXPECT_EQ(form.MRUItemCount->Value(), "12");
    EXPECT_EQ(form.AutoSearchOnMRUSelect->Value(), "True");  // missing key: unchanged
    EXPECT_EQ(form.SearchPanel->Width(), 150);             // not a number: unchanged
    EXPECT_EQ(form.edtSearch->Items().Count(), 0);          // a bad count counts as 0
    // Later properties are still restored; missing items read as empty.
    EXPECT_EQ(form.AMToolbarOptions->Items().ToVector(), (std::vector<std::string>{"quoted", "", "c"}));
    EXPECT_EQ(form.restores, 1);

    // A negative count leaves the list alone.
    WriteBytes(path, "[TBandForm.edtSearch_Items]\r\nCount=-1\r\n");
    form.edtSearch->Items().SetStrings({"kept"});
    form.State->Reload();
    EXPECT_EQ(form.edtSearch->Items().ToVector(), (std::vector<std::string>{"kept"}));
}

TEST_F(AMStateTest, QuotedValuesKeepTheirQuotesOverEverySaveAndReload) {
    // A read removes one pair of surrounding quotes: a quoted search must not
    // lose a pair of its own on every save.
    TBandForm form;
    form.edtSearch->Items().SetStrings({"\"new york\"", "'it'", "\"\"twice\"\"", " \"padded\" ", "a \"b\"", "\""});
    form.MRUItemCount->SetValue("\"12\"");
    form.State->Save();
    EXPECT_EQ(Read("TBandForm.edtSearch_Items", "Item0"), "\"new york\"");
    EXPECT_EQ(Read("TBandForm", "MRUItemCount_Value"), "\"12\"");
    const std::vector<std::string> expected{"\"new york\"", "'it'", "\"\"twice\"\"", "\"padded\"", "a \"b\"", "\""};
    for (int cycle = 0; cycle < 3; ++cycle) {
        TBandForm other;
        other.State->Reload();
        EXPECT_EQ(other.edtSearch->Items().ToVector(), expected) << cycle;
        EXPECT_EQ(other.MRUItemCount->Value(), "\"12\"") << cycle;
        other.State->Save();
    }
}

TEST_F(AMStateTest, SaveCounterAcrossTwoFormsSharingOneFile) {
    WriteBytes(path, "[TBandForm]\r\nSaveCount_Value=7x\r\n");
    TBandForm a, b;
    EXPECT_EQ(a.State->LoadedSaveCount, 7);
    a.MRUItemCount->SetValue("5");
    a.State->Save();
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "8");
    EXPECT_FALSE(a.State->ReloadIfStale());
    EXPECT_EQ(a.restores, 0);
    EXPECT_TRUE(b.State->ReloadIfStale());
    EXPECT_EQ(b.MRUItemCount->Value(), "5");
    EXPECT_FALSE(b.State->ReloadIfStale());
    EXPECT_EQ(b.restores, 1);

    WriteBytes(path, "[TBandForm]\r\nSaveCount_Value=letters\r\n");
    EXPECT_EQ(a.State->ReadSaveCount(), 0);
    SetFormStorageIniFileProvider(nullptr);
    EXPECT_EQ(a.State->ReadSaveCount(), 0);
    a.State->Save();  // no file known: nothing written, nothing raised
}

TEST_F(AMStateTest, TheCounterKeepsMovingAtTheTopOfItsRange) {
    WriteBytes(path, "[TBandForm]\r\nSaveCount_Value=2147483646\r\n");
    TBandForm a, b;
    a.State->Save();
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "2147483647");
    EXPECT_TRUE(b.State->ReloadIfStale());
    a.MRUItemCount->SetValue("7");
    a.State->Save();  // past the top: starts again at 1
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "1");
    EXPECT_EQ(a.State->LoadedSaveCount, 1);
    EXPECT_FALSE(a.State->ReloadIfStale());
    // The other window still notices the save.
    EXPECT_TRUE(b.State->ReloadIfStale());
    EXPECT_EQ(b.MRUItemCount->Value(), "7");
    EXPECT_FALSE(b.State->ReloadIfStale());
}

TEST_F(AMStateTest, ACounterPastTheIntegerRangeCountsAsZeroAndSavesGoOn) {
    WriteBytes(path, "[TBandForm]\r\nSaveCount_Value=99999999999\r\n");
    TBandForm a;
    EXPECT_EQ(a.State->LoadedSaveCount, 0);
    a.MRUItemCount->SetValue("4");
    a.State->Save();
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "1");
    EXPECT_EQ(Read("TBandForm", "MRUItemCount_Value"), "4");
    EXPECT_EQ(a.State->LoadedSaveCount, 1);

    // Another writer moving the counter starts it again the same way.
    WriteBytes(path, "[TBandForm]\r\nSaveCount_Value=-99999999999x\r\n");
    TEIIniFile ini(path);
    MoveSaveCount(ini, "TBandForm");
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "1");
}

TEST_F(AMStateTest, ListCountsAreBelievedOnlyAsFarAsTheSectionHoldsItems) {
    WriteBytes(path,
               "[TBandForm.edtSearch_Items]\r\nCount=20000000\r\nItem0=a\r\nItem1=\r\nItem2=c\r\n"
               "[TBandForm.AMToolbarOptions_Items]\r\nCount=2147483647\r\nItem0=x\r\nItem9=y\r\nItem99999999999=z\r\n"
               "[TBandForm]\r\nMRUItemCount_Value=4\r\n");
    TBandForm form;
    form.State->Reload();
    EXPECT_EQ(form.edtSearch->Items().ToVector(), (std::vector<std::string>{"a", "", "c"}));
    // Missing items inside the range still read as empty.
    EXPECT_EQ(form.AMToolbarOptions->Items().Count(), 10);
    EXPECT_EQ(form.AMToolbarOptions->Items()[9], "y");
    EXPECT_EQ(form.MRUItemCount->Value(), "4");  // the rest of the restore went on

    // One item far out does not fill millions of empty ones before it.
    WriteBytes(path, "[TBandForm.edtSearch_Items]\r\nCount=20000000\r\nItem9999999=z\r\n");
    form.State->Reload();
    EXPECT_LE(form.edtSearch->Items().Count(), 1002);

    // A count below the items present still wins.
    WriteBytes(path, "[TBandForm.edtSearch_Items]\r\nCount=1\r\nItem0=a\r\nItem1=b\r\n");
    form.State->Reload();
    EXPECT_EQ(form.edtSearch->Items().ToVector(), (std::vector<std::string>{"a"}));
}

TEST_F(AMStateTest, AnEmptiedListErasesEveryCopyOfItsSection) {
    WriteBytes(path,
               "[TBandForm.AMToolbarOptions_Items]\r\nCount=1\r\nItem0=first\r\n"
               "[TBandForm.AMToolbarOptions_Items]\r\nCount=1\r\nItem0=stale\r\n");
    TBandForm form;
    form.State->Save();
    TBandForm other;
    other.State->Reload();
    EXPECT_EQ(other.AMToolbarOptions->Items().Count(), 0) << FileBytes(path);
}

TEST_F(AMStateTest, ConcurrentSavesEachMoveTheCounter) {
    constexpr int threads = 4, saves = 25;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([] {
            TBandForm form;
            for (int i = 0; i < saves; ++i) form.State->Save();
        });
    for (auto& w : workers) w.join();
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), std::to_string(threads * saves));
}

TEST_F(AMStateTest, NothingReloadsWhileShuttingDown) {
    auto form = std::make_unique<TBandForm>();
    TBandForm other;
    other.State->Save();
    EXPECT_FALSE(form->State->IsShuttingDown());
    form->BeforeDestruction();
    EXPECT_TRUE(form->State->IsShuttingDown());
    EXPECT_TRUE(form->State->ReloadIfStale());  // stale, but no reload
    EXPECT_EQ(form->restores, 0);
}

TEST(AMSaveValue, TypedViews) {
    TAMSaveValue v(nullptr);
    int changes = 0;
    v.OnChange = [&](rt::TObject*) { ++changes; };
    v.SetValue("1O");
    EXPECT_EQ(v.AsInteger(), 0);
    v.SetValue("-42");
    EXPECT_EQ(v.AsInteger(), -42);
    v.SetValue("99999999999");
    EXPECT_EQ(v.AsInteger(), 0);
    v.SetValue("yes");
    EXPECT_TRUE(v.AsBoolean());
    v.SetValue("y");
    EXPECT_FALSE(v.AsBoolean());
    v.SetAsBoolean(true);
    EXPECT_EQ(v.Value(), "True");
    v.SetAsInteger(7);
    v.SetValue("7");  // unchanged text still notifies
    EXPECT_EQ(changes, 8);
    rt::SetPropText(v, "AsInteger", "3");
    EXPECT_EQ(rt::GetPropText(v, "Value"), "3");
}

TEST(AMStringsHolder, AssigningCopies) {
    TAMStringsHolder h(nullptr);
    rt::TStringList source{"a", "b"};
    rt::SetObjectProp(h, "Items", &source);
    source.Add("c");
    EXPECT_EQ(h.Items().Count(), 2);
}
