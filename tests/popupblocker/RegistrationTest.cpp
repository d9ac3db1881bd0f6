// The helper's registry entries.
#include <gtest/gtest.h>

#include "PopupBlockerFixture.h"
#include "popupblocker/BHORegistration.h"

using namespace popupblocker;
using platform::RegRoot;

namespace {

class Registration : public PopupBlockerTest {};

TEST_F(Registration, WritesTheClassAndAnEmptyHelperKeyAndRemovesThem) {
    ASSERT_TRUE(UpdateHelperRegistry(true, "c:\\Zephyra\\SV_BHO.dll"));
    const std::string classKey = "CLSID\\{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}";
    EXPECT_EQ(Registry().SubKeyNames(RegRoot::ClassesRoot, classKey), std::vector<std::string>{"InprocServer32"});
    EXPECT_EQ(Registry().ReadValue(RegRoot::ClassesRoot, classKey + "\\InprocServer32", "")->text,
              "c:\\Zephyra\\SV_BHO.dll");
    EXPECT_EQ(Registry().ReadValue(RegRoot::ClassesRoot, classKey + "\\InprocServer32", "ThreadingModel")->text,
              "Apartment");
    const std::string helperKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\"
        "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}";
    EXPECT_TRUE(Registry().KeyExists(RegRoot::LocalMachine, helperKey));
    EXPECT_TRUE(Registry().ValueNames(RegRoot::LocalMachine, helperKey).empty());
    EXPECT_TRUE(Registry().SubKeyNames(RegRoot::ClassesRoot, "").size() == 1u);  // no programmatic identifier

    ASSERT_TRUE(UpdateHelperRegistry(false, ""));
    EXPECT_FALSE(Registry().KeyExists(RegRoot::ClassesRoot, classKey));
    EXPECT_FALSE(Registry().KeyExists(RegRoot::LocalMachine, helperKey));
    EXPECT_TRUE(Registry().KeyExists(RegRoot::LocalMachine,
                                     "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects"));
    EXPECT_TRUE(UpdateHelperRegistry(false, ""));  // twice is harmless
}

TEST_F(Registration, AReadOnlyRegistryFailsTheRegistration) {
    host_.registry->SetReadOnly(true);
    EXPECT_FALSE(UpdateHelperRegistry(true, "c:\\Zephyra\\SV_BHO.dll"));
}

}  // namespace
