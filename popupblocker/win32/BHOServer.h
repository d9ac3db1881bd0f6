#pragma once
// The helper module as an in-process COM server: its object count, the
// class identifier, the module's start and the entry points' work.
#include "platform/win32/Win32Api.h"

namespace popupblocker::win32 {

// {FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}
inline constexpr CLSID CLSID_IEBrowserHelper = {
    0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFD}};

// Live helper objects plus server locks; the module unloads only at zero.
// The module's state (the user's settings file, the merge, the debug watcher
// and the helper state) starts with the first request for the class factory
// or the first object, and ends when the last object goes or the host asks
// to unload: never from DllMain, whose loader lock makes file, registry,
// window and cursor work unsafe.
void ObjectCreated();
void ObjectDestroyed();
bool CanUnloadNow();
void EnsureStarted();

HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** object);
HRESULT RegisterServer(bool doRegister);

}  // namespace popupblocker::win32
