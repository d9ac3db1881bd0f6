#pragma once
// The settings contract shared by the three modules: which files hold the
// settings, how a Windows user maps to a settings file, the named settings
// more than one module reads or writes, and the address helpers.
#include <memory>
#include <string>

#include "foundation/EIIniFilesUnit1.h"

namespace foundation {

// The machine-wide file (user table, toolbar visibility) and the per-user one.
inline constexpr const char* MachineSettingsFile = "Solvane.ini";
inline constexpr const char* UserSettingsFilePattern = "user_%s.ini";

std::string WindowsUserName();
// The user's number as decimal text, assigned 1, 2, 3 ... on first use; "1"
// when anything fails. An empty name means WindowsUserName().
std::string UserNumber(const std::string& userName = "");
std::string UserSettingsFileName(const std::string& number);
std::string CurrentUserSettingsFileName();
// Opens the current user's settings file as the module's shared instance
// (every module does this at load).
void ChooseUserSettingsFile();
// A module's shared state while its COM objects live: the user's settings
// file as the shared file, and the debug watcher. Opened with the first
// object, closed with the last (never from the module's entry point).
void OpenModuleState();
void CloseModuleState();
std::unique_ptr<TEIIniFile> OpenMachineSettings();
int UserCount();

bool IsFirstTime();
void SetFirstTime(bool value);
bool IsBlockingPopups();
// True exactly once per user: the first call also records that it happened.
bool TakeFirstTimeBlockingPopup();
bool PlaySoundWhenBlockingPopup();
bool ShowBlockedCursorWhenBlockingPopup();
bool IsToolbarVisible();
void SetToolbarVisible(bool value);
bool IsPopupAllowedForDomain(const std::string& url);
void AllowPopupsForDomain(const std::string& url);
void DisallowPopupsForDomain(const std::string& url);
// The date (TodayText) of the last silent update check; empty when none ran.
std::string SilentUpdateCheckDate();
void SetSilentUpdateCheckDate(const std::string& date);
bool IsWhatsNewOverridden();
void SetWhatsNewOverridden(bool value);
bool IsModifierKeyDown();

// The browser's toolbar lock, a registry boolean.
bool IsToolbarLocked();
void SetToolbarLocked(bool value);

// The host of an address as a URI splitter gives it; the address itself when
// it cannot be split.
std::string HostOfUrl(const std::string& url);
// The last two dot-separated parts of the host, so a site and all its
// sub-hosts share one key; the address itself for a host without a dot.
std::string DomainOfUrl(const std::string& url);
// Letters, digits, space and "-._" stay; every other byte becomes %XX.
std::string PercentEscape(const std::string& text);
// Fills "%%URL%%", "%%DOMAIN%%" and "%%SEARCH%%" (ignoring case).
std::string ExpandUrlTemplate(const std::string& urlTemplate, const std::string& url, const std::string& searchText);
bool DaysApartAtLeast(int days, const std::string& dateText1, const std::string& dateText2);
// The runtime's general error, of a kind of its own so that the form's error
// handler shows it to the user also outside debug mode.
class EPageStillLoading : public rt::Exception {
public:
    using rt::Exception::Exception;
};
[[noreturn]] void RaisePageStillLoading();

}  // namespace foundation
