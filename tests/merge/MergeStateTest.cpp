#include "merge/MergeState.h"

#include "HostPlatformTest.h"
#include "ViewerRecorder.h"
#include "foundation/SVDebug.h"
#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"

using namespace merge;

namespace {

const char* kTemplateV3 =
    "[TBandForm]\r\nStateVersion_Value=3\r\nMRUItemCount_Value=10\r\nNewKey_Value=fresh\r\nEmptyAtUser_Value=filled\r\n"
    "[TBandForm.AMToolbarOptions_Items]\r\nCount=2\r\nItem0=btnGoogle\r\nItem1=btnHighlight\r\n"
    "[DomainsAllowedPopups]\r\ntemplate.com=True\r\n"
    "[OverriddenValues]\r\nWhatsNew=True\r\n";

}  // namespace

class MergeStateTest : public HostPlatformTest {
protected:
    MergeStateTest() { foundation::ChooseUserSettingsFile(); }
    ~MergeStateTest() override { foundation::FreeSharedIniFile(); }

    std::string UserFile() { return foundation::CurrentUserSettingsFileName(); }
    std::string Read(const std::string& section, const std::string& key) {
        return foundation::TEIIniFile(UserFile()).ReadString(section, key, "<none>");
    }
};

TEST_F(MergeStateTest, OlderUserFileGetsTheTemplatesNewSettings) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    WriteBytes(UserFile(),
               "[TBandForm]\r\nStateVersion_Value=2\r\nMRUItemCount_Value=25\r\nEmptyAtUser_Value=\r\nMine_Value=x\r\n"
               "SaveCount_Value=7\r\n"
               "[DomainsAllowedPopups]\r\nmine.com=True\r\n"
               "[OverriddenValues]\r\nWhatsNew=False\r\n"
               "[Other]\r\nuntouched=1\r\n");
    RunStartupMerge();

    EXPECT_EQ(Read("TBandForm", "MRUItemCount_Value"), "25");  // the user's own value stays
    EXPECT_EQ(Read("TBandForm", "NewKey_Value"), "fresh");
    EXPECT_EQ(Read("TBandForm", "EmptyAtUser_Value"), "filled");
    EXPECT_EQ(Read("TBandForm", "Mine_Value"), "x");
    EXPECT_EQ(Read("TBandForm", "StateVersion_Value"), "3");
    EXPECT_EQ(Read("DomainsAllowedPopups", "mine.com"), "True");
    EXPECT_EQ(Read("DomainsAllowedPopups", "template.com"), "True");
    EXPECT_EQ(Read("OverriddenValues", "WhatsNew"), "True");
    EXPECT_EQ(Read("TBandForm.AMToolbarOptions_Items", "Item1"), "btnHighlight");  // the user had none
    EXPECT_EQ(Read("Other", "untouched"), "1");
    // Open windows see their state as stale and reload before their next save.
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "8");
}

TEST_F(MergeStateTest, AUsersOwnToolbarListIsKept) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    WriteBytes(UserFile(), "[TBandForm]\r\nStateVersion_Value=1\r\n[TBandForm.AMToolbarOptions_Items]\r\nCount=1\r\n");
    RunStartupMerge();
    EXPECT_EQ(Read("TBandForm.AMToolbarOptions_Items", "Count"), "1");
    EXPECT_EQ(Read("TBandForm.AMToolbarOptions_Items", "Item0"), "<none>");
}

TEST_F(MergeStateTest, EqualOrNewerVersionsAreLeftByteForByte) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    for (const char* version : {"3", "4"}) {
        const std::string user = std::string("[TBandForm]\r\nStateVersion_Value=") + version + "\r\n";
        WriteBytes(UserFile(), user);
        RunStartupMerge();
        EXPECT_EQ(FileBytes(UserFile()), user) << version;
    }
}

TEST_F(MergeStateTest, AMergeThatAddsNothingLeavesTheFileAndItsCounterAlone) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    // An older version that already holds everything the template brings,
    // forced values included.
    const std::string user =
        "[TBandForm]\r\nStateVersion_Value=2\r\nSaveCount_Value=41\r\nMRUItemCount_Value=25\r\n"
        "NewKey_Value=mine\r\nEmptyAtUser_Value=set\r\n"
        "[TBandForm.AMToolbarOptions_Items]\r\nCount=1\r\nItem0=btnUp\r\n"
        "[DomainsAllowedPopups]\r\ntemplate.com=False\r\n"
        "[OverriddenValues]\r\nWhatsNew=True\r\n";
    WriteBytes(UserFile(), user);
    RunStartupMerge();
    RunStartupMerge();
    EXPECT_EQ(FileBytes(UserFile()), user);

    // One forced value that differs is something to add: written, with the
    // version, and the counter moves once.
    WriteBytes(UserFile(), user.substr(0, user.size() - 6) + "False\r\n");
    RunStartupMerge();
    EXPECT_EQ(Read("OverriddenValues", "WhatsNew"), "True");
    EXPECT_EQ(Read("TBandForm", "StateVersion_Value"), "3");
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "42");
    EXPECT_EQ(Read("TBandForm", "MRUItemCount_Value"), "25");
    RunStartupMerge();
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "42");
}

TEST_F(MergeStateTest, ACounterPastTheIntegerRangeStartsAgainAfterAMerge) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    WriteBytes(UserFile(), "[TBandForm]\r\nStateVersion_Value=1\r\nSaveCount_Value=99999999999\r\n");
    RunStartupMerge();
    EXPECT_EQ(Read("TBandForm", "StateVersion_Value"), "3");
    EXPECT_EQ(Read("TBandForm", "NewKey_Value"), "fresh");
    EXPECT_EQ(Read("TBandForm", "SaveCount_Value"), "1");
}

TEST_F(MergeStateTest, VersionsThatAreNotNumbersCountAsZero) {
    // A template without a version never merges into an existing file.
    WriteBytes(InModule("settings_template.ini"), "[OverriddenValues]\r\nWhatsNew=True\r\n");
    WriteBytes(UserFile(), "[TBandForm]\r\nStateVersion_Value=abc\r\n");
    RunStartupMerge();
    EXPECT_EQ(FileBytes(UserFile()), "[TBandForm]\r\nStateVersion_Value=abc\r\n");

    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    RunStartupMerge();
    EXPECT_EQ(Read("TBandForm", "StateVersion_Value"), "3");
}

TEST_F(MergeStateTest, MissingUserFileIsSeededFromSettingsThenMerged) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    WriteBytes(InModule("settings.ini"), "[TBandForm]\r\nStateVersion_Value=1\r\nMRUItemCount_Value=5\r\n");
    RunStartupMerge();
    EXPECT_EQ(Read("TBandForm", "MRUItemCount_Value"), "5");
    EXPECT_EQ(Read("TBandForm", "NewKey_Value"), "fresh");
    EXPECT_EQ(Read("TBandForm", "StateVersion_Value"), "3");
}

TEST_F(MergeStateTest, MissingUserFileWithoutSettingsGetsTheTemplate) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    EXPECT_TRUE(EnsureUserSettingsFile());
    EXPECT_EQ(FileBytes(UserFile()), kTemplateV3);
    MergeNewState();
    EXPECT_EQ(FileBytes(UserFile()), kTemplateV3);  // the template's own version: nothing to merge
}

TEST_F(MergeStateTest, NothingToSeedFrom) {
    EXPECT_FALSE(EnsureUserSettingsFile());
    RunStartupMerge();
    EXPECT_FALSE(Files().FileExists(UserFile()));
}

TEST_F(MergeStateTest, MergeCutShortIsCompletedByTheNextRun) {
    WriteBytes(InModule("settings_template.ini"), kTemplateV3);
    // Steps 1 and 2 done, the version not yet written.
    WriteBytes(UserFile(), "[TBandForm]\r\nStateVersion_Value=2\r\nMRUItemCount_Value=10\r\nNewKey_Value=fresh\r\n");
    RunStartupMerge();
    EXPECT_EQ(Read("OverriddenValues", "WhatsNew"), "True");
    EXPECT_EQ(Read("TBandForm", "StateVersion_Value"), "3");
}

TEST_F(MergeStateTest, SectionFillAndForce) {
    WriteBytes(InModule("t.ini"), "[S]\r\na=1\r\nb=2\r\n");
    WriteBytes(InModule("u.ini"), "[S]\r\na=mine\r\nb=\r\n");
    foundation::TEIIniFile templ(InModule("t.ini")), user(InModule("u.ini"));
    MergeSection(templ, user, "S", false);
    EXPECT_EQ(user.ReadString("S", "a", ""), "mine");
    EXPECT_EQ(user.ReadString("S", "b", ""), "2");
    MergeSection(templ, user, "S", true);
    EXPECT_EQ(user.ReadString("S", "a", ""), "1");
    EXPECT_EQ(ReadStateVersion(templ), 0);
    WriteStateVersion(templ, 7);
    EXPECT_EQ(ReadStateVersion(templ), 7);
}

TEST_F(MergeStateTest, TracesTheDecisionInDebugMode) {
    // Marker, line buffer and settings all inside the test's own drive c:.
    platform::ScopedServices hostFiles(HostFilesOnly());
    host_.files->CreateDirectory(ModuleFolder());
    host_.files->WriteFile(foundation::DebugMarkerFile, "");
    foundation::ResetDebugMode();
    ViewerRecorder viewer(*host_.windows);
    foundation::InitializeBugWatcher();
    host_.files->WriteFile(InModule("settings_template.ini"), kTemplateV3);
    host_.files->WriteFile(UserFile(), "[TBandForm]\r\nStateVersion_Value=3\r\n");
    RunStartupMerge();
    host_.files->WriteFile(UserFile(), "[TBandForm]\r\nStateVersion_Value=2\r\n");
    RunStartupMerge();
    foundation::FinalizeBugWatcher();
    foundation::ResetDebugMode();

    namespace v = foundation::viewer;
    using R = ViewerRecorder::Received;
    const std::vector<R> expected{
        {v::Status, 1, ""},
        {v::BeginGroup, 0, "MergeNewState"},
        {v::NewLine, 0, "StateFromUserIni:3, StateFromTemplate:3"},
        {v::NewLine, 0, "Not merging..."},
        {v::EndGroup, 0, "Not merging..."},
        {v::BeginGroup, 0, "MergeNewState"},
        {v::NewLine, 0, "StateFromUserIni:2, StateFromTemplate:3"},
        {v::NewLine, 0, "Merging..."},
        {v::EndGroup, 0, "Merging..."},
        {v::Status, 6, "Merging..."},
        {v::EndGroup, 0, "Merging..."},
    };
    EXPECT_EQ(viewer.received, expected);
}
