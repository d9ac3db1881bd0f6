#pragma once
// Solvane.dll loaded into the test and sited the way the browser sites a
// toolbar band: a band site of the test's own (its window, focus and command
// interfaces, and the browser window's browser as a service) with a browser
// of the test's own behind it; keys and clicks posted as a person makes them.
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

namespace zrtest::band {

using Microsoft::WRL::ComPtr;

// {7A33D136-248C-4BA5-B72D-BB68F4AD9039}
inline constexpr CLSID kBandClass = {0x7A33D136, 0x248C, 0x4BA5, {0xB7, 0x2D, 0xBB, 0x68, 0xF4, 0xAD, 0x90, 0x39}};
// {FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}
inline constexpr CLSID kHelperClass = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD}};
// {EB0FE172-1A3A-11D0-89B3-00A0C90A90AC}
inline constexpr GUID kDeskBandCommands = {0xEB0FE172, 0x1A3A, 0x11D0, {0x89, 0xB3, 0x00, 0xA0, 0xC9, 0x0A, 0x90, 0xAC}};

using GetClassObjectFn = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(__stdcall*)();

inline std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    ::GetUserNameA(name, &size);
    return name;
}

// Runs the thread's messages for a while, keys first offered to the band as
// the browser offers them (TranslateAcceleratorIO).
inline void Pump(IInputObject* band, int milliseconds = 60) {
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

inline LPARAM KeyData(UINT key, bool up) {
    LPARAM data = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(key, 0)) << 16);
    return up ? data | (3u << 30) : data;
}

inline void PostKey(HWND window, UINT key) {
    ::PostMessageA(window, WM_KEYDOWN, key, KeyData(key, false));
    ::PostMessageA(window, WM_KEYUP, key, KeyData(key, true));
}

inline void PostText(HWND window, const std::string& text) {
    for (unsigned char c : text) ::PostMessageA(window, WM_CHAR, c, 1);
}

inline void PostClick(HWND window) {
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

inline BOOL CALLBACK FindChild(HWND child, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    if (::IsWindowVisible(child) && found->wanted(child)) {
        found->window = child;
        return FALSE;
    }
    return TRUE;
}

inline HWND ChildWhere(HWND parent, std::function<bool(HWND)> wanted) {
    Found found{std::move(wanted)};
    ::EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

inline std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

// The search box's edit field inside the band's window.
inline HWND SearchEdit(HWND band) {
    HWND combo = ChildWhere(band, [](HWND w) { return _stricmp(ClassOf(w).c_str(), "ComboBox") == 0; });
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return combo && ::GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

// A word typed into the search box and sent with Enter, the keys going
// through the band as the browser hands them over.
inline void Search(HWND band, const std::string& word, IInputObject* input) {
    HWND edit = SearchEdit(band);
    PostText(edit, word);
    Pump(input);
    PostKey(edit, VK_RETURN);
    Pump(input);
}

// A flat button of the bar by its width (at 96 dots per inch, each search button's is its own).
inline HWND ButtonOfWidth(HWND band, int width) {
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
inline HWND NewFrame() {
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

    static inline zrtest::TempDir* folder_ = nullptr;
    static inline HMODULE module_ = nullptr;
    static inline GetClassObjectFn getClassObject_ = nullptr;
    static inline CanUnloadNowFn canUnloadNow_ = nullptr;
};

}  // namespace zrtest::band
