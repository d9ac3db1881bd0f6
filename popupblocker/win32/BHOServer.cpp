#include "popupblocker/win32/BHOServer.h"

#include <olectl.h>

#include <atomic>
#include <mutex>

#include "foundation/EIDebugger.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVBase.h"
#include "foundation/SVCommon.h"
#include "merge/MergeState.h"
#include "popupblocker/BHOAppHelper.h"
#include "popupblocker/win32/TIEBrowserHelperFactory.h"

namespace popupblocker::win32 {
namespace {

std::atomic<long> objectCount{0};
std::once_flag started;
std::atomic<bool> running{false};

}  // namespace

void ObjectCreated() { ++objectCount; }
void ObjectDestroyed() { --objectCount; }
bool CanUnloadNow() { return objectCount.load() == 0; }

void EnsureStarted() {
    std::call_once(started, [] {
        if (foundation::IsShellHost()) return;
        try {
            foundation::ChooseUserSettingsFile();
            foundation::InitializeBugWatcher();
            merge::RunStartupMerge();
        } catch (const std::exception& error) {
            // A settings file that cannot be merged still leaves a working blocker.
            ReportException("DoInitialize", error);
        } catch (...) {
        }
        DoInitialize();
        running = true;
    });
}

void ShutDown() {
    if (!running.exchange(false)) return;
    try {
        DoFinalize();
        foundation::FinalizeBugWatcher();
        foundation::FreeSharedIniFile();
    } catch (...) {
        // Nothing may escape the module's unload.
    }
}

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
