// Tallis.exe: started by the installer for the user it runs as. It chooses
// that user's settings file, creates it when missing, merges the newer
// settings template into it and ends. No window, no arguments, no output.
#include <windows.h>

#include "foundation/EIDebugger.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVCommon.h"
#include "merge/MergeState.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int exitCode = 0;
    foundation::ChooseUserSettingsFile();
    foundation::InitializeBugWatcher();
    try {
        merge::RunStartupMerge();
    } catch (const std::exception& error) {
        // Nobody watches an installer's helper: the failure goes to the trace
        // and the exit code, and the user's file stays as it was.
        foundation::BugWatcher().LogException("Tallis", &error);
        exitCode = 1;
    } catch (...) {
        exitCode = 1;
    }
    foundation::FinalizeBugWatcher();
    foundation::FreeSharedIniFile();
    return exitCode;
}
