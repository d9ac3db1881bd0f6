// ZephyraDemo.exe: the toolbar in a browser window of its own, for a person
// to click through, or, with --screenshots <folder>, a tour that saves a
// picture of the toolbar, each menu and each dialog, then ends.
//
// It runs from a folder that holds the installation's data (Data\, Media\,
// settings_template.ini): the user's settings file is made from the template
// there, as the installed toolbar's is.
#include "platform/win32/Win32Api.h"

#include <ole2.h>

#include <cstdio>
#include <memory>
#include <string>

#include "DemoBrowser.h"
#include "DemoTour.h"
#include "foundation/SVCommon.h"
#include "merge/MergeState.h"
#include "platform/win32/Win32Browser.h"
#include "platform/win32/ui/UiGdi.h"
#include "platform/win32/ui/Win32UiBackend.h"
#include "toolbar/BandForm.h"
#include "toolbar/controls/win32/ToolbarPeers.h"
#include "toolbar/win32/ConnectionPointSource.h"

namespace {

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

bool IsKeyMessage(const MSG& msg) { return msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST; }

int RunDemo(const std::string& folder) {
    if (!platform::win32::ui::InstallWin32UiBackend()) {
        std::fprintf(stderr, "demo: this display cannot make windows\n");
        return 2;
    }
    toolbar::win32::RegisterToolbarPeers();
    merge::RunStartupMerge();
    foundation::ChooseUserSettingsFile();
    toolbar::BandModuleLoaded();

    Microsoft::WRL::ComPtr<zrdemo::DemoBrowser> browser;
    browser.Attach(new zrdemo::DemoBrowser());
    toolbar::SetBrowserEventSourceProvider(&toolbar::win32::EventSourceOf);
    HWND frame = zrdemo::CreateFrame(*browser.Get());
    if (!frame) {
        std::fprintf(stderr, "demo: the browser window could not be made\n");
        return 2;
    }
    rt::Application().Handle = reinterpret_cast<std::uintptr_t>(frame);

    auto form = std::make_unique<toolbar::TBandForm>(nullptr, reinterpret_cast<std::uintptr_t>(frame));
    form->SetBrowser(platform::win32::BrowserFrom(browser.Get()));
    form->RestoreState();
    if (form->edtSearch->Items().Count() == 0) {  // something for the history editor to show
        form->edtSearch->Items().SetStrings({"blue owls", "city parks at night", "weather tomorrow"});
        form->SaveState();
    }
    HWND band = reinterpret_cast<HWND>(rt::UiBackend().HandleOf(*form));
    zrdemo::SetBandWindow(frame, band, platform::win32::ui::Scale(form->Panel2->Height() + form->Panel1->Height()));
    zrdemo::SetOnClose(frame, [&form] { form.reset(); });
    form->Show();
    ::ShowWindow(frame, SW_SHOW);
    ::SetForegroundWindow(frame);

    std::unique_ptr<zrdemo::Tour> tour;
    if (!folder.empty()) {
        ::CreateDirectoryA(folder.c_str(), nullptr);
        tour = std::make_unique<zrdemo::Tour>(*form, frame, folder);
        tour->Start();
    }

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // As a browser does for its bands: keys for the toolbar's windows go
        // to it first, and what it leaves is the browser's.
        if (form && IsKeyMessage(msg) && band && (msg.hwnd == band || ::IsChild(band, msg.hwnd))) {
            const toolbar::TMsg key{reinterpret_cast<platform::WindowHandle>(msg.hwnd), msg.message, msg.wParam,
                                    msg.lParam};
            if (form->FilterAccelerator(key) == S_OK) continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    form.reset();
    toolbar::SetBrowserEventSourceProvider(nullptr);
    toolbar::BandModuleUnloading();
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
