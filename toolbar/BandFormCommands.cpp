// The toolbar form's menus and the commands that are not about searching:
// the main menu, the browser-tools identifiers of menu items, the popup
// blocker's button and menu, Highlight, and what a loaded page changes.
#include "foundation/AMState.h"
#include "foundation/SVCommon.h"
#include "platform/Clipboard.h"
#include "platform/Services.h"
#include "runtime/Menus.h"
#include "runtime/SysUtils.h"
#include "toolbar/AboutForm.h"
#include "toolbar/BandForm.h"
#include "toolbar/plgBrowserTools.h"

namespace toolbar {

namespace {

// Messages the edit entries send to the focused window.
constexpr unsigned kWmCut = 0x0300;
constexpr unsigned kWmCopy = 0x0301;
constexpr unsigned kWmPaste = 0x0302;
constexpr unsigned kWmClear = 0x0303;
constexpr unsigned kEmUndo = 0x00C7;

struct TToolCommand {
    const char* id;
    void (*run)(TplgBrowserTools& tools);
};

// Menu items with these identifiers run a browser tool instead of opening their URL.
const TToolCommand kToolCommands[] = {
    {"{DE420CD9-E7D5-4697-9C7A-174994D33D1E}", [](TplgBrowserTools& t) { t.ViewSource(); }},
    {"{DACEEB15-DF83-42D4-A456-3CB7CE2D86FA}", [](TplgBrowserTools& t) { t.CloseAllBrowserWindows(); }},
    {"{91F22796-9967-4EFC-A789-B18494EB40FA}", [](TplgBrowserTools& t) { t.ToggleImages(); }},
    {"{403E5415-71F1-444D-B737-140434C964BA}", [](TplgBrowserTools& t) { t.SetCurrentPageAsHomePage(); }},
    {"{37287279-6249-45F7-88C3-C81B0C2C25A3}", [](TplgBrowserTools& t) { t.HighlightLinks(); }},
    {"{0F9EF7F5-A7F0-4AE2-9DC4-A6C84EE56D5A}", [](TplgBrowserTools& t) { t.ResizeBrowserWindow(240, 320); }},
    {"{BBB6CEBA-3CCA-44B7-9172-B61CEA34D8BA}", [](TplgBrowserTools& t) { t.ResizeBrowserWindow(544, 372); }},
    {"{16D22110-98E1-4FE2-8CED-711F4428531C}", [](TplgBrowserTools& t) { t.ResizeBrowserWindow(640, 480); }},
    {"{02E9E447-A39D-47DD-8EB6-17412A38A3AD}", [](TplgBrowserTools& t) { t.ResizeBrowserWindow(800, 600); }},
    {"{C0005381-274A-493C-8F47-12752F8F831E}", [](TplgBrowserTools& t) { t.ResizeBrowserWindow(1024, 768); }},
    {"{C02D52F5-0569-4FF5-BB3F-CCA67D407471}", [](TplgBrowserTools& t) { t.ResizeBrowserWindow(1280, 1024); }},
    {"{BEBF259D-F9C8-4705-91DD-D39269FD8D9A}", [](TplgBrowserTools& t) { t.ResizeBrowserWindow(1600, 1200); }},
};

}  // namespace

rt::TMenuItem* TBandForm::AddItem(rt::TMenu& menu, const char* name, const char* caption,
                                  std::function<void()> action, const char* shortCut) {
    auto* item = new rt::TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    if (shortCut) item->SetShortCut(rt::TextToShortCut(shortCut));
    if (action) item->OnClick = [action = std::move(action)](rt::TObject*) { action(); };
    menu.Items()->Add(item);
    return item;
}

void TBandForm::SendToFocused(unsigned message) {
    rt::TWinControl* focused = ActiveControl();
    platform::Windows().SendMessage(focused ? rt::UiBackend().FocusHandleOf(*focused) : 0, message, 0, 0);
}

void TBandForm::UpdateEditCommands() {
    rt::TWinControl* focused = ActiveControl();
    rt::TTextEditState field;
    const bool editable = focused && rt::UiBackend().TextEditStateOf(*focused, field);
    const bool selection = editable && field.selLength > 0;
    mnuCut->SetEnabled(selection);
    mnuCopy->SetEnabled(selection);
    mnuDelete->SetEnabled(selection);
    mnuUndo->SetEnabled(editable && field.canUndo);
    bool pasteable = false;
    try {
        pasteable = editable && platform::Clipboard().HasText();
    } catch (const std::exception&) {
    }
    mnuPaste->SetEnabled(pasteable);
}

void TBandForm::BuildMenus() {
    mnuMain = new TAMPopupMenu(this);
    mnuMain->SetName("mnuMain");
    AddItem(*mnuMain, "ContactUs1", "&Contact us...", [this] { Controller().ContactUs(); });
    AddItem(*mnuMain, "Reportabug1", "&Report a bug...", [this] { Controller().ReportABug(); });
    AddItem(*mnuMain, "Suggestafeature1", "&Suggest a feature...", [this] { Controller().SuggestAFeature(); });
    AddItem(*mnuMain, "Tellafriend1", "&Tell a friend about Zephyra...", [this] { Controller().TellAFriend(); });
    AddItem(*mnuMain, "AMMenuItem1", "-", nullptr);
    mnuHelpForZephyra =
        AddItem(*mnuMain, "mnuHelpForZephyra", "&Help for Zephyra...", [this] { Controller().GotoHelpPage(); });
    AddItem(*mnuMain, "GototheZephyrahomepage1", "&Goto the Zephyra homepage...", [this] { Controller().HomePage(); });
    mnuWhatsNew = AddItem(*mnuMain, "mnuWhatsNew", "&What's new in Zephyra ?", [this] { ShowWhatsNew(); });
    AddItem(*mnuMain, "N1", "-", nullptr);
    mnuPreferences = AddItem(*mnuMain, "mnuPreferences", "&Preferences...", [this] { ShowPreferences(); });
    mnuRenova = AddItem(*mnuMain, "mnuRenova", "Check for an update to Zephyra...", [this] { RunUpdater(false); });
    AddItem(*mnuMain, "N1ab", "-", nullptr);
    AddItem(*mnuMain, "Caption1", "&About...", [this] { ShowAboutAndGo(); });

    mnuSearch = new TAMPopupMenu(this);
    mnuSearch->SetName("mnuSearch");
    mnuCut = AddItem(*mnuSearch, "Cut1", "Cu&t", [this] { SendToFocused(kWmCut); }, "Ctrl+X");
    mnuCopy = AddItem(*mnuSearch, "Copy1", "&Copy", [this] { SendToFocused(kWmCopy); }, "Ctrl+C");
    mnuPaste = AddItem(*mnuSearch, "Paste1", "&Paste", [this] { SendToFocused(kWmPaste); }, "Ctrl+V");
    mnuDelete = AddItem(*mnuSearch, "Delete1", "&Delete", [this] { SendToFocused(kWmClear); }, "Del");
    mnuUndo = AddItem(*mnuSearch, "Undo1", "&Undo", [this] { SendToFocused(kEmUndo); }, "Ctrl+Z");
    // Also run before a shortcut is looked up: a disabled entry leaves its
    // key to the field (Delete without a selection deletes a character).
    mnuSearch->OnPopup = [this](rt::TObject*) { UpdateEditCommands(); };
    AddItem(*mnuSearch, "N2", "-", nullptr);
    AddItem(*mnuSearch, "ManageSearchHistory1", "&Manage Search History", [this] { ManageSearchHistory(); });
    AddItem(*mnuSearch, "ClearSearchHistory1", "Clear &Search History", [this] { ClearSearchHistory(); });
    AddItem(*mnuSearch, "N3", "-", nullptr);
    AddItem(*mnuSearch, "CustomizeToolbar1", "&Customize Toolbar...", [this] { ShowPreferences(); });

    imgBlockPopups = new rt::TImageList(this);
    imgBlockPopups->SetName("imgBlockPopups");
    imgBlockPopups->SetSize(18, 15);
    imgBlockPopups->SetResource("IMGBLOCKPOPUPS", 3);
    mnuBlockPopups = new TAMPopupMenu(this);
    mnuBlockPopups->SetName("mnuBlockPopups");
    mnuBlockPopups->SetImages(imgBlockPopups);
    mnuBlockPopupsAllowPopups =
        AddItem(*mnuBlockPopups, "mnuBlockPopupsAllowPopups", "&Block ALL Popups", [this] { SetBlockingPopups(true); });
    mnuBlockPopupsAllowPopups->SetImageIndex(0);
    mnuBlockPopupsDisablePopups = AddItem(*mnuBlockPopups, "mnuBlockPopupsDisablePopups", "&Allow ALL Popups",
                                          [this] { SetBlockingPopups(false); });
    mnuBlockPopupsDisablePopups->SetImageIndex(1);
    AddItem(*mnuBlockPopups, "mnuBlockPopupsSep", "-", nullptr);
    mnuBlockPopupsHelp =
        AddItem(*mnuBlockPopups, "mnuBlockPopupsHelp", "&Popup Blocker Quick Help", [this] { ShowPopupBlockerHelp(); });
    mnuBlockPopupsHelp->SetImageIndex(2);

    mnuBrowserTools = new TAMPopupMenu(this);
    mnuBrowserTools->SetName("mnuBrowserTools");
    mnuBrowserTools->OnPopup = [this](rt::TObject*) { mnuDisableImages->SetChecked(!BrowserTools().ImagesShown()); };
    AddItem(*mnuBrowserTools, "mnuViewSource", "&View Source", [this] { BrowserTools().ViewSource(); });
    mnuDisableImages =
        AddItem(*mnuBrowserTools, "mnuDisableImages", "&Disable Images", [this] { BrowserTools().ToggleImages(); });
    AddItem(*mnuBrowserTools, "mnuSetHomePage", "&Set Home Page", [this] { BrowserTools().SetCurrentPageAsHomePage(); });
    AddItem(*mnuBrowserTools, "mnuHighlightLinks", "&Highlight Links in Page",
            [this] { BrowserTools().HighlightLinks(); });
    AddItem(*mnuBrowserTools, "mnuCloseAllBrowserWindows", "&Close all browser windows",
            [this] { BrowserTools().CloseAllBrowserWindows(); });

    BuildDebugMenu();
}

// ------------------------------------------------------------ commands

bool TBandForm::RunToolCommand(const std::string& id) {
    for (const TToolCommand& command : kToolCommands) {
        if (!rt::SameText(id, command.id)) continue;
        command.run(BrowserTools());
        return true;
    }
    return false;
}

void TBandForm::SetBlockingPopups(bool blocking) {
    BlockingPopups->SetAsBoolean(blocking);
    SaveState();
    UpdatePopupBlockerGlyph();
}

void TBandForm::UpdatePopupBlockerGlyph() {
    // The setting as stored, so that a change another window made shows here too.
    btnPopupBlocker->SetGlyphResource(foundation::IsBlockingPopups() ? "POPUP_BLOCKED" : "POPUP_ALLOWED");
}

void TBandForm::HighlightSearchTerms() {
    try {
        Controller().ShowOccurrencesOfWords(Controller().GetstrSearchTerms(), btnHighlight->Down());
    } catch (const std::exception&) {
    }
}

void TBandForm::HighlightClick() {
    if (btnHighlight->Down()) HighlightSearchTerms();
    else if (Controller().GetstrSearchTerms().Count() > 0) Controller().RefreshFromCache();
}

void TBandForm::PageLoaded(const TDispatch& frame) {
    if (Controller().IsTopWindow(frame.get())) {
        if (btnHighlight->Down()) HighlightSearchTerms();
        UpdatePopupBlockerGlyph();
    }
    btnUp->MenuDirty = true;
}

void TBandForm::ShowAboutAndGo() {
    const std::string link = ShowAbout();
    if (!link.empty()) Controller().GotoSpecialUrl(link);
}

}  // namespace toolbar
