#pragma once
// The toolbar module as an in-process COM server: its object count, the
// module's state while band objects live, each browser thread's readiness
// for windows, and the entry points' work.
#include <exception>

#include "platform/win32/Win32Api.h"

namespace toolbar::win32 {

// Live band objects plus server locks; the module unloads only at zero. The
// module's state (the user's settings file for the saved values, the shared
// search text, the debug watcher) starts with the first class-factory
// request or object and ends when the last object goes or the host asks to
// unload: never from DllMain, under its loader lock.
void BandObjectCreated();
void BandObjectDestroyed();
bool BandCanUnloadNow();
void EnsureBandModuleStarted();

// Readies the calling browser thread for the toolbar's windows: OLE (once
// per thread) and the controls' real windows.
void EnsureThreadReady();

// An error that stopped a call from the browser, for the debug watcher.
void ReportBandError(const char* where, const std::exception& error);

HRESULT GetBandClassObject(REFCLSID classId, REFIID iid, void** object);
HRESULT RegisterBandServer(bool doRegister);

}  // namespace toolbar::win32
