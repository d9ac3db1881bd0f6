// The band's answers to the browser, decided apart from COM: band
// information by mask, focus, context-menu commands, registry entries.
#include "toolbar/ToolbarBand.h"

#include <gtest/gtest.h>

#include "HostPlatformTest.h"

using platform::RegRoot;
using platform::RegValue;
using namespace toolbar;

namespace {

constexpr long kUntouched = 777;

TBandInfo Asking(unsigned mask) {
    TBandInfo info;
    info.mask = mask;
    for (TBandPoint* p : {&info.minSize, &info.maxSize, &info.integral, &info.actual}) *p = {kUntouched, kUntouched};
    info.modeFlags = kUntouched;
    return info;
}

TEST(ToolbarBandInfo, OnlyTheAskedMembersAreWrittenAndTheColourBitIsDropped) {
    TBandInfo min = Asking(bandinfo::MinSize | bandinfo::BackColor);
    FillBandInfo(min, 900, 22, true);
    EXPECT_EQ(min.mask, bandinfo::MinSize);
    EXPECT_EQ(min.minSize, (TBandPoint{250, 23}));
    EXPECT_EQ(min.maxSize, (TBandPoint{kUntouched, kUntouched}));
    EXPECT_EQ(min.actual, (TBandPoint{kUntouched, kUntouched}));
    EXPECT_EQ(min.modeFlags, static_cast<unsigned>(kUntouched));

    const unsigned everything = 0x7F;
    TBandInfo all = Asking(everything);
    FillBandInfo(all, 900, 22, false);
    EXPECT_EQ(all.mask, everything & ~bandinfo::BackColor);
    EXPECT_EQ(all.maxSize, (TBandPoint{-1, -1}));
    EXPECT_EQ(all.integral, (TBandPoint{1, 1}));
    EXPECT_EQ(all.actual, (TBandPoint{900, 22}));
    EXPECT_EQ(all.modeFlags, bandinfo::ModeNormal);
}

TEST(ToolbarBandInfo, TheFirstRunStartsOnARowOfItsOwn) {
    TBandInfo info = Asking(bandinfo::ModeFlags);
    FillBandInfo(info, 0, 0, true);
    EXPECT_EQ(info.modeFlags, bandinfo::ModeBreak);
}

TEST(ToolbarBandFocus, ShowingAndChildNoticesAreToldActivationIsNot) {
    TBandFocus focus;
    EXPECT_FALSE(focus.Has());
    EXPECT_FALSE(focus.UIActivate(true));
    EXPECT_TRUE(focus.Has());
    EXPECT_FALSE(focus.UIActivate(false));
    EXPECT_FALSE(focus.Has());
    EXPECT_TRUE(focus.ChildNotified());
    EXPECT_TRUE(focus.Has());
    EXPECT_TRUE(focus.Show(false));
    EXPECT_FALSE(focus.Has());
    EXPECT_TRUE(focus.Show(true));
    EXPECT_TRUE(focus.Has());
}

TEST(ToolbarBandMenu, OffsetsWithinTheReportedCountAreCommandsTextVerbsAreNot) {
    EXPECT_EQ(BandMenuCommandFor(false, 0, 3), TBandMenuCommand::BandInfoChanged);
    EXPECT_EQ(BandMenuCommandFor(false, 1, 3), TBandMenuCommand::HomePage);
    EXPECT_EQ(BandMenuCommandFor(false, BandMenuAboutOffset, BandMenuCommandCount), TBandMenuCommand::About);
    EXPECT_EQ(BandMenuCommandFor(true, 2, 3), TBandMenuCommand::Refused);
    EXPECT_EQ(BandMenuCommandFor(false, 3, 3), TBandMenuCommand::Refused);
    EXPECT_EQ(BandMenuCommandFor(false, 0, 0), TBandMenuCommand::Refused);  // no menu asked for yet
    EXPECT_EQ(BandMenuCommandFor(false, 2, 2), TBandMenuCommand::Refused);
}

class ToolbarBandRegistryTest : public HostPlatformTest {
protected:
    ToolbarBandRegistryTest() : HostPlatformTest(RegistryUse::StandIn) {}
    std::optional<RegValue> Value(RegRoot root, const std::string& key, const std::string& name) {
        return Registry().ReadValue(root, key, name);
    }
    const std::string classKey = std::string("CLSID\\") + ToolbarBandClassId;
    const std::string toolbarList = "Software\\Microsoft\\Internet Explorer\\Toolbar";
    const std::string userLayout = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";
};

TEST_F(ToolbarBandRegistryTest, RegisteringWritesTheClassTheServerAndTheToolbarEntry) {
    UpdateToolbarBandRegistry(true, "c:\\Zephyra\\Solvane.dll");
    EXPECT_EQ(Value(RegRoot::ClassesRoot, classKey, "")->text, "&Zephyra");
    EXPECT_EQ(Value(RegRoot::ClassesRoot, classKey + "\\InprocServer32", "")->text, "c:\\Zephyra\\Solvane.dll");
    EXPECT_EQ(Value(RegRoot::ClassesRoot, classKey + "\\InprocServer32", "ThreadingModel")->text, "Apartment");
    const auto entry = Value(RegRoot::LocalMachine, toolbarList, ToolbarBandClassId);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->type, platform::RegType::Binary);
    EXPECT_EQ(entry->bytes, (std::vector<std::uint8_t>{0}));
    EXPECT_TRUE(Registry().SubKeyNames(RegRoot::ClassesRoot, "").size() == 1u);  // no programmatic identifier
}

TEST_F(ToolbarBandRegistryTest, UnregisteringRemovesTheClassAndTheBrowsersMemoryOfTheBandOnly) {
    UpdateToolbarBandRegistry(true, "c:\\Zephyra\\Solvane.dll");
    const std::string category = "{00021492-0000-0000-C000-000000000046}";
    Registry().CreateKey(RegRoot::ClassesRoot, classKey + "\\Implemented Categories\\" + category);
    Registry().CreateKey(RegRoot::ClassesRoot, "Component Categories\\" + category + "\\Enum");
    Registry().WriteValue(RegRoot::LocalMachine, toolbarList, "{other band}", RegValue::String("kept"));
    Registry().CreateKey(RegRoot::CurrentUser, userLayout);
    Registry().WriteValue(RegRoot::CurrentUser, userLayout, ToolbarBandClassId, RegValue::DWord(4));
    Registry().WriteValue(RegRoot::CurrentUser, userLayout, "{other band}", RegValue::DWord(5));

    UpdateToolbarBandRegistry(false, "");
    EXPECT_FALSE(Registry().KeyExists(RegRoot::ClassesRoot, classKey));
    EXPECT_FALSE(Registry().KeyExists(RegRoot::ClassesRoot, "Component Categories\\" + category + "\\Enum"));
    EXPECT_TRUE(Registry().KeyExists(RegRoot::ClassesRoot, "Component Categories\\" + category));
    EXPECT_FALSE(Value(RegRoot::LocalMachine, toolbarList, ToolbarBandClassId));
    EXPECT_FALSE(Value(RegRoot::CurrentUser, userLayout, ToolbarBandClassId));
    EXPECT_TRUE(Value(RegRoot::LocalMachine, toolbarList, "{other band}"));
    EXPECT_TRUE(Value(RegRoot::CurrentUser, userLayout, "{other band}"));
    // Layout keys that never existed are not made by the removal.
    EXPECT_FALSE(Registry().KeyExists(RegRoot::CurrentUser, toolbarList + "\\ShellBrowser"));
}

TEST_F(ToolbarBandRegistryTest, NothingToRemoveAndKeysThatCannotBeWrittenAreNoFailure) {
    EXPECT_NO_THROW(UpdateToolbarBandRegistry(false, ""));
    EXPECT_TRUE(Registry().SubKeyNames(RegRoot::ClassesRoot, "").empty());
    host_.registry->SetReadOnly(true);
    EXPECT_NO_THROW(UpdateToolbarBandRegistry(true, "c:\\Zephyra\\Solvane.dll"));
    EXPECT_FALSE(Registry().KeyExists(RegRoot::ClassesRoot, classKey));
}

}  // namespace
