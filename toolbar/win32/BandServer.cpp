#include "toolbar/win32/BandServer.h"

#include <ole2.h>

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVBase.h"
#include "foundation/SVCommon.h"
#include "platform/ServerLifetime.h"
#include "platform/win32/Win32Browser.h"
#include "platform/win32/ui/Win32UiBackend.h"
#include "toolbar/BandForm.h"
#include "toolbar/controls/win32/ToolbarPeers.h"
#include "toolbar/win32/ConnectionPointSource.h"
#include "toolbar/win32/TToolbarBand.h"
#include "toolbar/win32/TToolbarBandFactory.h"

namespace toolbar::win32 {
namespace {

// The browser holds the form's sink dispatch until it lets go of it, which
// may be after the band has gone: while it does, the module stays loaded.
void CountSinkDispatch(bool alive) {
    if (alive) BandObjectCreated();
    else BandObjectDestroyed();
}

std::shared_ptr<IEventSource> CountedEventSourceOf(const std::shared_ptr<platform::IBrowser>& browser) {
    return EventSourceFrom(platform::win32::AutomationOf(browser), &CountSinkDispatch);
}

void Start() {
    if (foundation::IsShellHost()) return;
    try {
        foundation::OpenModuleState();
        BandModuleLoaded();
        SetBrowserEventSourceProvider(&CountedEventSourceOf);
    } catch (const std::exception& error) {
        ReportBandError("Start", error);
    } catch (...) {
    }
}

void Stop() {
    try {
        SetBrowserEventSourceProvider(nullptr);
        BandModuleUnloading();
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

void BandObjectCreated() { Lifetime().ObjectCreated(); }
void BandObjectDestroyed() { Lifetime().ObjectDestroyed(); }
bool BandCanUnloadNow() { return Lifetime().CanUnloadNow(); }
void EnsureBandModuleStarted() { Lifetime().EnsureStarted(); }

void EnsureThreadReady() {
    // The browser's window threads have OLE already; a thread of another host may not.
    thread_local const bool oleReady = SUCCEEDED(::OleInitialize(nullptr));
    (void)oleReady;
    static const bool windows = [] {
        const bool installed = platform::win32::ui::InstallWin32UiBackend();
        RegisterToolbarPeers();
        return installed;
    }();
    if (!windows) foundation::RaiseError("This desktop cannot make the toolbar's windows");
}

void ReportBandError(const char* where, const std::exception& error) {
    try {
        foundation::BugWatcher().LogFmt("%s: %s", {std::string(where), std::string(error.what())});
    } catch (...) {
    }
}

HRESULT GetBandClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(classId, CLSID_ToolbarBand)) return CLASS_E_CLASSNOTAVAILABLE;
    try {
        EnsureBandModuleStarted();
        return TToolbarBandFactory::Create(iid, object);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT RegisterBandServer(bool doRegister) {
    try {
        TToolbarBandFactory::UpdateRegistry(doRegister);
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

}  // namespace toolbar::win32
