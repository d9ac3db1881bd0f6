#pragma once
// The Win32 backend of the headless controls: one native window per control,
// made when the control's form first needs a window, and native events fed
// back into the same control events. Free of <windows.h>: modules and hosts
// install it without the system headers.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "runtime/Controls.h"

namespace platform::win32::ui {

class Peer;

// Installs the Win32 backend as the process's UI backend (once; later calls
// keep the installed one). False when the desktop cannot make windows: the
// reason goes to the debugger output and the headless backend stays.
bool InstallWin32UiBackend();
// The backend itself, for a host or test that installs it for a while;
// null when the desktop cannot make windows.
std::shared_ptr<rt::IUiBackend> MakeWin32UiBackend();

// Makes the native peer of a control class that the backend does not know
// (the toolbar's own controls); null: not this factory's kind. Factories
// are asked newest first, before the backend's own kinds.
using PeerFactory = std::function<std::unique_ptr<Peer>(rt::TControl& control)>;
void RegisterPeerFactory(PeerFactory factory);

// What a test or host counts to see that nothing leaks: the live peers of
// the calling thread.
int LivePeerCount();

}  // namespace platform::win32::ui
