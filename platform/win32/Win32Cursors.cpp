// System cursors and cursor files.
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

CursorHandle Win32Cursors::LoadStandard(int id) {
    return reinterpret_cast<CursorHandle>(::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)));
}

CursorHandle Win32Cursors::Copy(CursorHandle cursor) {
    if (!cursor) return 0;
    return reinterpret_cast<CursorHandle>(::CopyIcon(reinterpret_cast<HICON>(cursor)));
}

CursorHandle Win32Cursors::LoadFromFile(const std::string& fileName) {
    return reinterpret_cast<CursorHandle>(::LoadCursorFromFileA(fileName.c_str()));
}

bool Win32Cursors::SetSystemCursor(CursorHandle cursor, int id) {
    if (!cursor) return false;
    return ::SetSystemCursor(reinterpret_cast<HCURSOR>(cursor), static_cast<DWORD>(id)) != 0;
}

}  // namespace platform::win32
