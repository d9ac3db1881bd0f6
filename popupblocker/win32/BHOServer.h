#pragma once
// The helper module as an in-process COM server: its object count, the
// class identifier, the module's start and the entry points' work.
#include "platform/win32/Win32Api.h"

namespace popupblocker::win32 {

// {FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}
inline constexpr CLSID CLSID_IEBrowserHelper = {
    0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD}};

// Live helper objects plus server locks; the module unloads only at zero.
void ObjectCreated();
void ObjectDestroyed();
bool CanUnloadNow();

// The module's start: the user's settings file, the merge, the debug watcher
// and the helper state. Run once, on the first request for the class factory
// (file, registry and window work is not safe under the loader lock of DllMain).
void EnsureStarted();
// The module's end: from DllMain when the module is freed while the process goes on.
void ShutDown();

HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** object);
HRESULT RegisterServer(bool doRegister);

}  // namespace popupblocker::win32
