#include "merge/MergeState.h"

#include "foundation/AMState.h"
#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "platform/Services.h"

namespace merge {
namespace {

using foundation::TEIIniFile;

constexpr const char* kBandForm = "TBandForm";
constexpr const char* kStateVersion = "StateVersion_Value";
constexpr const char* kToolbarItems = "TBandForm.AMToolbarOptions_Items";

}  // namespace

bool EnsureUserSettingsFile() {
    auto& files = platform::Files();
    const std::string user = foundation::CurrentUserSettingsFileName();
    if (files.FileExists(user)) return true;
    for (const char* seed : {InstallSettingsFile, TemplateSettingsFile}) {
        const std::string source = foundation::PathInModuleFolder(seed);
        if (files.FileExists(source)) {
            foundation::CopyFileChecked(source, user, false);
            return true;
        }
    }
    return false;
}

std::unique_ptr<TEIIniFile> OpenTemplateSettings() {
    return std::make_unique<TEIIniFile>(foundation::PathInModuleFolder(TemplateSettingsFile));
}

std::unique_ptr<TEIIniFile> OpenUserSettings() {
    return std::make_unique<TEIIniFile>(foundation::CurrentUserSettingsFileName());
}

int ReadStateVersion(TEIIniFile& file) { return file.ReadInteger(kBandForm, kStateVersion, 0); }

void WriteStateVersion(TEIIniFile& file, int version) { file.WriteInteger(kBandForm, kStateVersion, version); }

int MergeSection(TEIIniFile& templ, TEIIniFile& user, const std::string& section, bool force) {
    rt::TStringList keys;
    templ.ReadSection(section, keys);
    int written = 0;
    for (int i = 0; i < keys.Count(); ++i) {
        const std::string value = templ.ReadString(section, keys[i], "");
        const std::string current = user.ReadString(section, keys[i], "");
        if (!force && !current.empty()) continue;
        // What the user already holds is not written again, so a merge that
        // adds nothing leaves the file alone.
        if (current == value && user.ValueExists(section, keys[i])) continue;
        user.WriteString(section, keys[i], value);
        ++written;
    }
    return written;
}

void MergeNewState() {
    auto& watcher = foundation::BugWatcher();
    watcher.BeginGroup("MergeNewState");
    try {
        auto templ = OpenTemplateSettings();
        auto user = OpenUserSettings();
        // One merge at a time per user file: a second process waits and then
        // finds the versions equal.
        foundation::ScopedIniLock lock(user->FileName());
        const int userVersion = ReadStateVersion(*user);
        const int templateVersion = ReadStateVersion(*templ);
        watcher.TraceFmt("StateFromUserIni:%d, StateFromTemplate:%d", {userVersion, templateVersion});
        if (userVersion < templateVersion) {
            watcher.Log("Merging...");
            int changes = MergeSection(*templ, *user, kBandForm, false);
            changes += MergeSection(*templ, *user, "DomainsAllowedPopups", false);
            changes += MergeSection(*templ, *user, "OverriddenValues", true);
            if (user->KeyCount(kToolbarItems) == 0 && templ->KeyCount(kToolbarItems) > 0) {
                user->CopySection(kToolbarItems, *templ, false);
                ++changes;
            }
            // A merge that adds nothing leaves the file untouched: moving the
            // counter would make every open window reload for nothing, and
            // repeating it later costs nothing.
            if (changes > 0) {
                // Written last: a merge cut short keeps the old version and runs again.
                WriteStateVersion(*user, templateVersion);
                // Open windows reload before they next save, so the merge stays.
                foundation::MoveSaveCount(*user, kBandForm);
            }
        } else {
            watcher.Log("Not merging...");
        }
    } catch (...) {
        watcher.EndGroup();
        throw;
    }
    watcher.EndGroup();
}

void RunStartupMerge() {
    // Creating the file and merging it is one step for concurrent starts.
    foundation::ScopedIniLock lock(foundation::CurrentUserSettingsFileName());
    if (EnsureUserSettingsFile()) MergeNewState();
}

}  // namespace merge
