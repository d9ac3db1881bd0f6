// SV_BHO.dll: the popup-blocking helper object the browser loads into every
// window. DllMain only refuses the Windows shell; the settings, the merge and
// the helper state start on the first request for the class factory and end
// when the last helper goes (see BHOServer.h).
#include "platform/win32/Win32Api.h"

#include "foundation/SVBase.h"
#include "popupblocker/win32/BHOServer.h"

namespace bho = popupblocker::win32;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    ::DisableThreadLibraryCalls(instance);
    // The shell loads registered helper objects too: fail the load there.
    return foundation::RefuseShellHost() ? FALSE : TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return bho::GetClassObject(classId, iid, object);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() { return bho::CanUnloadNow() ? S_OK : S_FALSE; }

extern "C" HRESULT __stdcall DllRegisterServer() { return bho::RegisterServer(true); }

extern "C" HRESULT __stdcall DllUnregisterServer() { return bho::RegisterServer(false); }
