// Keyboard state of the calling thread's input queue.
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

// The high bit (a negative SHORT) is "down"; the low bit is only the toggle.
bool Win32Keyboard::IsKeyDown(int virtualKey) { return ::GetKeyState(virtualKey) < 0; }

}  // namespace platform::win32
