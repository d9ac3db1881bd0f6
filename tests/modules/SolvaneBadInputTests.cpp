// Solvane.dll in band sites that lack interfaces, called out of order, on a
// browser that fails every call, and beside the popup helper.
#include "BandHostFixture.h"

using Microsoft::WRL::ComPtr;
using zrtest::FakeBrowser;
using namespace zrtest::band;

namespace {

// ------------------------------------------------------------ bad input

TEST_F(SolvaneModuleTest, SitesWithoutInterfacesAndCallsOutOfOrderNeverFail) {
    HWND frame = NewFrame();
    {  // before any site: no window to be a child of, no crash
        ComPtr<IDeskBand> band = NewBand();
        HWND window = reinterpret_cast<HWND>(1);
        EXPECT_NE(band->GetWindow(&window), S_OK);
        EXPECT_EQ(window, nullptr);
        EXPECT_EQ(As<IInputObject>(band)->TranslateAcceleratorIO(nullptr), S_FALSE);
        EXPECT_EQ(band->CloseDW(0), S_OK);
        EXPECT_EQ(band->CloseDW(0), S_OK);
        EXPECT_EQ(band->ShowDW(TRUE), S_OK);
    }
    EXPECT_EQ(canUnloadNow_(), S_OK);
    {  // a site with nothing but IUnknown
        zrtest::FakeBandSite bare(frame, nullptr, {false, false, false, false});
        ComPtr<IDeskBand> band = NewBand();
        EXPECT_EQ(As<IObjectWithSite>(band)->SetSite(static_cast<IOleWindow*>(&bare)), S_OK);
        HWND window = nullptr;
        EXPECT_NE(band->GetWindow(&window), S_OK);
        EXPECT_EQ(band->ShowDW(TRUE), S_OK);
    }
    EXPECT_EQ(canUnloadNow_(), S_OK);
    {  // a site with a window but no browser: the bar works without navigating
        zrtest::FakeBandSite noBrowser(frame, nullptr, {true, true, true, false});
        ComPtr<IDeskBand> band = NewBand();
        HWND window = Open(band, noBrowser);
        ASSERT_TRUE(window);
        Search(window, "nowhere", As<IInputObject>(band).Get());
        EXPECT_EQ(band->CloseDW(0), S_OK);
        EXPECT_EQ(band->CloseDW(0), S_OK);
        EXPECT_EQ(band->ShowDW(TRUE), S_OK);  // after CloseDW
        HWND after = nullptr;
        band->GetWindow(&after);  // a new form for a browser that asks again
        band->CloseDW(0);
    }
    EXPECT_EQ(canUnloadNow_(), S_OK);
    {  // a browser whose every call fails; the band released before its interfaces
        auto failing = zrtest::Make<FakeBrowser>();
        failing->failNavigation = true;
        failing->events->failAdvise = true;
        zrtest::FakeBandSite site(frame, failing);
        ComPtr<IDeskBand> band = NewBand();
        HWND window = Open(band, site);
        auto input = As<IInputObject>(band);
        auto menu = As<IContextMenu>(band);
        Search(window, "fails", input.Get());
        band.Reset();  // the window stays with the remaining references
        EXPECT_EQ(canUnloadNow_(), S_FALSE);
        input.Reset();
        menu.Reset();
    }
    EXPECT_EQ(canUnloadNow_(), S_OK);
    ::DestroyWindow(frame);
}

TEST_F(SolvaneModuleTest, TheHelperInTheSameProcessBlocksOnceTheBandSwitchesBlockingOn) {
    WriteUser(false);
    HWND frame = NewFrame();
    auto browser = zrtest::Make<FakeBrowser>();
    zrtest::FakeBandSite site(frame, browser);
    HMODULE helperModule = ::LoadLibraryA((*folder_ / "SV_BHO.dll").c_str());
    ASSERT_TRUE(helperModule);
    auto helperClass = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(helperModule, "DllGetClassObject")));
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(helperClass(kHelperClass, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())), S_OK);
        ComPtr<IObjectWithSite> helper;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IObjectWithSite, reinterpret_cast<void**>(helper.GetAddressOf())), S_OK);
        ASSERT_EQ(helper->SetSite(static_cast<IWebBrowser2*>(browser.Get())), S_OK);

        auto newWindow = [&] {
            VARIANT_BOOL cancel = VARIANT_FALSE;
            IDispatch* opened = nullptr;
            VARIANT args[2];
            args[0].vt = VT_BOOL | VT_BYREF;
            args[0].pboolVal = &cancel;
            args[1].vt = VT_DISPATCH | VT_BYREF;
            args[1].ppdispVal = &opened;
            DISPPARAMS params{args, nullptr, 2, 0};
            browser->events->Fire(251, &params);
            return cancel == VARIANT_TRUE;
        };
        EXPECT_FALSE(newWindow());  // blocking is off

        ComPtr<IDeskBand> band = NewBand();
        HWND window = Open(band, site);
        HWND blocker = ButtonOfWidth(window, 25);
        ASSERT_TRUE(blocker);
        {
            MenuScript pick({VK_DOWN, VK_RETURN});  // "Block ALL Popups"
            PostClick(blocker);
            Pump(As<IInputObject>(band).Get(), 400);
            EXPECT_TRUE(pick.Done());
        }
        EXPECT_EQ(UserValue("TBandForm", "BlockingPopups_Value"), "True");
        EXPECT_TRUE(newWindow());
        Picture(frame, "band-blocking");
        Close(band);
        helper->SetSite(nullptr);
    }
    ::DestroyWindow(frame);
    WriteUser();
}

}  // namespace
