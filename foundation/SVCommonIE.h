#pragma once
// The browser's own settings in the current user's registry.
#include <memory>
#include <string>

#include "runtime/Registry.h"

namespace foundation {

inline constexpr const char* BrowserMainKey = "\\Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr const char* BrowserToolbarKey = "\\Software\\Microsoft\\Internet Explorer\\Toolbar";

// The keys under the current user, created when missing. Registry errors
// reach the caller.
std::unique_ptr<rt::TRegistry> OpenBrowserMainKey();
std::unique_ptr<rt::TRegistry> OpenBrowserToolbarKey();

bool IsBrowserMainYes(const std::string& name);
void WriteBrowserMainText(const std::string& name, const std::string& text);
// A registry boolean, or the text "yes"/"no".
void WriteBrowserMainFlag(const std::string& name, bool value, bool asRegistryBoolean);
void SetScriptErrorsShown(bool value);
bool AreScriptErrorsShown();
bool AskDisableScriptWarnings();
// Tells every top-level window that the "windows" settings changed.
void BroadcastSettingChange();

}  // namespace foundation
