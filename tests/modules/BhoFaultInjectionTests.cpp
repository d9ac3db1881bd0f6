// SV_BHO.dll sited on a browser that fails each of the helper's calls in
// turn: every run must end without a crash, with sane answers, with every
// reference given back and the module ready to unload.
#include <gtest/gtest.h>

#include "FaultInjection.h"
#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

using Microsoft::WRL::ComPtr;
using namespace zrtest::faults;

namespace {

// {FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}
constexpr CLSID kHelperClass = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD}};

constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kNewWindow2 = 251;
constexpr DISPID kOnQuit = 253;
constexpr DISPID kDocumentComplete = 259;
constexpr DISPID kNewWindow3 = 273;

using GetClassObjectFn = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(__stdcall*)();

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    ::GetUserNameA(name, &size);
    return name;
}

using zrtest::faults::Fire;

VARIANT ByRef(VARTYPE type, void* value) {
    VARIANT v;
    v.vt = VT_BYREF | type;
    v.byref = value;
    return v;
}

VARIANT Plain(VARTYPE type) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = type;
    return v;
}

class BhoFaultInjection : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder_ = new zrtest::TempDir();
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SV_BHO_DLL), *folder_ / "SV_BHO.dll"));
        // Toolbar shown, blocker on, first run (the helper asks for the band), first block already noticed.
        zrtest::WriteBytes(*folder_ / "Solvane.ini", "[Users]\r\n" + UserName() + "=1\r\n[Toolbar]\r\nVisible=True\r\n");
        zrtest::WriteBytes(*folder_ / "user_1.ini",
                           "[App]\r\nFirstTime=True\r\n[TBandForm]\r\nBlockingPopups_Value=True\r\n"
                           "FirstTimeBlockingPopup_Value=False\r\n");
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

    ComPtr<IObjectWithSite> NewHelper() {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject_(kHelperClass, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())), S_OK);
        ComPtr<IObjectWithSite> helper;
        if (factory) {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_IObjectWithSite, reinterpret_cast<void**>(helper.GetAddressOf())), S_OK);
        }
        return helper;
    }

    // One browser window's life of the helper: sited, a page with two popups
    // on the way, then let go, after the window's quit or without it.
    void Scenario(bool quit) {
        auto browser = FaultyBrowser::Make(plan_);
        zrtest::FakeEvents& events = browser->Events();
        IDispatch* top = static_cast<IWebBrowser2*>(browser.Get());
        {
            ComPtr<IObjectWithSite> helper = NewHelper();
            ASSERT_TRUE(helper);
            EXPECT_EQ(helper->SetSite(static_cast<IWebBrowser2*>(browser.Get())), S_OK);
            const bool connected = !events.sinks.empty();
            if (plan_.Counting()) {
                EXPECT_TRUE(connected);
                EXPECT_EQ(browser->bars.size(), 1u) << "the first run asks for the band";
            }

            VARIANT url = Plain(VT_BSTR), empty = Plain(VT_EMPTY), flags = Plain(VT_I4);
            url.bstrVal = ::SysAllocString(browser->locationUrl.c_str());
            VARIANT_BOOL cancel = VARIANT_FALSE;
            VARIANT frame = Plain(VT_DISPATCH);
            frame.pdispVal = top;
            EXPECT_EQ(Fire(events, kBeforeNavigate2,
                           {ByRef(VT_BOOL, &cancel), ByRef(VT_VARIANT, &empty), ByRef(VT_VARIANT, &empty),
                            ByRef(VT_VARIANT, &empty), ByRef(VT_VARIANT, &flags), ByRef(VT_VARIANT, &url), frame}),
                      S_OK);
            EXPECT_EQ(cancel, VARIANT_FALSE);

            IDispatch* opened = nullptr;
            EXPECT_EQ(Fire(events, kNewWindow2, {ByRef(VT_BOOL, &cancel), ByRef(VT_DISPATCH, &opened)}), S_OK);
            EXPECT_EQ(cancel == VARIANT_TRUE, connected) << "a connected helper cancels the popup";
            EXPECT_EQ(opened, nullptr);

            cancel = VARIANT_FALSE;
            VARIANT context = Plain(VT_BSTR), target = Plain(VT_BSTR), kind = Plain(VT_I4);
            context.bstrVal = ::SysAllocString(browser->locationUrl.c_str());
            target.bstrVal = ::SysAllocString(L"http://ads.example.com/");
            kind.lVal = 0x6;  // NWMF_USERINITED | NWMF_FIRST
            const HRESULT third = Fire(events, kNewWindow3,
                                       {target, context, kind, ByRef(VT_BOOL, &cancel), ByRef(VT_DISPATCH, &opened)});
            EXPECT_TRUE(third == S_OK || third == DISP_E_MEMBERNOTFOUND) << std::hex << third;
            EXPECT_EQ(opened, nullptr);

            EXPECT_EQ(Fire(events, kDocumentComplete, {ByRef(VT_VARIANT, &url), frame}), S_OK);
            if (quit) {
                EXPECT_EQ(Fire(events, kOnQuit, {}), S_OK);
            }
            EXPECT_EQ(helper->SetSite(nullptr), S_OK);
            ::VariantClear(&url);
            ::VariantClear(&context);
            ::VariantClear(&target);
        }
        // The helper is the sink: while the browser still holds it, the module stays.
        if (!events.sinks.empty()) {
            EXPECT_EQ(canUnloadNow_(), S_FALSE) << "the browser still holds the helper";
        }
    }

    Figures Campaign(Fault mode, bool quit) {
        return RunCampaign(plan_, mode, [this, quit] { Scenario(quit); }, canUnloadNow_);
    }

    FaultPlan plan_;
    static inline zrtest::TempDir* folder_ = nullptr;
    static inline HMODULE module_ = nullptr;
    static inline GetClassObjectFn getClassObject_ = nullptr;
    static inline CanUnloadNowFn canUnloadNow_ = nullptr;
};

TEST_F(BhoFaultInjection, EachCallFailingInTurnIsSurvivedAndEveryReferenceGivenBack) {
    for (bool quit : {false, true}) {
        const Figures figures = Campaign(Fault::Fail, quit);
        Report("SV_BHO.dll", quit ? "helper life ending in the quit" : "helper life ending in SetSite(NULL)",
               quit ? "quit" : "let_go", Fault::Fail, figures);
        EXPECT_EQ(figures.failed, figures.callsCounted);
    }
}

TEST_F(BhoFaultInjection, EachOutValueNullInTurnIsSurvivedAndEveryReferenceGivenBack) {
    for (bool quit : {false, true}) {
        const Figures figures = Campaign(Fault::NullOut, quit);
        Report("SV_BHO.dll", quit ? "helper life ending in the quit" : "helper life ending in SetSite(NULL)",
               quit ? "quit" : "let_go", Fault::NullOut, figures);
        EXPECT_GT(figures.nulled, 0u);
        EXPECT_EQ(figures.runs, figures.nulled + 1);
    }
}

}  // namespace
