#pragma once
// The helper class's registry entries: its in-process server class and its
// entry in the browser's list of helper objects.
#include <string>

namespace popupblocker {

inline constexpr const char* HelperClassId = "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFD}";
// The toolbar band, shown in the window on a user's first run.
inline constexpr const char* BandClassId = "{7A33D136-248C-4BA5-B72D-BB68F4AD9039}";
inline constexpr const char* BrowserHelperObjectsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Browser Helper Objects\\";

std::string HelperClassKey();         // under the classes root
std::string HelperBrowserObjectKey();  // under the local machine

// Writes (or removes) the class with its server and threading model, and the
// helper-object key (no values). False when a key or value could not be written.
bool UpdateHelperRegistry(bool doRegister, const std::string& serverPath);

}  // namespace popupblocker
