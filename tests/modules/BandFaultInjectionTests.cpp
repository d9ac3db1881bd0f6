// Solvane.dll on a band site and browser that fail each of the band's calls
// in turn: every run must end without a crash, with sane answers, with every
// reference given back and the module ready to unload.
#include "BandHostFixture.h"
#include "FaultInjection.h"

using Microsoft::WRL::ComPtr;
using namespace zrtest::band;
using namespace zrtest::faults;

namespace {

// A page's events as the browser sends them: (pDisp, URL).
HRESULT FirePageEvent(zrtest::FakeEvents& events, DISPID id, IDispatch* frame, const wchar_t* address) {
    VARIANT url;
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(address);
    VARIANT byRef;
    byRef.vt = VT_VARIANT | VT_BYREF;
    byRef.pvarVal = &url;
    VARIANT page;
    page.vt = VT_DISPATCH;
    page.pdispVal = frame;
    const HRESULT result = zrtest::faults::Fire(events, id, {byRef, page});
    ::VariantClear(&url);
    return result;
}

constexpr DISPID kNavigateComplete2 = 252;
constexpr DISPID kDocumentComplete = 259;

class BandFaultInjection : public SolvaneModuleTest {
protected:
    void SetUp() override { frame_ = NewFrame(); }
    void TearDown() override { ::DestroyWindow(frame_); }

    // One browser window's life of the band: sited, shown, focused, asked for
    // its size, its menu and page events, then hidden, closed and let go.
    void Scenario() {
        auto browser = FaultyBrowser::Make(plan_);
        auto site = FaultyBandSite::Make(plan_, frame_, browser);
        zrtest::FakeEvents& events = browser->Events();
        {
            ComPtr<IDeskBand> band = NewBand();
            ASSERT_TRUE(band);
            auto input = As<IInputObject>(band);
            auto menu = As<IContextMenu>(band);
            auto withSite = As<IObjectWithSite>(band);
            EXPECT_EQ(withSite->SetSite(site->Unknown()), S_OK);

            HWND window = reinterpret_cast<HWND>(1);
            const DWORD asked = ::GetTickCount();
            const HRESULT made = band->GetWindow(&window);
            // Whatever the site failed to give, the browser's window is not held up for long.
            EXPECT_LT(::GetTickCount() - asked, 3000u) << "GetWindow";
            if (made == S_OK) {
                EXPECT_TRUE(::IsWindow(window));
                ::MoveWindow(window, 0, 0, 900, 23, TRUE);
            } else {
                EXPECT_TRUE(FAILED(made)) << std::hex << made;
                EXPECT_EQ(window, nullptr);
            }
            DESKBANDINFO info{};
            info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_MODEFLAGS;
            EXPECT_EQ(band->GetBandInfo(7, DBIF_VIEWMODE_NORMAL, &info), S_OK);
            EXPECT_EQ(band->ShowDW(TRUE), S_OK);
            EXPECT_EQ(input->UIActivateIO(TRUE, nullptr), S_OK);
            EXPECT_EQ(input->HasFocusIO(), S_OK);
            Pump(input.Get(), 20);
            if (made == S_OK) {
                ::SendMessageA(window, WM_USER + 1, 0, 0);  // maximize, then band info changed
                ::SendMessageA(window, WM_USER + 2, 0, 0);
            }

            HMENU popup = ::CreatePopupMenu();
            EXPECT_TRUE(SUCCEEDED(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL)));
            ::DestroyMenu(popup);
            CMINVOKECOMMANDINFO command{};
            command.cbSize = sizeof command;
            command.lpVerb = MAKEINTRESOURCEA(1);  // the home page: the address, Stop, Navigate
            EXPECT_EQ(menu->InvokeCommand(&command), S_OK);
            command.lpVerb = MAKEINTRESOURCEA(0);  // band info changed
            EXPECT_EQ(menu->InvokeCommand(&command), S_OK);

            IDispatch* top = static_cast<IWebBrowser2*>(browser.Get());
            EXPECT_EQ(FirePageEvent(events, kNavigateComplete2, top, browser->locationUrl.c_str()), S_OK);
            EXPECT_EQ(FirePageEvent(events, kDocumentComplete, top, browser->locationUrl.c_str()), S_OK);

            EXPECT_EQ(input->UIActivateIO(FALSE, nullptr), S_OK);
            EXPECT_EQ(input->HasFocusIO(), S_FALSE);
            EXPECT_EQ(band->ShowDW(FALSE), S_OK);
            EXPECT_EQ(band->CloseDW(0), S_OK);
            if (made == S_OK) {
                EXPECT_FALSE(::IsWindow(window));
            }
            EXPECT_EQ(withSite->SetSite(nullptr), S_OK);
            if (plan_.Counting()) {
                EXPECT_EQ(made, S_OK);
                EXPECT_EQ(events.unadvised.size(), 1u) << "the form's events connection, made and ended";
                EXPECT_EQ(browser->navigations.size(), 1u) << "the home page";
                EXPECT_EQ(site->Recorded().commands.size(), 3u);
                EXPECT_FALSE(site->Recorded().focusChanges.empty());
            }
        }
        // The band is gone; an events sink the browser still holds must keep the module loaded.
        if (!events.sinks.empty()) {
            EXPECT_EQ(canUnloadNow_(), S_FALSE) << "the browser still holds the band's sink";
        }
    }

    Figures Campaign(Fault mode) {
        return RunCampaign(plan_, mode, [this] { Scenario(); }, canUnloadNow_);
    }

    HWND frame_ = nullptr;
    FaultPlan plan_;
};

TEST_F(BandFaultInjection, EachCallFailingInTurnIsSurvivedAndEveryReferenceGivenBack) {
    const Figures figures = Campaign(Fault::Fail);
    Report("Solvane.dll", "band life", "band", Fault::Fail, figures);
    EXPECT_EQ(figures.failed, figures.callsCounted);
}

TEST_F(BandFaultInjection, EachOutValueNullInTurnIsSurvivedAndEveryReferenceGivenBack) {
    const Figures figures = Campaign(Fault::NullOut);
    Report("Solvane.dll", "band life", "band", Fault::NullOut, figures);
    EXPECT_GT(figures.nulled, 0u);
    EXPECT_EQ(figures.runs, figures.nulled + 1);
}

}  // namespace
