// regsvr32 on SV_BHO.dll: the keys it writes and removes, read back from the registry.
#include <gtest/gtest.h>

#include "RegistryReading.h"
#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

namespace {

using namespace zrtest::registry;

const char* kClassKey = "CLSID\\{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}";
const char* kHelperKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\"
    "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}";

TEST(BhoRegistration, RegSvr32WritesAndRemovesExactlyTheHelpersKeys) {
    zrtest::TempDir folder;
    const std::string dll = folder / "SV_BHO.dll";
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SV_BHO_DLL), dll));

    ASSERT_EQ(RegSvr32("/s \"" + dll + "\""), 0);
    const KeyContent classKey = Content(HKEY_CLASSES_ROOT, kClassKey);
    EXPECT_EQ(classKey.subKeys, std::vector<std::string>{"InprocServer32"});
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kClassKey, nullptr), "");
    const std::string server = std::string(kClassKey) + "\\InprocServer32";
    EXPECT_TRUE(zrtest::Visible(Text(HKEY_CLASSES_ROOT, server, nullptr)) == zrtest::Visible(dll) ||
                ::lstrcmpiA(Text(HKEY_CLASSES_ROOT, server, nullptr).c_str(), dll.c_str()) == 0)
        << Text(HKEY_CLASSES_ROOT, server, nullptr);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, server, "ThreadingModel"), "Apartment");
    EXPECT_TRUE(Content(HKEY_CLASSES_ROOT, server).subKeys.empty());
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kHelperKey));
    const KeyContent helperKey = Content(HKEY_LOCAL_MACHINE, kHelperKey);
    EXPECT_TRUE(helperKey.values.empty());
    EXPECT_TRUE(helperKey.subKeys.empty());

    ASSERT_EQ(RegSvr32("/u /s \"" + dll + "\""), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kHelperKey));
}

}  // namespace
