// Helper of win32_lock_tests: waits for the start signal, then writes
// <count> keys "<prefix><n>" into [Keys] of a settings file.
//   zr_lock_writer <file> <prefix> <count> <locked|raw> <start event name>
// "locked" writes through the shared settings class, which holds the file's
// lock; "raw" calls the profile API directly with no lock.
#include <cstdlib>
#include <string>

#include "platform/win32/Win32Api.h"
#include "foundation/EIIniFilesUnit1.h"

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    const std::string file = argv[1], prefix = argv[2], mode = argv[4];
    const int count = std::atoi(argv[3]);

    HANDLE start = ::OpenEventA(SYNCHRONIZE, FALSE, argv[5]);
    if (!start || ::WaitForSingleObject(start, 60000) != WAIT_OBJECT_0) return 3;
    ::CloseHandle(start);

    if (mode == "locked") {
        foundation::TEIIniFile ini(file);
        for (int n = 0; n < count; ++n) ini.WriteString("Keys", prefix + std::to_string(n), std::to_string(n));
    } else if (mode == "raw") {
        for (int n = 0; n < count; ++n) {
            ::WritePrivateProfileStringA("Keys", (prefix + std::to_string(n)).c_str(), std::to_string(n).c_str(),
                                         file.c_str());
        }
    } else {
        return 2;
    }
    return 0;
}
