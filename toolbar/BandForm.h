#pragma once
// The toolbar itself: one borderless form per browser window. It owns the
// browser controller, the two plug-ins and the browser event sink, lays the
// bar out from the user's choice of buttons, runs the search box and its
// history, keeps its values in the saved-value store, and filters the keys
// the browser hands its band. Its housekeeping (updates, first run, what's
// new, the debug menu) is in BandFormHousekeeping.cpp, the menus and
// commands in BandFormCommands.cpp.
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "foundation/AMState.h"
#include "runtime/ExtCtrls.h"
#include "runtime/Forms.h"
#include "runtime/Images.h"
#include "runtime/StdCtrls.h"
#include "toolbar/SHDocVwEvents.h"
#include "toolbar/controls/AMFlatButton.h"
#include "toolbar/controls/AMFlatComboBox.h"
#include "toolbar/controls/amsizepanel.h"
#include "toolbar/plgSolvane.h"

namespace toolbar {

class TplgBrowserTools;
class TplgPopupBlocker;

// ------------------------------------------------------------ the process

// The search box's text at the last save of any window; a restored window shows it.
std::string SharedSearchText();
void SetSharedSearchText(const std::string& text);

// True from the module's load until one window marks the user's first run done.
bool FirstRunPending();
void SetFirstRunPending(bool pending);

// The module's load and unload, on the loading thread (the band module
// initialises OLE itself around these): the shared search text is cleared,
// and the saved-value store is given the current user's settings file.
void BandModuleLoaded();
void BandModuleUnloading();

// How a form reaches the outgoing events of its browser (the band module
// installs the connection-point one; tests their own). Without a provider,
// or when it answers null, connecting fails and is tried again later.
using TBrowserEventSourceProvider =
    std::function<std::shared_ptr<IEventSource>(const std::shared_ptr<platform::IBrowser>& browser)>;
void SetBrowserEventSourceProvider(TBrowserEventSourceProvider provider);

// The hosts of the two search templates.
inline constexpr const char* WebSearchHost = "www.bing.com";
inline constexpr const char* MetaSearchHost = "www.zephyratoolbar.com";

// Shows an error that reached the message loop: the system's own errors
// (EIException) always, others only in debug mode; cancellations never.
void ShowApplicationError(const std::exception& error);

class TBandForm : public rt::TForm {
    RT_CLASS_SAME_PROPS(TBandForm, rt::TForm)
public:
    // With a parent window (the band site's) the form is made as its child.
    explicit TBandForm(rt::TComponent* owner, std::uintptr_t parentWindow = 0);
    ~TBandForm() override;

    // ------------------------------------------------ the band's calls
    void SetBrowser(std::shared_ptr<platform::IBrowser> browser);
    void RestoreState();
    // S_OK (0) when the form dispatched the key itself, S_FALSE (1) otherwise.
    int FilterAccelerator(const TMsg& msg);

    // ------------------------------------------------ layout and state
    void ApplyRestoredState();
    void ApplyToolbarOptions();
    // The button of an option name: dots removed, "btn" before it, found ignoring case.
    TAMFlatButton* FindToolbarButton(const std::string& name);
    void ApplyMRUItemCount();
    void SaveState();

    // ------------------------------------------------ search
    std::string GetSearchText();
    void SearchWeb();
    void SearchTheWebClick();
    void AddSearchToHistory();
    void ManageSearchHistory();
    void ClearSearchHistory();
    void ShowPreferences();

    // ------------------------------------------------ browser events
    // Tries a bounded number of times, then gives up until the next SetBrowser.
    void ConnectBrowserEvents();
    void DisconnectBrowserEvents();
    bool EventsConnected() const { return eventsConnected_; }
    static constexpr int MaxConnectAttempts = 50;

    // ------------------------------------------------ housekeeping
    void SyncUpdaterVersion();
    void RunUpdater(bool silent);
    int UpdateIntervalDays();
    std::string SilentCheckDate();
    void SetSilentCheckDate(const std::string& date);
    bool ShouldRenova();
    void RunSilentUpdateCheck();
    void MarkFirstRunDone();
    void UpdateWhatsNewButton();
    void ShowWhatsNew();
    void ShowUpdateCheckInfo();
    void ShowLockInfo();
    void ShowPopupBlockerHelp();
    // A click on an empty spot of the bar: the debug menu, in debug mode.
    void ButtonPanelClick();

    // ------------------------------------------------ commands
    // True when `id` names a browser-tools command (ignoring case) and it ran.
    bool RunToolCommand(const std::string& id);
    void UpdatePopupBlockerGlyph();
    void HighlightSearchTerms();
    void SetBlockingPopups(bool blocking);
    void ShowAboutAndGo();

    TSolvane& Controller() { return *controller_; }
    TplgBrowserTools& BrowserTools() { return *browserTools_; }
    TplgPopupBlocker& PopupBlocker() { return *popupBlocker_; }

    // ------------------------------------------------ components
    rt::TPanel* Panel2;
    rt::TPanel* Panel1;
    rt::TPanel* barMain;
    TAMFlatButton* btnMain;
    TAMFlatButton* btnWhatsNew;
    rt::TPanel* barPlugins;
    TAMSizePanel* SearchPanel;
    rt::TBevel* Bevel3;
    TAMFlatComboBox* edtSearch;
    rt::TPanel* ButtonPanel;
    TAMFlatButton* btnSearchTheWeb;
    TAMFlatButton* btnGoogle;
    TAMFlatButton* btnAmazon;
    TAMFlatButton* btnEbay;
    TAMFlatButton* btnEbayCa;
    TAMFlatButton* btneBaycouk;
    TAMFlatButton* btnOthers;
    TAMFlatButton* btnUp;
    TAMFlatButton* btnHighlight;
    TAMFlatButton* btnTools;
    TAMFlatButton* btnOptions;
    TAMFlatButton* btnPopupBlocker;

    foundation::TAMState* State;
    foundation::TAMSaveValue* MRUItemCount;
    foundation::TAMSaveValue* AutoSearchOnMRUSelect;
    foundation::TAMSaveValue* StateVersion;
    foundation::TAMSaveValue* UpdateFrequency;
    foundation::TAMSaveValue* PlaySoundWhenBlockingPopup;
    foundation::TAMSaveValue* ShowBlockedCursorWhenBlockingPopup;
    foundation::TAMSaveValue* BlockingPopups;
    foundation::TAMStringsHolder* AMToolbarAllOptions;
    foundation::TAMStringsHolder* AMToolbarAllOptionsDesc;
    foundation::TAMStringsHolder* AMToolbarOptions;
    foundation::TAMStringsHolder* AMOptions;

    TDWebBrowserEvents2* BrowserEvents;
    rt::TTimer* tmrRenova;
    rt::TTimer* tmrFirstTime;

    TAMPopupMenu* mnuMain;
    rt::TMenuItem* mnuHelpForZephyra;
    rt::TMenuItem* mnuWhatsNew;
    rt::TMenuItem* mnuPreferences;
    rt::TMenuItem* mnuRenova;
    TAMPopupMenu* mnuSearch;
    rt::TMenuItem* mnuCut;  // the edit entries of mnuSearch, enabled as they apply
    rt::TMenuItem* mnuCopy;
    rt::TMenuItem* mnuPaste;
    rt::TMenuItem* mnuDelete;
    rt::TMenuItem* mnuUndo;
    TAMPopupMenu* mnuBlockPopups;
    rt::TImageList* imgBlockPopups;
    rt::TMenuItem* mnuBlockPopupsAllowPopups;
    rt::TMenuItem* mnuBlockPopupsDisablePopups;
    rt::TMenuItem* mnuBlockPopupsHelp;
    TAMPopupMenu* mnuBrowserTools;
    rt::TMenuItem* mnuDisableImages;
    TAMPopupMenu* mnuDebug;
    rt::TMenuItem* mnuDebugInstallDir;

private:
    void BuildBar();
    void BuildButtons();
    void BuildSavedValues();
    void BuildMenus();
    void BuildHousekeeping();
    void BuildDebugMenu();
    TAMFlatButton* AddButton(const char* name, int width, const char* caption, const char* category);
    rt::TMenuItem* AddItem(rt::TMenu& menu, const char* name, const char* caption, std::function<void()> action,
                           const char* shortCut = nullptr);
    void SendToFocused(unsigned message);
    void UpdateEditCommands();

    void SearchButtonMenuItemClick(const std::string& url, const std::string& id);
    void SearchBoxKeyDown(unsigned short& key);
    void SearchBoxCloseUp();
    void HighlightClick();
    void PageLoaded(const TDispatch& frame);
    void RenovaTimer();
    void FirstTimeTimer();

    // Components of the form, freed by its destructor in this order: the
    // plug-ins, then the controller they work through.
    TplgBrowserTools* browserTools_ = nullptr;
    TplgPopupBlocker* popupBlocker_ = nullptr;
    TSolvane* controller_ = nullptr;
    bool eventsConnected_ = false;
    bool firstMouseMoveSeen_ = false;
};

}  // namespace toolbar
