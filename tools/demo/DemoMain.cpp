// ZephyraDemo.exe: the toolbar band (Solvane.dll, beside the program) in a
// browser window of the demo's own, for a person to click through, or, with
// --screenshots <folder>, a tour that saves a picture of the toolbar, each
// menu and each dialog, then ends.
//
// The browser window is a frame with a band site (its window, focus and
// command interfaces, the browser as a service) and a small browser that
// shows where it was sent. The demo runs from an installation folder: the
// program, the modules and the installation's data, the user's settings
// file made by Tallis.exe.
#include "platform/win32/Win32Api.h"

#include <ole2.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "DemoBrowser.h"
#include "DemoTour.h"
#include "FakeBandSite.h"

using Microsoft::WRL::ComPtr;

namespace {

// {7A33D136-248C-4BA5-B72D-BB68F4AD9039}
constexpr CLSID kBandClass = {0x7A33D136, 0x248C, 0x4BA5, {0xB7, 0x2D, 0xBB, 0x68, 0xF4, 0xAD, 0x90, 0x39}};
using GetClassObjectFn = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
using CanUnloadNowFn = HRESULT(__stdcall*)();

std::string ProgramFolder() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1);
}

// The folder after --screenshots; empty when the demo is for a person.
std::string ScreenshotFolder(const std::string& commandLine) {
    const std::string option = "--screenshots";
    const std::size_t at = commandLine.find(option);
    if (at == std::string::npos) return "";
    std::string folder = commandLine.substr(at + option.size());
    folder.erase(0, folder.find_first_not_of(" \t"));
    if (!folder.empty() && folder.front() == '"') folder = folder.substr(1, folder.find('"', 1) - 1);
    else folder = folder.substr(0, folder.find_first_of(" \t"));
    return folder;
}

// The buttons of the bar, as the user's settings list them (the bar shows them in that order).
std::vector<std::string> ChosenButtons(const std::string& folder) {
    char user[256] = {}, number[16] = {}, text[256] = {};
    DWORD size = sizeof user;
    ::GetUserNameA(user, &size);
    ::GetPrivateProfileStringA("Users", user, "1", number, sizeof number, (folder + "Solvane.ini").c_str());
    const std::string file = folder + "user_" + number + ".ini";
    const char* section = "TBandForm.AMToolbarOptions_Items";
    std::vector<std::string> names;
    const int count = static_cast<int>(::GetPrivateProfileIntA(section, "Count", 0, file.c_str()));
    for (int i = 0; i < count; ++i) {
        ::GetPrivateProfileStringA(section, ("Item" + std::to_string(i)).c_str(), "", text, sizeof text, file.c_str());
        std::string name = text;
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        names.push_back(name);
    }
    return names;
}

struct Windows {
    std::vector<std::pair<RECT, HWND>> buttons;
    RECT searchBox{};
    HWND searchEdit = nullptr;
};

BOOL CALLBACK Collect(HWND child, LPARAM param) {
    auto* found = reinterpret_cast<Windows*>(param);
    char name[64] = {};
    ::GetClassNameA(child, name, sizeof name);
    RECT area;
    ::GetWindowRect(child, &area);
    if (lstrcmpiA(name, "ComboBox") == 0) {
        found->searchBox = area;
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (::GetComboBoxInfo(child, &info)) found->searchEdit = info.hwndItem;
    }
    const bool flatButton = std::string(name).rfind("ZrControl", 0) == 0 && !::GetWindow(child, GW_CHILD) &&
                            ::IsWindowVisible(child) && area.right - area.left > 20 && area.bottom - area.top > 15;
    if (flatButton) found->buttons.push_back({area, child});
    return TRUE;
}

// The bar's buttons that open a menu: the main one, then the chosen ones that have one.
std::vector<zrdemo::BarButton> MenuButtons(const Windows& windows, const std::string& folder) {
    Windows found = windows;
    std::sort(found.buttons.begin(), found.buttons.end(),
              [](const auto& a, const auto& b) { return a.first.left < b.first.left; });
    std::vector<zrdemo::BarButton> menus;
    if (found.buttons.empty()) return menus;
    menus.push_back({found.buttons.front().second, "main"});
    const std::vector<std::string> chosen = ChosenButtons(folder);
    std::size_t next = 0;
    for (const auto& [area, window] : found.buttons) {
        if (area.left < found.searchBox.right || next >= chosen.size()) continue;
        const std::string& name = chosen[next++];
        if (name != "searchtheweb" && name != "highlight" && name != "options")
            menus.push_back({window, name == "popupblocker" ? "popup-blocker" : name});
    }
    return menus;
}

bool IsKeyMessage(const MSG& msg) { return msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST; }

int RunDemo(const std::string& pictures) {
    const std::string folder = ProgramFolder();
    HMODULE module = ::LoadLibraryA((folder + "Solvane.dll").c_str());
    if (!module) {
        std::fprintf(stderr, "demo: Solvane.dll could not be loaded from %s\n", folder.c_str());
        return 2;
    }
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(::GetProcAddress(module, "DllGetClassObject")));
    auto canUnloadNow = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(::GetProcAddress(module, "DllCanUnloadNow")));

    ComPtr<zrdemo::DemoBrowser> browser;
    browser.Attach(new zrdemo::DemoBrowser());
    HWND frame = zrdemo::CreateFrame(*browser.Get());
    if (!frame) {
        std::fprintf(stderr, "demo: the browser window could not be made\n");
        return 2;
    }
    zrtest::FakeBandSite site(frame, ComPtr<zrtest::FakeBrowser>(browser.Get()));

    // As the browser does: the band from its class, sited, asked for its window and size, shown.
    ComPtr<IClassFactory> factory;
    ComPtr<IDeskBand> band;
    ComPtr<IObjectWithSite> sited;
    ComPtr<IInputObject> input;
    HWND bandWindow = nullptr;
    if (!getClassObject || FAILED(getClassObject(kBandClass, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()))) ||
        FAILED(factory->CreateInstance(nullptr, IID_IDeskBand, reinterpret_cast<void**>(band.GetAddressOf()))) ||
        FAILED(band.As(&sited)) || FAILED(band.As(&input)) || FAILED(sited->SetSite(static_cast<IOleWindow*>(&site))) ||
        FAILED(band->GetWindow(&bandWindow))) {
        std::fprintf(stderr, "demo: the toolbar band could not be made\n");
        return 2;
    }
    factory.Reset();
    DESKBANDINFO info{};
    info.dwMask = DBIM_MINSIZE;
    band->GetBandInfo(1, DBIF_VIEWMODE_NORMAL, &info);
    zrdemo::SetBandWindow(frame, bandWindow, info.ptMinSize.y);
    band->ShowDW(TRUE);
    zrdemo::SetOnClose(frame, [&] {
        band->ShowDW(FALSE);
        band->CloseDW(0);
        sited->SetSite(nullptr);
        input.Reset();
        sited.Reset();
        band.Reset();
    });
    ::ShowWindow(frame, SW_SHOW);
    ::SetForegroundWindow(frame);

    std::unique_ptr<zrdemo::Tour> tour;
    if (!pictures.empty()) {
        ::CreateDirectoryA(pictures.c_str(), nullptr);
        Windows bar;
        ::EnumChildWindows(bandWindow, &Collect, reinterpret_cast<LPARAM>(&bar));
        tour = std::make_unique<zrdemo::Tour>(frame, bar.searchEdit, MenuButtons(bar, folder), pictures);
        tour->Start();
    }

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // As a browser does for its bands: keys go to the band first, and what it leaves is the browser's.
        if (input && IsKeyMessage(msg) && input->TranslateAcceleratorIO(&msg) == S_OK) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (canUnloadNow && canUnloadNow() == S_OK) ::FreeLibrary(module);
    if (tour && !tour->Missed().empty()) {
        std::fprintf(stderr, "demo: %zu pictures missing\n", tour->Missed().size());
        return 1;
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    ::OleInitialize(nullptr);
    int result = 2;
    try {
        result = RunDemo(ScreenshotFolder(commandLine ? commandLine : ""));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo: %s\n", error.what());
    }
    ::OleUninitialize();
    return result;
}
