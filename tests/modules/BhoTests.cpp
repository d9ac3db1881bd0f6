// SV_BHO.dll loaded into the test, sited on browsers of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "TestBrowser.h"
#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

using Microsoft::WRL::ComPtr;
using zrtest::TestBrowser;

namespace {

// {FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}
constexpr CLSID kHelperClass = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD}};

using GetClassObjectFn = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(__stdcall*)();

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    ::GetUserNameA(name, &size);
    return name;
}

class BhoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder_ = new zrtest::TempDir();
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SV_BHO_DLL), *folder_ / "SV_BHO.dll"));
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_NOTICE_EXE), *folder_ / "Notelle.exe"));
        WriteSettings(true, true, false);
        module_ = ::LoadLibraryA((*folder_ / "SV_BHO.dll").c_str());
        ASSERT_NE(module_, nullptr);
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllCanUnloadNow")));
    }
    static void TearDownTestSuite() {
        if (module_ && canUnloadNow_() == S_OK) ::FreeLibrary(module_);
        module_ = nullptr;
        delete folder_;
        folder_ = nullptr;
        ::CoUninitialize();
    }
    void SetUp() override {
        ASSERT_NE(getClassObject_, nullptr);
        WriteSettings(true, true, false);
        ::DeleteFileA(NoticeLog().c_str());
    }

    // The files the helper reads at every event: toolbar shown, blocker on,
    // first run, and the first block already noticed (unless a test resets it).
    static void WriteSettings(bool toolbarShown, bool blocking, bool firstRun, bool firstBlock = false) {
        zrtest::WriteBytes(*folder_ / "Solvane.ini", "[Users]\r\n" + UserName() + "=1\r\n[Toolbar]\r\nVisible=" +
                                                         (toolbarShown ? "True" : "False") + "\r\n");
        zrtest::WriteBytes(*folder_ / "user_1.ini",
                           std::string("[App]\r\nFirstTime=") + (firstRun ? "True" : "False") +
                               "\r\n[TBandForm]\r\nBlockingPopups_Value=" + (blocking ? "True" : "False") +
                               "\r\nFirstTimeBlockingPopup_Value=" + (firstBlock ? "True" : "False") + "\r\n");
    }
    static std::string NoticeLog() { return *folder_ / "Notelle.log"; }

    ComPtr<IClassFactory> Factory() {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject_(kHelperClass, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())),
                  S_OK);
        return factory;
    }
    ComPtr<IObjectWithSite> NewHelper() {
        ComPtr<IObjectWithSite> helper;
        EXPECT_EQ(Factory()->CreateInstance(nullptr, IID_IObjectWithSite,
                                            reinterpret_cast<void**>(helper.GetAddressOf())),
                  S_OK);
        return helper;
    }
    ComPtr<IObjectWithSite> SitedHelper(TestBrowser* browser) {
        auto helper = NewHelper();
        EXPECT_EQ(helper->SetSite(static_cast<IWebBrowser2*>(browser)), S_OK);
        return helper;
    }

    static zrtest::TempDir* folder_;
    static HMODULE module_;
    static GetClassObjectFn getClassObject_;
    static CanUnloadNowFn canUnloadNow_;
};

zrtest::TempDir* BhoTest::folder_ = nullptr;
HMODULE BhoTest::module_ = nullptr;
GetClassObjectFn BhoTest::getClassObject_ = nullptr;
CanUnloadNowFn BhoTest::canUnloadNow_ = nullptr;

TEST_F(BhoTest, ClassObjectAndUnloadFollowTheObjects) {
    void* object = reinterpret_cast<void*>(1);
    const CLSID other = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(getClassObject_(other, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);

    auto factory = Factory();
    ASSERT_TRUE(factory);
    EXPECT_EQ(canUnloadNow_(), S_OK);
    auto outerBrowser = zrtest::TestBrowser::Make();
    IUnknown* outer = static_cast<IWebBrowser2*>(outerBrowser.Get());
    ComPtr<IUnknown> refused;
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(refused.GetAddressOf())),
              CLASS_E_NOAGGREGATION);

    ComPtr<IDispatch> helper;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(helper.GetAddressOf())), S_OK);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    ComPtr<IObjectWithSite> site;
    EXPECT_EQ(helper.As(&site), S_OK);
    helper.Reset();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    site.Reset();
    EXPECT_EQ(canUnloadNow_(), S_OK);

    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(BhoTest, SiteAndTypeInformationAnswersAreFixed) {
    auto helper = NewHelper();
    void* site = reinterpret_cast<void*>(1);
    EXPECT_EQ(helper->GetSite(IID_IUnknown, &site), S_OK);
    EXPECT_EQ(site, nullptr);
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(helper.As(&dispatch), S_OK);
    UINT count = 7;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(dispatch->GetTypeInfo(0, 0, &info), E_NOTIMPL);
    EXPECT_EQ(info, nullptr);

    // A site that is no browser leaves the object unconnected but working.
    ComPtr<IUnknown> stranger(new zrtest::NotABrowser());
    EXPECT_EQ(helper->SetSite(stranger.Get()), S_OK);
    auto browser = TestBrowser::Make();
    EXPECT_EQ(helper->SetSite(static_cast<IWebBrowser2*>(browser.Get())), S_OK);
    EXPECT_EQ(browser->Sinks(), 1u);
    EXPECT_EQ(helper->SetSite(nullptr), S_OK);
}

TEST_F(BhoTest, NewWindowIsCancelledOnlyWhenTheFilesSaySo) {
    auto browser = TestBrowser::Make();
    auto helper = SitedHelper(browser.Get());
    ASSERT_EQ(browser->Sinks(), 1u);
    struct Case {
        bool shown, blocking;
    };
    for (Case c : {Case{false, true}, Case{true, false}, Case{false, false}}) {
        WriteSettings(c.shown, c.blocking, false);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EXPECT_EQ(browser->NewWindow2(cancel), DISP_E_MEMBERNOTFOUND);
        EXPECT_EQ(cancel, VARIANT_FALSE);
        EXPECT_EQ(browser->Quit(), DISP_E_MEMBERNOTFOUND);  // not even the quit is handled
        EXPECT_EQ(browser->Sinks(), 1u);
    }
    WriteSettings(true, true, false);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(browser->NewWindow2(cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    EXPECT_EQ(helper->SetSite(nullptr), S_OK);
}

TEST_F(BhoTest, NamedArgumentsReachTheirPlaces) {
    auto browser = TestBrowser::Make();
    auto helper = SitedHelper(browser.Get());
    for (const std::vector<DISPID>& order : {std::vector<DISPID>{1, 0}, std::vector<DISPID>{0, 1}}) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        EXPECT_EQ(browser->NewWindow2(cancel, order), S_OK);
        EXPECT_EQ(cancel, VARIANT_TRUE) << order[0];
    }
    // Too few arguments: reported inside, nothing leaves Invoke.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(browser->Fire(251, none), S_OK);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(browser->NewWindow2(cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    EXPECT_EQ(browser->Fire(270, none), DISP_E_MEMBERNOTFOUND);
    helper->SetSite(nullptr);
}

TEST_F(BhoTest, FirstBlockStartsTheNoticeOnce) {
    WriteSettings(true, true, false, true);
    auto first = TestBrowser::Make(), second = TestBrowser::Make();
    auto helper1 = SitedHelper(first.Get()), helper2 = SitedHelper(second.Get());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(first->NewWindow2(cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    cancel = VARIANT_FALSE;
    EXPECT_EQ(second->NewWindow2(cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    std::string log;
    for (int wait = 0; wait < 100 && log.empty(); ++wait) {
        ::Sleep(100);
        log = zrtest::ReadBytes(NoticeLog());
        if (log == "<missing>") log.clear();
    }
    ::Sleep(1500);  // a second start would have written by now
    EXPECT_EQ(zrtest::ReadBytes(NoticeLog()), "FIRSTPOPUPBLOCKED\r\n");
    helper1->SetSite(nullptr);
    helper2->SetSite(nullptr);
}

TEST_F(BhoTest, FirstRunAsksToShowTheBand) {
    WriteSettings(true, true, true);
    auto browser = TestBrowser::Make();
    auto helper = SitedHelper(browser.Get());
    ASSERT_EQ(browser->BarRequests().size(), 1u);
    const auto& bar = browser->BarRequests()[0];
    EXPECT_EQ(bar.classId, "{7A33D136-248C-4BA5-B72D-BB68F4AD9039}");
    EXPECT_EQ(bar.showType, VT_BOOL);
    EXPECT_TRUE(bar.show);
    EXPECT_EQ(bar.sizeType, VT_I4);
    EXPECT_EQ(bar.size, 0);
    helper->SetSite(nullptr);

    WriteSettings(true, true, false);
    auto later = TestBrowser::Make();
    auto helper2 = SitedHelper(later.Get());
    EXPECT_TRUE(later->BarRequests().empty());
    helper2->SetSite(nullptr);
}

TEST_F(BhoTest, EachHelperEndsOnlyItsOwnConnection) {
    auto first = TestBrowser::Make(), second = TestBrowser::Make();
    auto helper1 = SitedHelper(first.Get());
    auto helper2 = SitedHelper(second.Get());  // sited last
    ASSERT_EQ(first->Sinks(), 1u);
    ASSERT_EQ(second->Sinks(), 1u);

    EXPECT_EQ(first->Quit(), S_OK);
    EXPECT_EQ(first->Sinks(), 0u);
    EXPECT_EQ(first->BadUnadvises(), 0);
    EXPECT_EQ(second->Sinks(), 1u);
    EXPECT_TRUE(second->Unadvised().empty());

    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(second->NewWindow2(cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    EXPECT_EQ(second->Quit(), S_OK);
    EXPECT_EQ(second->Sinks(), 0u);
    EXPECT_EQ(second->BadUnadvises(), 0);

    // After the quit the browser lets go; nothing is unadvised twice.
    EXPECT_EQ(helper1->SetSite(nullptr), S_OK);
    EXPECT_EQ(helper2->SetSite(nullptr), S_OK);
    EXPECT_EQ(first->BadUnadvises() + second->BadUnadvises(), 0);
}

TEST_F(BhoTest, LettingGoWithoutQuitEndsTheConnection) {
    auto browser = TestBrowser::Make();
    auto helper = SitedHelper(browser.Get());
    ASSERT_EQ(browser->Sinks(), 1u);
    EXPECT_EQ(helper->SetSite(nullptr), S_OK);
    EXPECT_EQ(browser->Sinks(), 0u);
    helper.Reset();
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(BhoTest, SoundAndCursorSignalsNeverUndoTheBlock) {
    ::WritePrivateProfileStringA("TBandForm", "PlaySoundWhenBlockingPopup_Value", "True", (*folder_ / "user_1.ini").c_str());
    ::WritePrivateProfileStringA("TBandForm", "ShowBlockedCursorWhenBlockingPopup_Value", "True",
                                 (*folder_ / "user_1.ini").c_str());
    auto browser = TestBrowser::Make();
    auto helper = SitedHelper(browser.Get());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(browser->NewWindow2(cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    // Let the flash's timer tick on this thread, then block again after the quiet time.
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 1600) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
        ::Sleep(10);
    }
    cancel = VARIANT_FALSE;
    EXPECT_EQ(browser->NewWindow2(cancel), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    EXPECT_EQ(browser->Quit(), S_OK);
    EXPECT_EQ(browser->Sinks(), 0u);
    helper->SetSite(nullptr);
}

TEST(BhoModule, CarriesItsSoundAndVersion) {
    HMODULE module = ::LoadLibraryExA(zrtest::WindowsPathOf(ZR_SV_BHO_DLL).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC sound = ::FindResourceA(module, "POPUP_BLOCKED", "WAVE");
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(::SizeofResource(module, sound), 4486u);
    EXPECT_NE(::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)), nullptr);  // RT_VERSION
    ::FreeLibrary(module);
}

// The shell's process may not load the module; the browser's may.
TEST(BhoHost, ExplorerCannotLoadTheModule) {
    zrtest::TempDir folder;
    ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SV_BHO_DLL), folder / "SV_BHO.dll"));
    for (const char* sub : {"upper", "tools", "tools\\explorer.exe"})
        ASSERT_TRUE(::CreateDirectoryA((folder / sub).c_str(), nullptr)) << sub;
    const char* hosts[][2] = {{"explorer.exe", "3"},
                              {"upper\\EXPLORER.EXE", "3"},
                              {"tools\\explorer.exe\\iexplore.exe", "3"},
                              {"iexplore.exe", "0"}};
    const std::string dll = "\"" + (folder / "SV_BHO.dll") + "\"";
    for (const auto& host : hosts) {
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_BHO_LOADER_EXE), folder / host[0])) << host[0];
        EXPECT_EQ(zrtest::ChildProcess(folder / host[0], dll).Wait(), std::atoi(host[1])) << host[0];
    }
}

}  // namespace
