// Loads the module named by its argument and says by its exit code whether
// the load succeeded (0) or was refused (3). Copied under the name of the
// host process a test wants to play.
#include <windows.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HMODULE module = ::LoadLibraryA(argv[1]);
    if (!module) return 3;
    ::FreeLibrary(module);
    return 0;
}
