#include "foundation/SVCommon.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <utility>

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommonIE.h"
#include "platform/Services.h"
#include "runtime/DateUtils.h"

namespace foundation {
namespace {

constexpr const char* kUsers = "Users";
constexpr const char* kToolbar = "Toolbar";
constexpr const char* kBandForm = "TBandForm";
constexpr const char* kAllowedPopups = "DomainsAllowedPopups";

TEIIniFile& UserSettings() { return SharedIniFile(""); }

bool IsSchemeText(const std::string& text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    return true;
}

bool IsDigitsText(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// The table's values become file names: only 1 to 9 digits are a number.
bool IsUserNumberText(const std::string& text) { return text.size() <= 9 && IsDigitsText(text); }

}  // namespace

std::string WindowsUserName() {
    try {
        return platform::User().UserName().value_or("");
    } catch (...) {
        return "";
    }
}

std::string UserNumber(const std::string& userName) {
    try {
        const std::string name = userName.empty() ? WindowsUserName() : userName;
        auto machine = OpenMachineSettings();
        // Read and assign under the file's lock: two first runs at once must
        // not hand out the same number.
        ScopedIniLock lock(machine->FileName());
        std::string number = machine->ReadString(kUsers, name, "");
        // Anything but a number (a path, a sign, letters) counts as none.
        if (!IsUserNumberText(number)) {
            number = std::to_string(machine->KeyCount(kUsers) + 1);
            machine->WriteString(kUsers, name, number);
            // Writes swallow failures: a number that did not reach the file
            // would be handed out again to the next user.
            if (machine->ReadString(kUsers, name, "") != number) return "1";
        }
        return number;
    } catch (...) {
        return "1";
    }
}

std::string UserSettingsFileName(const std::string& number) {
    // The number comes from a file that any user may edit: never a path piece.
    return PathInModuleFolder(rt::Format(UserSettingsFilePattern, {IsUserNumberText(number) ? number : "1"}));
}

std::string CurrentUserSettingsFileName() { return UserSettingsFileName(UserNumber("")); }

void ChooseUserSettingsFile() { SharedIniFile(CurrentUserSettingsFileName()); }

void OpenModuleState() {
    ChooseUserSettingsFile();
    InitializeBugWatcher();
}

void CloseModuleState() {
    FinalizeBugWatcher();
    FreeSharedIniFile();
}

std::unique_ptr<TEIIniFile> OpenMachineSettings() {
    return std::make_unique<TEIIniFile>(PathInModuleFolder(MachineSettingsFile));
}

int UserCount() { return OpenMachineSettings()->KeyCount(kUsers); }

std::string SilentUpdateCheckDate() { return UserSettings().ReadString("ProductInfo", "SilentUpdateCheck", ""); }
void SetSilentUpdateCheckDate(const std::string& date) {
    UserSettings().WriteString("ProductInfo", "SilentUpdateCheck", date);
}

bool IsFirstTime() { return UserSettings().ReadBoolStr("App", "FirstTime", true); }
void SetFirstTime(bool value) { UserSettings().WriteBoolStr("App", "FirstTime", value); }
bool IsBlockingPopups() { return UserSettings().ReadBoolStr(kBandForm, "BlockingPopups_Value", false); }

bool TakeFirstTimeBlockingPopup() {
    TEIIniFile& settings = UserSettings();
    try {
        // Two windows blocking their first popup at once must not both see "first".
        ScopedIniLock lock(settings.FileName());
        const bool first = settings.ReadBoolStr(kBandForm, "FirstTimeBlockingPopup_Value", true);
        if (first) settings.WriteBoolStr(kBandForm, "FirstTimeBlockingPopup_Value", false);
        return first;
    } catch (...) {
        return false;
    }
}

bool PlaySoundWhenBlockingPopup() {
    return UserSettings().ReadBoolStr(kBandForm, "PlaySoundWhenBlockingPopup_Value", false);
}

bool ShowBlockedCursorWhenBlockingPopup() {
    return UserSettings().ReadBoolStr(kBandForm, "ShowBlockedCursorWhenBlockingPopup_Value", false);
}

bool IsToolbarVisible() {
    try {
        return OpenMachineSettings()->ReadBoolStr(kToolbar, "Visible", false);
    } catch (...) {
        return false;
    }
}

void SetToolbarVisible(bool value) { OpenMachineSettings()->WriteBoolStr(kToolbar, "Visible", value); }

namespace {

// The allowed-site key of an address, or empty when it cannot be a key of a
// settings file: an address without a host is its own key, and an "=", a
// line break, a NUL, a leading "[" or ";" or surrounding blanks would write
// another key or section than the one read back (and one that removing the
// site would not find).
std::string AllowedSiteKey(const std::string& url) {
    const std::string key = DomainOfUrl(url);
    if (key.empty() || key.find_first_of(std::string("=\r\n\0", 4)) != std::string::npos || key[0] == '[' ||
        key[0] == ';' || IsProfileBlank(key.front()) || IsProfileBlank(key.back()))
        return std::string();
    return key;
}

}  // namespace

bool IsPopupAllowedForDomain(const std::string& url) {
    const std::string key = AllowedSiteKey(url);
    return !key.empty() && UserSettings().ReadBoolStr(kAllowedPopups, key, false);
}

void AllowPopupsForDomain(const std::string& url) {
    const std::string key = AllowedSiteKey(url);
    if (!key.empty()) UserSettings().WriteString(kAllowedPopups, key, "True");
}

void DisallowPopupsForDomain(const std::string& url) {
    const std::string key = AllowedSiteKey(url);
    if (!key.empty()) UserSettings().DeleteKey(kAllowedPopups, key);
}

bool IsWhatsNewOverridden() { return UserSettings().ReadBoolStr("OverriddenValues", "WhatsNew", false); }
void SetWhatsNewOverridden(bool value) { UserSettings().WriteBoolStr("OverriddenValues", "WhatsNew", value); }

bool IsModifierKeyDown() {
    const rt::TShiftState state = CurrentShiftState();
    return state.Contains(rt::TShiftKey::Shift) || state.Contains(rt::TShiftKey::Alt) ||
           state.Contains(rt::TShiftKey::Ctrl);
}

bool IsToolbarLocked() {
    auto key = OpenBrowserToolbarKey();
    // A fresh profile has no "Locked" value yet: the toolbars are unlocked.
    return key->ValueExists("Locked") && key->ReadBool("Locked");
}

void SetToolbarLocked(bool value) { OpenBrowserToolbarKey()->WriteBool("Locked", value); }

std::string HostOfUrl(const std::string& url) {
    try {
        std::string rest;
        if (auto scheme = url.find("://"); scheme != std::string::npos && IsSchemeText(url.substr(0, scheme))) {
            rest = url.substr(scheme + 3);
        } else if (url.rfind("//", 0) == 0) {
            rest = url.substr(2);
        } else {
            // No "//": "about:blank" has no host, "example.com:8080/x" does.
            const auto colon = url.find(':');
            const auto pathStart = url.find_first_of("/?#");
            if (colon != std::string::npos && (pathStart == std::string::npos || colon < pathStart) &&
                !IsDigitsText(url.substr(colon + 1, pathStart == std::string::npos ? std::string::npos
                                                                                   : pathStart - colon - 1)))
                return "";
            rest = url;
        }
        std::string authority = rest.substr(0, rest.find_first_of("/?#\\"));
        if (auto at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
        if (!authority.empty() && authority[0] == '[') {
            const auto close = authority.find(']');
            return close == std::string::npos ? authority : authority.substr(0, close + 1);
        }
        return authority.substr(0, authority.find(':'));
    } catch (...) {
        return url;
    }
}

std::string DomainOfUrl(const std::string& url) {
    try {
        rt::TStringList parts;
        SplitText(HostOfUrl(url), ".", parts);
        if (parts.Count() < 2) return url;
        return parts[parts.Count() - 2] + "." + parts[parts.Count() - 1];
    } catch (...) {
        return url;
    }
}

std::string PercentEscape(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (unsigned char c : text) {
        if (std::isalnum(c) && c < 0x80) result += static_cast<char>(c);
        else if (c == ' ' || c == '-' || c == '.' || c == '_') result += static_cast<char>(c);
        else result += {'%', hex[c >> 4], hex[c & 15]};
    }
    return result;
}

std::string ExpandUrlTemplate(const std::string& urlTemplate, const std::string& url, const std::string& searchText) {
    // One pass over the template: what a placeholder is replaced by is never
    // searched again, so a page address holding "%%SEARCH%%" cannot receive
    // the user's search text.
    const std::pair<const char*, std::string> fills[] = {
        {"%%URL%%", url}, {"%%DOMAIN%%", PercentEscape(HostOfUrl(url))}, {"%%SEARCH%%", PercentEscape(searchText)}};
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = urlTemplate.find('%'); at != std::string::npos; at = urlTemplate.find('%', at)) {
        const std::pair<const char*, std::string>* fill = nullptr;
        for (const auto& candidate : fills)
            if (rt::SameText(urlTemplate.substr(at, std::strlen(candidate.first)), candidate.first)) fill = &candidate;
        if (!fill) {
            ++at;
            continue;
        }
        result.append(urlTemplate, from, at - from).append(fill->second);
        at += std::strlen(fill->first);
        from = at;
    }
    return result.append(urlTemplate, from, std::string::npos);
}

namespace {

// The dates compared are TodayText's month/day/year whatever the system's
// format: read in a day-first format, a check done today would be due again.
// A text not of that form is read in the system's short date format.
bool TryDateText(const std::string& text, rt::TDateTime& value) {
    return rt::TryStrToDate(text, value, "M/d/yyyy", '/') || rt::TryStrToDate(text, value);
}

}  // namespace

bool DaysApartAtLeast(int days, const std::string& dateText1, const std::string& dateText2) {
    rt::TDateTime first = 0, second = 0;
    if (!TryDateText(dateText1, first) || !TryDateText(dateText2, second)) return true;
    return std::ceil(std::fabs(first - second)) >= days;
}

void RaisePageStillLoading() {
    throw EPageStillLoading("This page is still being loaded.\r\rPlease try again once it has finished loading.");
}

}  // namespace foundation
