#pragma once
// <windows.h> for the Win32 services. The build defines UNICODE, so the
// generic names would pick the wide functions; these files call the "A"
// functions by name and drop the generic macros that would rename the
// port methods of the same name.
#include <windows.h>

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef DispatchMessage
#undef FindWindow
#undef MessageBox
#undef PostMessage
#undef SendMessage
