// Solvane.dll loaded into the test and sited the way the browser sites a
// toolbar band: a band site of the test's own (its window, focus and command
// interfaces, and the browser window's browser as a service) with a browser
// of the test's own behind it.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

#include "FakeBandSite.h"
#include "FakeBrowser.h"
#include "ScreenCapture.h"
#include "win32/WinProcess.h"
#include "win32/Win32TestSupport.h"

using Microsoft::WRL::ComPtr;
using zrtest::FakeBrowser;



namespace {

// {7A33D136-248C-4BA5-B72D-BB68F4AD9039}
constexpr CLSID kBandClass = {0x7A33D136, 0x248C, 0x4BA5, {0xB7, 0x2D, 0xBB, 0x68, 0xF4, 0xAD, 0x90, 0x39}};
// {FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}
constexpr CLSID kHelperClass = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD}};
// {EB0FE172-1A3A-11D0-89B3-00A0C90A90AC}
constexpr GUID kDeskBandCommands = {0xEB0FE172, 0x1A3A, 0x11D0, {0x89, 0xB3, 0x00, 0xA0, 0xC9, 0x0A, 0x90, 0xAC}};

using GetClassObjectFn = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(__stdcall*)();

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    ::GetUserNameA(name, &size);
    return name;
}

// Runs the thread's messages for a while, keys first offered to the band as
// the browser offers them (TranslateAcceleratorIO).
void Pump(IInputObject* band, int milliseconds = 60) {
    const DWORD end = ::GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (band && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
                band->TranslateAcceleratorIO(&msg) == S_OK)
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while (static_cast<LONG>(::GetTickCount() - end) < 0);
}

LPARAM KeyData(UINT key, bool up) {
    LPARAM data = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(key, 0)) << 16);
    return up ? data | (3u << 30) : data;
}

void PostKey(HWND window, UINT key) {
    ::PostMessageA(window, WM_KEYDOWN, key, KeyData(key, false));
    ::PostMessageA(window, WM_KEYUP, key, KeyData(key, true));
}

void PostText(HWND window, const std::string& text) {
    for (unsigned char c : text) ::PostMessageA(window, WM_CHAR, c, 1);
}

void PostClick(HWND window) {
    RECT area;
    ::GetClientRect(window, &area);
    const LPARAM at = MAKELPARAM(area.right / 2, area.bottom / 2);
    ::PostMessageA(window, WM_MOUSEMOVE, 0, at);
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(window, WM_LBUTTONUP, 0, at);
}

struct Found {
    std::function<bool(HWND)> wanted;
    HWND window = nullptr;
};

BOOL CALLBACK FindChild(HWND child, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    if (::IsWindowVisible(child) && found->wanted(child)) {
        found->window = child;
        return FALSE;
    }
    return TRUE;
}

HWND ChildWhere(HWND parent, std::function<bool(HWND)> wanted) {
    Found found{std::move(wanted)};
    ::EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// The search box's edit field inside the band's window.
HWND SearchEdit(HWND band) {
    HWND combo = ChildWhere(band, [](HWND w) { return _stricmp(ClassOf(w).c_str(), "ComboBox") == 0; });
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return combo && ::GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

// A word typed into the search box and sent with Enter, the keys going
// through the band as the browser hands them over.
void Search(HWND band, const std::string& word, IInputObject* input) {
    HWND edit = SearchEdit(band);
    PostText(edit, word);
    Pump(input);
    PostKey(edit, VK_RETURN);
    Pump(input);
}

// A flat button of the bar by its width (at 96 dots per inch, each search button's is its own).
HWND ButtonOfWidth(HWND band, int width) {
    return ChildWhere(band, [width](HWND w) {
        RECT r;
        ::GetWindowRect(w, &r);
        return r.right - r.left == width && r.bottom - r.top == 21 && !::GetWindow(w, GW_CHILD);
    });
}

// Steps run from a thread timer while a menu runs its own loop.
class MenuScript {
public:
    explicit MenuScript(std::vector<UINT> keys) : keys_(std::move(keys)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 50, &Tick);
    }
    ~MenuScript() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Done() const { return done_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuScript* self = current_;
        if (!self || self->done_) return;
        HWND menu = ::FindWindowA("#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) return;
        self->done_ = true;
        for (UINT key : self->keys_) {
            ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
            ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
        }
    }
    static inline MenuScript* current_ = nullptr;
    std::vector<UINT> keys_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
};

// ------------------------------------------------------------ the band site

// A top-level window that plays the browser window holding the band site.
HWND NewFrame() {
    static const bool registered = [] {
        WNDCLASSA frameClass{};
        frameClass.lpfnWndProc = &::DefWindowProcA;
        frameClass.hInstance = ::GetModuleHandleA(nullptr);
        frameClass.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
        frameClass.lpszClassName = "ZrBandSiteFrame";
        return ::RegisterClassA(&frameClass) != 0;
    }();
    (void)registered;
    HWND frame = ::CreateWindowExA(0, "ZrBandSiteFrame", "Band site", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 30, 30,
                                   960, 200, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::ShowWindow(frame, SW_SHOW);
    ::SetForegroundWindow(frame);
    return frame;
}

// ------------------------------------------------------------ the fixture

// The module in an installation folder of the test's own, with the
// installation's data and a user whose settings file came from the template.
class SolvaneModuleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::OleInitialize(nullptr);
        folder_ = new zrtest::TempDir();
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SOLVANE_DLL), *folder_ / "Solvane.dll"));
        ASSERT_TRUE(zrtest::CopyInto(zrtest::WindowsPathOf(ZR_SV_BHO_DLL), *folder_ / "SV_BHO.dll"));
        const std::string install = zrtest::WindowsPathOf(ZR_INSTALL_DIR);
        ::CreateDirectoryA((*folder_ / "Data").c_str(), nullptr);
        for (const char* name : {"google.xml", "Tools.xml", "amazon.xml", "others.xml"})
            zrtest::CopyInto(install + "\\Data\\" + name, *folder_ / (std::string("Data\\") + name));
        WriteUser();
        module_ = ::LoadLibraryA((*folder_ / "Solvane.dll").c_str());
        ASSERT_NE(module_, nullptr);
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(::GetProcAddress(module_, "DllCanUnloadNow")));
    }
    static void TearDownTestSuite() {
        if (module_ && canUnloadNow_() == S_OK) ::FreeLibrary(module_);
        module_ = nullptr;
        delete folder_;
        folder_ = nullptr;
        ::OleUninitialize();
    }

    // The shared file knows the user; the user's file is the installation's template.
    static void WriteUser(bool firstRun = true) {
        zrtest::WriteBytes(*folder_ / "Solvane.ini", "[Users]\r\n" + UserName() + "=1\r\n");
        std::string user = zrtest::ReadBytes(zrtest::WindowsPathOf(ZR_INSTALL_DIR) + "\\settings_template.ini");
        user += std::string("\r\n[App]\r\nFirstTime=") + (firstRun ? "True" : "False") + "\r\n";
        zrtest::WriteBytes(*folder_ / "user_1.ini", user);
    }
    static std::string UserValue(const std::string& section, const std::string& key) {
        char value[512] = {};
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value,
                                   (*folder_ / "user_1.ini").c_str());
        return value;
    }
    static std::string SharedValue(const std::string& section, const std::string& key) {
        char value[512] = {};
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", value, sizeof value,
                                   (*folder_ / "Solvane.ini").c_str());
        return value;
    }

    ComPtr<IDeskBand> NewBand() {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject_(kBandClass, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf())), S_OK);
        ComPtr<IDeskBand> band;
        if (factory) {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDeskBand, reinterpret_cast<void**>(band.GetAddressOf())), S_OK);
        }
        return band;
    }
    template <class Face>
    static ComPtr<Face> As(const ComPtr<IDeskBand>& band) {
        ComPtr<Face> face;
        EXPECT_EQ(band.As(&face), S_OK);
        return face;
    }
    // A band sited and shown as the browser does it; its window.
    HWND Open(const ComPtr<IDeskBand>& band, zrtest::FakeBandSite& site) {
        EXPECT_EQ(As<IObjectWithSite>(band)->SetSite(static_cast<IOleWindow*>(&site)), S_OK);
        HWND window = nullptr;
        EXPECT_EQ(band->GetWindow(&window), S_OK);
        RECT client;
        ::GetClientRect(::GetParent(window), &client);
        ::MoveWindow(window, 0, 0, client.right, 23, TRUE);
        EXPECT_EQ(band->ShowDW(TRUE), S_OK);
        Pump(As<IInputObject>(band).Get());
        return window;
    }
    static void Close(const ComPtr<IDeskBand>& band) {
        band->ShowDW(FALSE);
        band->CloseDW(0);
        As<IObjectWithSite>(band)->SetSite(nullptr);
    }
    static void Picture(HWND window, const char* name) {
        if (const char* folder = std::getenv("ZR_SCREENSHOTS")) {
            EXPECT_TRUE(zrdemo::SaveWindowPicture(window, folder, name));
        }
    }

    static zrtest::TempDir* folder_;
    static HMODULE module_;
    static GetClassObjectFn getClassObject_;
    static CanUnloadNowFn canUnloadNow_;
};

zrtest::TempDir* SolvaneModuleTest::folder_ = nullptr;
HMODULE SolvaneModuleTest::module_ = nullptr;
GetClassObjectFn SolvaneModuleTest::getClassObject_ = nullptr;
CanUnloadNowFn SolvaneModuleTest::canUnloadNow_ = nullptr;

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
