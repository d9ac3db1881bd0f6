#pragma once
// System DLLs by full path from the system folder: by bare name the loader
// would look in the program's and the current folder first, where anyone
// may leave a DLL of that name. GetSystemDirectory works on every Windows
// this runs on (LOAD_LIBRARY_SEARCH_SYSTEM32 needs a later one).
#include <string>

#include "platform/win32/Win32Api.h"

namespace platform::win32 {

// "<system folder>\name"; empty when the folder cannot be named.
std::string SystemLibraryPath(const std::string& name);
// LoadLibrary of that path; null when it is missing or cannot be loaded.
HMODULE LoadSystemLibrary(const std::string& name);

}  // namespace platform::win32
