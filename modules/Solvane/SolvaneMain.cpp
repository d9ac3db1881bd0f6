// Solvane.dll: the toolbar band the browser loads for each window that shows
// the toolbar. DllMain only refuses the Windows shell; the module's state
// starts with the first request for the class factory and ends when the last
// band goes (see toolbar/win32/BandServer.h).
#include "platform/win32/Win32Api.h"

#include "foundation/SVBase.h"
#include "toolbar/win32/BandServer.h"

namespace band = toolbar::win32;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    ::DisableThreadLibraryCalls(instance);
    // The shell loads registered bands too: fail the load there.
    return foundation::RefuseShellHost() ? FALSE : TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return band::GetBandClassObject(classId, iid, object);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return band::BandCanUnloadNow() ? S_OK : S_FALSE; }

extern "C" HRESULT __stdcall DllRegisterServer() { return band::RegisterBandServer(true); }

extern "C" HRESULT __stdcall DllUnregisterServer() { return band::RegisterBandServer(false); }
