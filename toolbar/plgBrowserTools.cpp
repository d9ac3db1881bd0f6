#include "toolbar/plgBrowserTools.h"

#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "foundation/SVCommonIE.h"
#include "platform/Services.h"
#include "toolbar/EIShowHtmlMessageUnit.h"

namespace toolbar {
namespace {

constexpr const char* kInlineImages = "Display Inline Images";
constexpr const char* kWindowCloser = "Brakel.exe";

}  // namespace

const char* const TplgBrowserTools::LinksScript =
    "for(nIx5Bs=0;nIx5Bs<document.all.length;nIx5Bs++){if(document.all[nIx5Bs].tagName==\"A\"){with(document.all["
    "nIx5Bs].style){if(backgroundColor==\"yellow\"){void(backgroundColor=document.bgColor)}else{void("
    "backgroundColor=\"yellow\")}}}}";

bool TplgBrowserTools::ToggleImages() {
    try {
        const bool show = !foundation::IsBrowserMainYes(kInlineImages);
        foundation::WriteBrowserMainFlag(kInlineImages, show, false);
        foundation::WriteBrowserMainFlag("Display Inline Videos", show, false);
        foundation::WriteBrowserMainFlag("Play_Animations", show, false);
        foundation::WriteBrowserMainFlag("SmartDithering", show, true);
        // Every running browser window of the user takes the change from here.
        foundation::BroadcastSettingChange();
        Controller()->RefreshFromCache();
        return show;
    } catch (...) {
        foundation::RaisePageStillLoading();
    }
}

bool TplgBrowserTools::ImagesShown() { return foundation::IsBrowserMainYes(kInlineImages); }

void TplgBrowserTools::ViewSource() {
    try {
        ShowHtmlSource("View Source", Controller()->sGetSource(true), false);
    } catch (...) {
        foundation::RaisePageStillLoading();
    }
}

void TplgBrowserTools::SetCurrentPageAsHomePage() {
    const std::string title = Controller()->CurrentShortPageTitle();
    foundation::ConfirmFmtOrAbort("Would you like to set your home page to\\n\\n\"%s\" ?", {title});
    foundation::WriteBrowserMainText("Start Page", Controller()->CurrentPageUrl());
}

void TplgBrowserTools::HighlightLinks() {
    try {
        Controller()->execScript(LinksScript);
    } catch (const rt::Exception&) {
        foundation::RaisePageStillLoading();
    }
}

void TplgBrowserTools::ResizeBrowserWindow(int width, int height) {
    const auto& browser = Controller()->IE();
    if (!browser) throw rt::EOleException("There is no browser to work on");
    platform::WindowHandle window = 0;
    // Placing a maximised window would only change where it goes once restored.
    if (Controller()->AssignIEHwnd(window) && OleCall([&] { return browser->WindowMaximized(); }))
        OleCall([&] { browser->ShowWindowNormal(); });
    OleCall([&] { browser->SetLeft(0); });
    OleCall([&] { browser->SetTop(0); });
    OleCall([&] { browser->SetWidth(width); });
    OleCall([&] { browser->SetHeight(height); });
}

void TplgBrowserTools::CloseAllBrowserWindows() {
    foundation::ConfirmOrAbort("Are you sure you want to close all browser windows ?");
    try {
        // Quoted: unquoted, a folder name with spaces would let a program named
        // after its first word ("c:\Program.exe") start instead.
        const std::string commandLine = "\"" + foundation::PathInModuleFolder(kWindowCloser) + "\"";
        platform::Shell().Exec(commandLine, platform::show::Normal);
    } catch (...) {
        // The closer is optional: a missing or failing one is not the user's concern.
    }
}

}  // namespace toolbar
