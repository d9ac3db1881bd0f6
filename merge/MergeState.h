#pragma once
// Brings a user's settings file up to the installation's settings template
// without losing what the user set, and creates the file when it is missing.
#include <memory>
#include <string>

#include "foundation/EIIniFilesUnit1.h"

namespace merge {

inline constexpr const char* InstallSettingsFile = "settings.ini";
inline constexpr const char* TemplateSettingsFile = "settings_template.ini";

// True when the user's settings file exists afterwards (copied from
// "settings.ini" or else from the template when it was missing).
bool EnsureUserSettingsFile();
// Merges the template into the user's file when the user's settings version
// is lower than the template's.
void MergeNewState();
std::unique_ptr<foundation::TEIIniFile> OpenTemplateSettings();
std::unique_ptr<foundation::TEIIniFile> OpenUserSettings();
// "TBandForm"/"StateVersion_Value"; missing or not a number reads as 0.
int ReadStateVersion(foundation::TEIIniFile& file);
void WriteStateVersion(foundation::TEIIniFile& file, int version);
// Copies the template's keys of `section` into the user's file: every key
// with `force`, otherwise only keys the user lacks or has empty. Keys already
// holding the template's value are not written; answers how many were.
int MergeSection(foundation::TEIIniFile& templ, foundation::TEIIniFile& user, const std::string& section,
                  bool force);
// The start-up of a merging module: ensure the file, then merge.
void RunStartupMerge();

}  // namespace merge
