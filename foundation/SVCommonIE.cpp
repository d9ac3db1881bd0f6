#include "foundation/SVCommonIE.h"

#include "foundation/EIFunctionsBase.h"
#include "platform/Services.h"

namespace foundation {
namespace {

constexpr const char* kDisableScriptDebugger = "Disable Script Debugger";
constexpr const char* kErrorDialogOnEveryError = "Error Dlg Displayed On Every Error";

std::unique_ptr<rt::TRegistry> OpenCurrentUserKey(const std::string& path) {
    auto registry = std::make_unique<rt::TRegistry>();
    registry->SetRootKey(platform::RegRoot::CurrentUser);
    if (!registry->OpenKey(path, true))
        throw rt::ERegistryException(rt::Format("Failed to get data for '%s'", {path}));
    return registry;
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

}  // namespace

std::unique_ptr<rt::TRegistry> OpenBrowserMainKey() { return OpenCurrentUserKey(BrowserMainKey); }
std::unique_ptr<rt::TRegistry> OpenBrowserToolbarKey() { return OpenCurrentUserKey(BrowserToolbarKey); }

bool IsBrowserMainYes(const std::string& name) {
    try {
        return rt::SameText(OpenBrowserMainKey()->ReadString(name), "YES");
    } catch (const rt::ERegistryException&) {
        return false;  // a value that is not text is no "yes"; the next write of it repairs it
    }
}

void WriteBrowserMainText(const std::string& name, const std::string& text) {
    OpenBrowserMainKey()->WriteString(name, text);
}

void WriteBrowserMainFlag(const std::string& name, bool value, bool asRegistryBoolean) {
    auto key = OpenBrowserMainKey();
    if (asRegistryBoolean) key->WriteBool(name, value);
    else key->WriteString(name, YesNo(value));
}

void SetScriptErrorsShown(bool value) {
    auto key = OpenBrowserMainKey();
    key->WriteString(kDisableScriptDebugger, YesNo(!value));
    key->WriteString(kErrorDialogOnEveryError, YesNo(value));
}

bool AreScriptErrorsShown() {
    return !(IsBrowserMainYes(kDisableScriptDebugger) && !IsBrowserMainYes(kErrorDialogOnEveryError));
}

bool AskDisableScriptWarnings() {
    return AskYesNo("Zephyra - Popup Blocker",
                    "Some web sites may display errors if popups from their sites are blocked.\r"
                    "These errors can be avoided by disabling Internet Explorer's script warnings.\r\r"
                    "Disable script warnings to avoid this problem ?");
}

void BroadcastSettingChange() { platform::Windows().BroadcastSettingChange("windows"); }

}  // namespace foundation
