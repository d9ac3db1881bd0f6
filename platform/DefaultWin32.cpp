#include <memory>

#include "platform/win32/Win32Platform.h"

namespace platform {

// The Windows builds use the operating system's own services.
ServiceSet CreateDefaultServices() {
    using namespace win32;
    ServiceSet set;
    set.profiles = std::make_shared<Win32ProfileFiles>();
    set.locks = std::make_shared<Win32FileLocks>();
    set.registry = std::make_shared<Win32Registry>();
    set.files = std::make_shared<Win32FileSystem>();
    set.module = std::make_shared<Win32Module>();
    set.shell = std::make_shared<Win32Shell>();
    set.keyboard = std::make_shared<Win32Keyboard>();
    set.clock = std::make_shared<Win32Clock>();
    set.user = std::make_shared<Win32User>();
    set.environment = std::make_shared<Win32Environment>();
    set.dialogs = std::make_shared<Win32Dialogs>();
    set.windows = std::make_shared<Win32Windows>();
    set.cursors = std::make_shared<Win32Cursors>();
    set.sound = std::make_shared<Win32Sound>();
    set.timers = Win32Timers::Shared();
    set.clipboard = std::make_shared<Win32Clipboard>();
    set.commonDialogs = std::make_shared<Win32CommonDialogs>();
    set.specialFolders = std::make_shared<Win32SpecialFolders>();
    set.codePage = std::make_shared<Win32CodePage>();
    return set;
}

}  // namespace platform
