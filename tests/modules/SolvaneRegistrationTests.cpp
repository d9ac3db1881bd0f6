// regsvr32 on Solvane.dll: the keys and values it writes and removes, read
// back from the registry; and the Windows shell refused as its loader.
#include <gtest/gtest.h>

#include "RegistryReading.h"
#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

namespace {

using namespace zrtest::registry;

const std::string kClassId = "{7A33D136-248C-4BA5-B72D-BB68F4AD9039}";
const std::string kClassKey = "CLSID\\" + kClassId;
const char* kToolbarList = "Software\\Microsoft\\Internet Explorer\\Toolbar";
const char* kLayout = "Software\\Microsoft\\Internet Explorer\\Toolbar\\WebBrowser";

std::vector<BYTE> Bytes(HKEY root, const std::string& path, const std::string& name, DWORD& type) {
    std::vector<BYTE> bytes(64);
    DWORD size = static_cast<DWORD>(bytes.size());
    type = REG_NONE;
    if (::RegGetValueA(root, path.c_str(), name.c_str(), RRF_RT_ANY, &type, bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    return bytes;
}

void WriteDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(key);
}

TEST(SolvaneRegistration, RegSvr32WritesAndRemovesExactlyTheBandsEntries) {
    zrtest::TempDir folder;
    const std::string dll = folder / "Solvane.dll";
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SOLVANE_DLL), dll));

    // Unregistering where nothing was ever registered succeeds.
    EXPECT_EQ(RegSvr32("/u /s \"" + dll + "\""), 0);

    ASSERT_EQ(RegSvr32("/s \"" + dll + "\""), 0);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, kClassKey, nullptr), "&Zephyra");
    EXPECT_EQ(Content(HKEY_CLASSES_ROOT, kClassKey).subKeys.size(), 1u);
    const std::string server = kClassKey + "\\InprocServer32";
    EXPECT_EQ(::lstrcmpiA(Text(HKEY_CLASSES_ROOT, server, nullptr).c_str(), dll.c_str()), 0)
        << Text(HKEY_CLASSES_ROOT, server, nullptr);
    EXPECT_EQ(Text(HKEY_CLASSES_ROOT, server, "ThreadingModel"), "Apartment");
    DWORD type = 0;
    EXPECT_EQ(Bytes(HKEY_LOCAL_MACHINE, kToolbarList, kClassId, type), std::vector<BYTE>{0});
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Solvane.ToolbarBand"));  // no programmatic identifier

    // The browser's memory of where the band stood goes with it; other bands' stays.
    WriteDword(HKEY_CURRENT_USER, kLayout, kClassId, 3);
    WriteDword(HKEY_CURRENT_USER, kLayout, "{other}", 4);
    ASSERT_EQ(RegSvr32("/u /s \"" + dll + "\""), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_TRUE(Bytes(HKEY_LOCAL_MACHINE, kToolbarList, kClassId, type).empty());
    EXPECT_TRUE(Bytes(HKEY_CURRENT_USER, kLayout, kClassId, type).empty());
    EXPECT_FALSE(Bytes(HKEY_CURRENT_USER, kLayout, "{other}", type).empty());
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kLayout, "{other}");
}

// The bar's pictures, the version and the type library travel in the module.
TEST(SolvaneHost, TheModuleCarriesItsBitmapsVersionAndTypeLibrary) {
    HMODULE module = ::LoadLibraryExA(zrtest::WindowsPathOf(ZR_SOLVANE_DLL).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (const char* name : {"BTNMAIN", "BTNWHATSNEW", "BTNSEARCHTHEWEB", "BTNGOOGLE", "BTNAMAZON", "BTNEBAY",
                             "BTNEBAYCA", "BTNEBAYCOUK", "BTNOTHERS", "BTNUP", "BTNHIGHLIGHT", "BTNTOOLS", "BTNOPTIONS",
                             "BTNPOPUPBLOCKER", "POPUP_BLOCKED", "POPUP_ALLOWED", "IMGBLOCKPOPUPS", "ABOUTLOGO"})
        EXPECT_NE(::FindResourceA(module, name, MAKEINTRESOURCEA(2)), nullptr) << name;  // RT_BITMAP
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)), nullptr);  // RT_VERSION
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(1), "TYPELIB"), nullptr);
    ::FreeLibrary(module);
}

// The shell's process may not load the module; the browser's may.
TEST(SolvaneHost, ExplorerCannotLoadTheModule) {
    zrtest::TempDir folder;
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SOLVANE_DLL), folder / "Solvane.dll"));
    const std::string dll = "\"" + (folder / "Solvane.dll") + "\"";
    for (const auto& host : {std::pair{"explorer.exe", 3}, std::pair{"iexplore.exe", 0}}) {
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_BHO_LOADER_EXE), folder / host.first)) << host.first;
        EXPECT_EQ(zrtest::ChildProcess(folder / host.first, dll).Wait(), host.second) << host.first;
    }
}

}  // namespace
