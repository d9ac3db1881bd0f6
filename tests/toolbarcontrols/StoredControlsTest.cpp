// The toolbar form's stored properties on the real control classes.
#include <gtest/gtest.h>

#include "HostPlatformTest.h"
#include "foundation/AMState.h"
#include "foundation/EIIniFilesUnit1.h"
#include "runtime/Forms.h"
#include "toolbar/controls/AMFlatButton.h"
#include "toolbar/controls/AMFlatComboBox.h"
#include "toolbar/controls/amsizepanel.h"

using namespace toolbar;

namespace {
class TBandForm : public rt::TForm {
    RT_CLASS_SAME_PROPS(TBandForm, rt::TForm)
public:
    TBandForm() : rt::TForm(nullptr) {
        SearchPanel = new TAMSizePanel(this);
        SearchPanel->SetName("SearchPanel");
        SearchPanel->SetWidth(150);
        SearchPanel->SetMinWidth(100);
        edtSearch = new TAMFlatComboBox(this);
        edtSearch->SetName("edtSearch");
        btnGoogle = new TAMFlatButton(this);
        btnGoogle->SetName("btnGoogle");
        State = new foundation::TAMState(this);
        State->StoredProps().SetStrings({"edtSearch.Items", "btnGoogle.MRUItems", "SearchPanel.Width"});
    }
    TAMSizePanel* SearchPanel;
    TAMFlatComboBox* edtSearch;
    TAMFlatButton* btnGoogle;
    foundation::TAMState* State;
};

class StoredControlsTest : public HostPlatformTest {
protected:
    StoredControlsTest() { foundation::SetFormStorageIniFileProvider([this] { return path; }); }
    ~StoredControlsTest() override { foundation::SetFormStorageIniFileProvider(nullptr); }
    std::string path = InModule("user_1.ini");
};
}  // namespace

TEST_F(StoredControlsTest, HistoryMruAndWidthRoundTrip) {
    TBandForm a;
    a.edtSearch->Items().SetStrings({"newest", "older"});
    a.btnGoogle->AddToMRU("Images", "img");
    a.SearchPanel->SetWidth(210);
    a.State->Save();
    foundation::TEIIniFile ini(path);
    EXPECT_EQ(ini.ReadString("TBandForm.btnGoogle_MRUItems", "Item0", ""), "img");
    EXPECT_EQ(ini.ReadString("TBandForm", "SearchPanel_Width", ""), "210");

    TBandForm b;
    b.btnGoogle->OnAssignXml = [](TAMFlatButton*, std::string& xml) { xml = "<items/>"; };
    b.btnGoogle->BuildMenu(false);  // an empty menu, built before the reload
    EXPECT_FALSE(b.btnGoogle->MenuDirty);
    b.State->Reload();
    EXPECT_EQ(b.edtSearch->Items().ToVector(), (std::vector<std::string>{"newest", "older"}));
    EXPECT_EQ(b.btnGoogle->MRUItems().ToVector(), (std::vector<std::string>{"img"}));
    EXPECT_TRUE(b.btnGoogle->MenuDirty);  // the reloaded ids show at the next opening
    EXPECT_EQ(b.SearchPanel->Width(), 210);
}

TEST_F(StoredControlsTest, AWidthThatIsNotANumberKeepsTheOthers) {
    WriteBytes(path,
               "[TBandForm]\r\nSearchPanel_Width=wide\r\n"
               "[TBandForm.btnGoogle_MRUItems]\r\nCount=1\r\nItem0=web\r\n");
    TBandForm form;
    form.edtSearch->Items().SetStrings({"gone after reload"});
    form.State->Reload();
    EXPECT_EQ(form.SearchPanel->Width(), 150);
    EXPECT_EQ(form.edtSearch->Items().Count(), 0);  // no section: emptied
    EXPECT_EQ(form.btnGoogle->MRUItems().ToVector(), (std::vector<std::string>{"web"}));
}

TEST_F(StoredControlsTest, AStoredWidthBelowTheMinimumIsHeldToIt) {
    for (const char* stored : {"5", "0", "-50"}) {
        WriteBytes(path, std::string("[TBandForm]\r\nSearchPanel_Width=") + stored + "\r\n");
        TBandForm form;
        form.State->Reload();
        EXPECT_EQ(form.SearchPanel->Width(), 100) << stored;
        // The size bar is still there to drag the box wider.
        form.SearchPanel->MouseDown(rt::TMouseButton::mbLeft, {}, 97, 5);
        form.SearchPanel->MouseMove({}, 178, 5);
        form.SearchPanel->MouseUp(rt::TMouseButton::mbLeft, {}, 178, 5);
        EXPECT_EQ(form.SearchPanel->Width(), 180) << stored;
    }
}
