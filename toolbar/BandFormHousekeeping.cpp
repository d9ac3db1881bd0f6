// The toolbar form's housekeeping: the updater's version and schedule, the
// user's first run, the what's-new button, the help commands and the
// hidden debug menu.
#include <atomic>

#include "foundation/CommandLine.h"

#include "foundation/EIFunctionsBase.h"
#include "foundation/EIFunctionsBaseCtrls.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "foundation/SVDebug.h"
#include "platform/Clipboard.h"
#include "platform/Services.h"
#include "runtime/Dialogs.h"
#include "runtime/Format.h"
#include "runtime/SysUtils.h"
#include "toolbar/BandForm.h"

namespace toolbar {

namespace {

// The process's first run is marked done by one window only.
std::atomic<bool> firstRunPending{true};

constexpr int kShowNormal = 1;     // SW_SHOWNORMAL
constexpr int kShowMaximized = 3;  // SW_SHOWMAXIMIZED

// A folder as one quoted argument, without the trailing "\\" that would read
// as escaping the closing quote.
std::string FolderArgument(std::string folder) {
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return foundation::QuoteArgument(folder);
}

// Brakel's command: the uninstaller and its log, each quoted, since the
// installation folder ("Program Files") holds a blank.
std::string UninstallArguments() {
    return foundation::QuoteArgument(foundation::PathInModuleFolder("unwise.exe")) + " " +
           foundation::QuoteArgument(foundation::PathInModuleFolder("install.log"));
}

}  // namespace

bool FirstRunPending() { return firstRunPending.load(); }
void SetFirstRunPending(bool pending) { firstRunPending.store(pending); }

void TBandForm::BuildHousekeeping() {
    tmrRenova = new rt::TTimer(this);
    tmrRenova->SetName("tmrRenova");
    tmrRenova->SetInterval(60000);
    tmrRenova->SetOnTimer([this](rt::TObject*) { RenovaTimer(); });
    tmrFirstTime = new rt::TTimer(this);
    tmrFirstTime->SetName("tmrFirstTime");
    tmrFirstTime->SetInterval(4000);
    tmrFirstTime->SetOnTimer([this](rt::TObject*) { FirstTimeTimer(); });
    OnMouseMove = [this](rt::TObject*, rt::TShiftState, int, int) {
        // Once per form from this source: the handler takes itself away.
        OnMouseMove = nullptr;
        MarkFirstRunDone();
    };
}

void TBandForm::RenovaTimer() {
    tmrRenova->SetEnabled(false);
    MarkFirstRunDone();
    RunSilentUpdateCheck();
}

void TBandForm::FirstTimeTimer() {
    tmrFirstTime->SetEnabled(false);
    MarkFirstRunDone();
}

// ------------------------------------------------------------ the updater

void TBandForm::SyncUpdaterVersion() {
    try {
        foundation::TEIIniFile ini(foundation::PathInModuleFolder("Renova.ini"));
        const std::string version = rt::Trim(foundation::FileVersionText(""));
        if (!rt::SameText(rt::Trim(ini.ReadString("ProductInfo", "version", "")), version))
            ini.WriteString("ProductInfo", "version", version);
    } catch (const std::exception&) {
    }
}

void TBandForm::RunUpdater(bool silent) {
    try {
        foundation::RunProgram(foundation::PathInModuleFolder("Renova.exe"), silent ? "/S" : "", kShowNormal);
    } catch (const std::exception&) {
    }
}

int TBandForm::UpdateIntervalDays() {
    const int days = UpdateFrequency->AsInteger();
    return days <= 0 ? 1 : days;
}

std::string TBandForm::SilentCheckDate() { return foundation::SilentUpdateCheckDate(); }

void TBandForm::SetSilentCheckDate(const std::string& date) { foundation::SetSilentUpdateCheckDate(date); }

bool TBandForm::ShouldRenova() {
    return foundation::DaysApartAtLeast(UpdateIntervalDays(), SilentCheckDate(), foundation::TodayText());
}

void TBandForm::RunSilentUpdateCheck() {
    if (!ShouldRenova()) return;
    // Recorded first: a start that fails is not tried again before the interval has passed.
    SetSilentCheckDate(foundation::TodayText());
    RunUpdater(true);
}

// ------------------------------------------------------------ first run, news

void TBandForm::MarkFirstRunDone() {
    if (!firstRunPending.load() || !foundation::IsFirstTime()) return;
    bool expected = true;
    if (firstRunPending.compare_exchange_strong(expected, false)) foundation::SetFirstTime(false);
}

void TBandForm::UpdateWhatsNewButton() {
    btnWhatsNew->SetVisible(foundation::IsWhatsNewOverridden());
    foundation::FitPanelToChildren(*barMain);
}

void TBandForm::ShowWhatsNew() {
    foundation::RunProgram(foundation::PathInModuleFolder("whatsnew.html"), "", kShowMaximized);
    foundation::SetWhatsNewOverridden(false);
    UpdateWhatsNewButton();
}

void TBandForm::ShowPopupBlockerHelp() {
    foundation::RunProgram(foundation::PathInModuleFolder("Notelle.exe"), "POPUPBLOCKERHELP", kShowNormal);
}

// ------------------------------------------------------------ the debug menu

void TBandForm::ButtonPanelClick() {
    if (!foundation::IsDebugMode()) return;
    btnMain->ShowMenuAtCursor(*mnuDebug);
}

void TBandForm::ShowUpdateCheckInfo() {
    rt::ShowMessage(rt::Format("ShouldRenova: %s\r\rNumberOfDaysToWait: %d\rLastCheckDate:%s\rTodaysDate: %s",
                               {foundation::BoolToText(ShouldRenova()), UpdateIntervalDays(), SilentCheckDate(),
                                foundation::TodayText()}));
}

void TBandForm::ShowLockInfo() {
    std::string info = rt::Format("Locked:%s, User:%s", {foundation::BoolToText(foundation::IsToolbarLocked()),
                                                          foundation::WindowsUserName()});
    // An input box, so that the text can be selected and copied; edits are dropped.
    platform::Dialogs().InputQuery("Info", "Info:", info);
}

void TBandForm::BuildDebugMenu() {
    mnuDebug = new TAMPopupMenu(this);
    mnuDebug->SetName("mnuDebug");
    mnuDebug->OnPopup = [this](rt::TObject*) { mnuDebugInstallDir->SetCaption(foundation::ModuleFolder()); };
    mnuDebugInstallDir = AddItem(*mnuDebug, "mnuDebugInstallDir", "Install at", [] {
        const std::string folder = foundation::ModuleFolder();
        platform::Clipboard().SetText(folder);
        // By full path: a bare name is looked for in the browser's current folder first.
        foundation::RunProgram(foundation::JoinPath(platform::SpecialFolders().WindowsFolder(), "explorer.exe"),
                               FolderArgument(folder), kShowMaximized);
    });
    AddItem(*mnuDebug, "mnuDebugShowIniFile", "&IniFile", [] {
        foundation::RunProgram(foundation::CurrentUserSettingsFileName(), "", kShowMaximized);
    });
    AddItem(*mnuDebug, "mnuDebugUnInstall", "Uninstall ZPH...", [] {
        foundation::RunProgram(foundation::PathInModuleFolder("Brakel.exe"), UninstallArguments(), kShowNormal);
    });
    AddItem(*mnuDebug, "mnuDebugShowWhatsNew", "&Show Whats New", [this] {
        foundation::SetWhatsNewOverridden(true);
        UpdateWhatsNewButton();
    });
    AddItem(*mnuDebug, "N11ab", "-", nullptr);
    AddItem(*mnuDebug, "mnuDebugSilentRenova", "&Silently check for update", [this] { RunSilentUpdateCheck(); });
    AddItem(*mnuDebug, "mnuShouldUpdateNow", "&Should check for update ?", [this] { ShowUpdateCheckInfo(); });
    AddItem(*mnuDebug, "mnuDebugSetSilentCheckDate", "&Clear silent check date ?", [this] {
        std::string date = SilentCheckDate();
        if (platform::Dialogs().InputQuery("Silent Check Date", "Date:", date)) SetSilentCheckDate(date);
        ShowUpdateCheckInfo();
    });
    AddItem(*mnuDebug, "N1a1ab", "-", nullptr);
    AddItem(*mnuDebug, "mnuDebugShowInfo", "Toolbars are Locked ?", [this] { ShowLockInfo(); });
    AddItem(*mnuDebug, "mnuDebugToggleToolbarLock", "Toggle Toolbar Lock", [this] {
        foundation::SetToolbarLocked(!foundation::IsToolbarLocked());
        ShowLockInfo();
    });
}

}  // namespace toolbar
