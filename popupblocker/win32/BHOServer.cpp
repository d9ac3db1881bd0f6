#include "popupblocker/win32/BHOServer.h"

#include <olectl.h>

#include "foundation/SVBase.h"
#include "foundation/SVCommon.h"
#include "merge/MergeState.h"
#include "platform/ServerLifetime.h"
#include "popupblocker/BHOAppHelper.h"
#include "popupblocker/win32/TIEBrowserHelperFactory.h"

namespace popupblocker::win32 {
namespace {

// The module's start: the user's settings file, the merge, the debug
// watcher and the helper state.
void Start() {
    if (foundation::IsShellHost()) return;
    try {
        foundation::OpenModuleState();
        merge::RunStartupMerge();
    } catch (const std::exception& error) {
        // A settings file that cannot be merged still leaves a working blocker.
        ReportException("DoInitialize", error);
    } catch (...) {
    }
    DoInitialize();
}

// The module's end: the cursors put back, the watcher's last status, the settings file let go.
void Stop() {
    try {
        DoFinalize();
        foundation::CloseModuleState();
    } catch (...) {
        // Nothing may escape into the browser's release.
    }
}

platform::TServerLifetime& Lifetime() {
    static platform::TServerLifetime server(&Start, &Stop);
    return server;
}

}  // namespace

void ObjectCreated() { Lifetime().ObjectCreated(); }
void ObjectDestroyed() { Lifetime().ObjectDestroyed(); }
bool CanUnloadNow() { return Lifetime().CanUnloadNow(); }
void EnsureStarted() { Lifetime().EnsureStarted(); }

HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(classId, CLSID_IEBrowserHelper)) return CLASS_E_CLASSNOTAVAILABLE;
    try {
        EnsureStarted();
        return TIEBrowserHelperFactory::Create(iid, object);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT RegisterServer(bool doRegister) {
    try {
        return TIEBrowserHelperFactory::UpdateRegistry(doRegister) ? S_OK : SELFREG_E_CLASS;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

}  // namespace popupblocker::win32
