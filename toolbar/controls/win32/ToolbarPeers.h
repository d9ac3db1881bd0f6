#pragma once
// The native peers of the toolbar's own controls (flat buttons and the size
// panel), registered with the Win32 backend of the controls.

namespace toolbar::win32 {

// Once per process, before the toolbar's first window is made.
void RegisterToolbarPeers();

}  // namespace toolbar::win32
