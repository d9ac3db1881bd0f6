#pragma once
// Starting the modules' programs from a test, as the installer would.
#include <windows.h>

#include <string>

#include "win32/Win32TestSupport.h"

namespace zrtest {

// A started program; waits for it (at most the given time) and closes it.
class ChildProcess {
public:
    // Starts `exe` with `arguments` in `folder` (the program's own folder when empty).
    ChildProcess(const std::string& exe, const std::string& arguments, const std::string& folder = "");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    // The exit code, or -1 when it did not end in time (it is then killed).
    // Pumping: the calling thread's windows get their messages meanwhile
    // (the program may be talking to them).
    int Wait(DWORD milliseconds = 30000, bool pumping = false);

private:
    HANDLE process_ = nullptr;
};

// Copies a file; false when it failed.
bool CopyInto(const std::string& source, const std::string& target);

}  // namespace zrtest
