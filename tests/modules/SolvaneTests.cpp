// Solvane.dll in a band site of the test's own: the browser's order of calls
// and what a user does with the band.
#include "BandHostFixture.h"

using Microsoft::WRL::ComPtr;
using zrtest::FakeBrowser;
using namespace zrtest::band;

namespace {

// ------------------------------------------------------------ the host's calls

TEST_F(SolvaneModuleTest, TheBrowsersOrderOfCallsFromCreationToUnload) {
    HWND frame = NewFrame();
    auto browser = zrtest::Make<FakeBrowser>();
    browser->locationUrl = L"http://www.example.com/news/index.html";
    zrtest::FakeBandSite site(frame, browser);
    {
        ComPtr<IDeskBand> band = NewBand();
        ASSERT_TRUE(band);
        for (const IID* face : {&IID_IInputObject, &IID_IContextMenu, &IID_IObjectWithSite, &IID_IPersistStreamInit,
                                &IID_IPersist, &IID_IDeskBand}) {
            ComPtr<IUnknown> answer;
            EXPECT_EQ(band->QueryInterface(*face, reinterpret_cast<void**>(answer.GetAddressOf())), S_OK);
        }
        for (const IID* face : {&IID_IOleWindow, &IID_IDockingWindow, &IID_IPersistStream}) {
            ComPtr<IUnknown> answer;
            EXPECT_EQ(band->QueryInterface(*face, reinterpret_cast<void**>(answer.GetAddressOf())), E_NOINTERFACE);
        }
        ComPtr<IUnknown> none;
        EXPECT_EQ(As<IObjectWithSite>(band)->GetSite(IID_IUnknown, reinterpret_cast<void**>(none.GetAddressOf())), E_FAIL);
        EXPECT_EQ(As<IInputObject>(band)->HasFocusIO(), S_FALSE);

        EXPECT_EQ(As<IObjectWithSite>(band)->SetSite(static_cast<IOleWindow*>(&site)), S_OK);
        HWND window = nullptr;
        EXPECT_EQ(band->GetWindow(&window), S_OK);
        ASSERT_TRUE(window);
        EXPECT_EQ(::GetParent(window), frame);
        EXPECT_TRUE(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
        HWND again = nullptr;
        EXPECT_EQ(band->GetWindow(&again), S_OK);
        EXPECT_EQ(again, window);
        EXPECT_EQ(browser->events->sinks.size(), 1u);  // the form's events connection

        DESKBANDINFO info{};
        info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_MODEFLAGS | DBIM_BKCOLOR;
        EXPECT_EQ(band->GetBandInfo(7, DBIF_VIEWMODE_NORMAL, &info), S_OK);
        EXPECT_EQ(info.dwMask & DBIM_BKCOLOR, 0u);
        EXPECT_EQ(info.ptMinSize.x, 250);
        EXPECT_EQ(info.ptMinSize.y, 23);
        EXPECT_EQ(info.ptMaxSize.y, -1);
        EXPECT_EQ(info.dwModeFlags, static_cast<DWORD>(DBIMF_BREAK));  // first run: a row of its own

        EXPECT_EQ(band->ShowDW(TRUE), S_OK);
        EXPECT_EQ(SharedValue("Toolbar", "Visible"), "True");
        ASSERT_FALSE(site.focusChanges.empty());
        EXPECT_TRUE(site.focusChanges.back());
        EXPECT_EQ(As<IInputObject>(band)->HasFocusIO(), S_OK);
        EXPECT_EQ(As<IInputObject>(band)->UIActivateIO(FALSE, nullptr), S_OK);
        EXPECT_EQ(As<IInputObject>(band)->HasFocusIO(), S_FALSE);
        EXPECT_EQ(As<IInputObject>(band)->UIActivateIO(TRUE, nullptr), S_OK);
        EXPECT_EQ(As<IInputObject>(band)->HasFocusIO(), S_OK);
        EXPECT_EQ(::GetFocus(), SearchEdit(window));  // the search box takes the focus on the way in

        // The context menu's one item and its three offsets.
        HMENU menu = ::CreatePopupMenu();
        const HRESULT added = As<IContextMenu>(band)->QueryContextMenu(menu, 0, 100, 200, CMF_NORMAL);
        EXPECT_TRUE(SUCCEEDED(added));
        EXPECT_EQ(HRESULT_CODE(added), 3);
        char caption[32] = {};
        ::GetMenuStringA(menu, 102, caption, sizeof caption, MF_BYCOMMAND);
        EXPECT_STREQ(caption, "About...");
        ::DestroyMenu(menu);
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.lpVerb = "about";
        EXPECT_EQ(As<IContextMenu>(band)->InvokeCommand(&invoke), E_FAIL);
        invoke.lpVerb = MAKEINTRESOURCEA(3);
        EXPECT_EQ(As<IContextMenu>(band)->InvokeCommand(&invoke), E_FAIL);
        invoke.lpVerb = MAKEINTRESOURCEA(0);
        EXPECT_EQ(As<IContextMenu>(band)->InvokeCommand(&invoke), S_OK);
        invoke.lpVerb = MAKEINTRESOURCEA(1);
        EXPECT_EQ(As<IContextMenu>(band)->InvokeCommand(&invoke), S_OK);
        ASSERT_FALSE(browser->navigations.empty());
        EXPECT_EQ(browser->navigations.back().url.rfind(L"http://www.zephyratoolbar.com", 0), 0u);

        ::SendMessageA(window, WM_USER + 1, 0, 0);
        ::SendMessageA(window, WM_USER + 2, 0, 0);
        ASSERT_EQ(site.commands.size(), 3u);  // offset 0, then the two window messages
        for (const auto& exec : site.commands) {
            EXPECT_TRUE(IsEqualGUID(exec.group, kDeskBandCommands));
            EXPECT_EQ(exec.type, VT_I4);
            EXPECT_EQ(exec.band, 7);
        }
        EXPECT_EQ(site.commands[0].id, 0u);
        EXPECT_EQ(site.commands[1].id, 2u);
        EXPECT_EQ(site.commands[2].id, 0u);

        // A page loaded: DocumentComplete(pDisp, URL) through the form's connection.
        VARIANT url;
        url.vt = VT_BSTR;
        url.bstrVal = ::SysAllocString(browser->locationUrl.c_str());
        VARIANT args[2];
        args[0].vt = VT_VARIANT | VT_BYREF;
        args[0].pvarVal = &url;
        args[1].vt = VT_DISPATCH;
        args[1].pdispVal = browser.Get();
        DISPPARAMS params{args, nullptr, 2, 0};
        EXPECT_EQ(browser->events->Fire(259, &params), S_OK);
        ::VariantClear(&url);

        EXPECT_EQ(band->ShowDW(FALSE), S_OK);
        EXPECT_FALSE(site.focusChanges.back());
        EXPECT_EQ(SharedValue("Toolbar", "Visible"), "False");
        EXPECT_EQ(band->CloseDW(0), S_OK);
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_TRUE(browser->events->sinks.empty());
        EXPECT_EQ(browser->events->unadvised.size(), 1u);
        EXPECT_EQ(As<IObjectWithSite>(band)->SetSite(nullptr), S_OK);
        EXPECT_EQ(canUnloadNow_(), S_FALSE);
    }
    EXPECT_EQ(canUnloadNow_(), S_OK);
    EXPECT_EQ(site.References(), 0u);
    ::DestroyWindow(frame);
}

// ------------------------------------------------------------ what a user does

TEST_F(SolvaneModuleTest, ASearchTypedIntoTheBandNavigatesAndIsRemembered) {
    HWND frame = NewFrame();
    auto browser = zrtest::Make<FakeBrowser>();
    zrtest::FakeBandSite site(frame, browser);
    {
        ComPtr<IDeskBand> band = NewBand();
        HWND window = Open(band, site);
        auto input = As<IInputObject>(band);
        Picture(frame, "band-in-site");
        ASSERT_TRUE(SearchEdit(window));
        input->UIActivateIO(TRUE, nullptr);
        Search(window, "blue cats", input.Get());
        ASSERT_FALSE(browser->navigations.empty());
        EXPECT_EQ(browser->navigations.back().url, L"http://www.bing.com/search?q=blue cats");
        EXPECT_EQ(UserValue("TBandForm.edtSearch_Items", "Item0"), "blue cats");

        // A pick from the Google button's menu: Web Search, then I'm Feeling Lucky.
        HWND google = ButtonOfWidth(window, 58);
        ASSERT_TRUE(google);
        {
            MenuScript pick({VK_DOWN, VK_DOWN, VK_RETURN});
            PostClick(google);
            Pump(input.Get(), 400);
            EXPECT_TRUE(pick.Done());
        }
        Pump(input.Get());
        EXPECT_EQ(browser->navigations.back().url, L"https://www.google.com/search?btnI=1&q=blue cats");
        EXPECT_EQ(UserValue("TBandForm.btnGoogle_MRUItems", "Item0"), "google-lucky");
        Close(band);
    }
    EXPECT_EQ(canUnloadNow_(), S_OK);
    ::DestroyWindow(frame);
}

TEST_F(SolvaneModuleTest, KeysTheBandDispatchesAndKeysItLeavesToTheBrowser) {
    HWND frame = NewFrame();
    auto browser = zrtest::Make<FakeBrowser>();
    zrtest::FakeBandSite site(frame, browser);
    ComPtr<IDeskBand> band = NewBand();
    HWND window = Open(band, site);
    auto input = As<IInputObject>(band);
    input->UIActivateIO(TRUE, nullptr);
    HWND edit = SearchEdit(window);
    ASSERT_TRUE(edit);
    PostText(edit, "owlz");
    Pump(input.Get());
    MSG backspace{edit, WM_KEYDOWN, VK_BACK, KeyData(VK_BACK, false), 0, {}};
    EXPECT_EQ(input->TranslateAcceleratorIO(&backspace), S_OK);  // dispatched by the band itself
    Pump(input.Get());
    char text[64] = {};
    ::GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "owl");
    MSG paste{edit, WM_KEYDOWN, 'V', KeyData('V', false), 0, {}};
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_EQ(input->TranslateAcceleratorIO(&paste), S_FALSE);  // the browser's own
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    Close(band);
    band.Reset();
    input.Reset();
    EXPECT_EQ(canUnloadNow_(), S_OK);
    ::DestroyWindow(frame);
}

TEST_F(SolvaneModuleTest, TwoWindowsOnTwoThreadsSearchInTurnsWithoutLosingHistory) {
    auto window = [this](const std::string& word, std::future<void> myTurn, std::promise<void> done) {
        ::OleInitialize(nullptr);
        HWND frame = NewFrame();
        auto browser = zrtest::Make<FakeBrowser>();
        zrtest::FakeBandSite site(frame, browser);
        {
            ComPtr<IDeskBand> band = NewBand();
            HWND bandWindow = Open(band, site);
            auto input = As<IInputObject>(band);
            myTurn.wait();
            Search(bandWindow, word, input.Get());
            EXPECT_FALSE(browser->navigations.empty());
            done.set_value();
            Pump(input.Get(), 200);  // the other window searches meanwhile
            Close(band);
        }
        ::DestroyWindow(frame);
        ::OleUninitialize();
    };
    std::promise<void> firstTurn, firstDone, secondTurn, secondDone;
    auto firstFinished = firstDone.get_future();
    std::thread first(window, "alpha", firstTurn.get_future(), std::move(firstDone));
    std::thread second(window, "beta", secondTurn.get_future(), std::move(secondDone));
    firstTurn.set_value();
    firstFinished.wait();
    secondTurn.set_value();
    first.join();
    second.join();
    EXPECT_EQ(UserValue("TBandForm.edtSearch_Items", "Item0"), "beta");
    EXPECT_EQ(UserValue("TBandForm.edtSearch_Items", "Item1"), "alpha");
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

}  // namespace
