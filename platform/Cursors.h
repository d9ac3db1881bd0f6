#pragma once
// Port: the desktop's system cursors and cursor files.
#include <cstdint>
#include <string>

namespace platform {

using CursorHandle = std::uintptr_t;  // HCURSOR; 0 is no cursor

class ICursors {
public:
    virtual ~ICursors() = default;
    // LoadCursor of the system's standard cursor resource `id`: a shared
    // handle that must not be given away; 0 when there is none.
    virtual CursorHandle LoadStandard(int id) = 0;
    // CopyCursor: a handle of our own; 0 on failure.
    virtual CursorHandle Copy(CursorHandle cursor) = 0;
    // LoadCursorFromFile; 0 when the file is missing or not a cursor.
    virtual CursorHandle LoadFromFile(const std::string& fileName) = 0;
    // SetSystemCursor: the system takes ownership of `cursor` when it succeeds.
    virtual bool SetSystemCursor(CursorHandle cursor, int id) = 0;
};

}  // namespace platform
