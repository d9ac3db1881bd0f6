#pragma once
// Keeps the in-process servers out of the Windows shell, which loads
// registered bands and helper objects too.
namespace foundation {

// The host executable's path contains "explorer.exe" (any case). False when
// the path cannot be taken.
bool IsShellHost();

// The module's start-up check, decided once per module: true when the load
// must fail (the entry point then refuses the process attach).
bool RefuseShellHost();

// What the module-notification handler ends the module with for a
// notification reason: exit code 1 for a process attaching (reason 1), else 0.
int ShellHostNotificationExitCode(unsigned reason);

}  // namespace foundation
