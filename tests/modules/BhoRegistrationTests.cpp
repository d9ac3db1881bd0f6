// regsvr32 on SV_BHO.dll: the keys it writes and removes, read back from the registry.
#include <gtest/gtest.h>

#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

namespace {

const char* kClassKey = "CLSID\\{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}";
const char* kHelperKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\"
    "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}";

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

// Value names (default value as "") and subkeys of a key.
struct KeyContent {
    std::vector<std::string> values, subKeys;
};

KeyContent Content(HKEY root, const std::string& path) {
    KeyContent content;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return content;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        content.values.emplace_back(name, size);
    }
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        content.subKeys.emplace_back(name, size);
    }
    ::RegCloseKey(key);
    return content;
}

std::string Text(HKEY root, const std::string& path, const char* name) {
    char value[1024] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "<none>";
    return value;
}

int RegSvr32(const std::string& arguments) {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    return zrtest::ChildProcess(std::string(system) + "\\regsvr32.exe", arguments).Wait();
}

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
