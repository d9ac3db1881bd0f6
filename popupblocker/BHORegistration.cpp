#include "popupblocker/BHORegistration.h"

#include "platform/Services.h"

namespace popupblocker {

std::string HelperClassKey() { return std::string("CLSID\\") + HelperClassId; }
std::string HelperBrowserObjectKey() { return std::string(BrowserHelperObjectsKey) + HelperClassId; }

bool UpdateHelperRegistry(bool doRegister, const std::string& serverPath) {
    using platform::RegRoot;
    using platform::RegValue;
    auto& registry = platform::Registry();
    const std::string server = HelperClassKey() + "\\InprocServer32";
    if (!doRegister) {
        // Removing what is not there is no failure: unregistering twice is harmless.
        registry.DeleteKey(RegRoot::ClassesRoot, HelperClassKey());
        registry.DeleteKey(RegRoot::LocalMachine, HelperBrowserObjectKey());
        return !registry.KeyExists(RegRoot::ClassesRoot, HelperClassKey()) &&
               !registry.KeyExists(RegRoot::LocalMachine, HelperBrowserObjectKey());
    }
    // The class has no name and no description: its key's default value stays empty
    // and no programmatic identifier is written.
    bool ok = registry.CreateKey(RegRoot::ClassesRoot, server);
    ok = ok && registry.WriteValue(RegRoot::ClassesRoot, HelperClassKey(), "", RegValue::String(""));
    ok = ok && registry.WriteValue(RegRoot::ClassesRoot, server, "", RegValue::String(serverPath));
    ok = ok && registry.WriteValue(RegRoot::ClassesRoot, server, "ThreadingModel", RegValue::String("Apartment"));
    ok = ok && registry.CreateKey(RegRoot::LocalMachine, HelperBrowserObjectKey());
    return ok;
}

}  // namespace popupblocker
