#include <cstdlib>
#include <filesystem>

#include "platform/host/HostPlatform.h"

namespace platform {

// On Linux the modules' drives live under $ZEPHYRA_HOST_ROOT (or a folder in
// the temporary directory); tests install their own HostPlatform.
ServiceSet CreateDefaultServices() {
    const char* root = std::getenv("ZEPHYRA_HOST_ROOT");
    std::string folder = root && *root ? std::string(root)
                                       : (std::filesystem::temp_directory_path() / "zephyra-host").string();
    static host::HostPlatform platform(folder);
    return platform.Set();
}

}  // namespace platform
