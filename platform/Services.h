#pragma once
// The process-wide registry of platform services. A module fills it at load
// (CreateDefaultServices: the Win32 services in the Windows builds, the host
// stand-ins on Linux); a test may replace it for its own scope.
#include <memory>

#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/CommonDialogs.h"
#include "platform/Cursors.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Profiles.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "platform/SpecialFolders.h"
#include "platform/System.h"
#include "platform/Timers.h"

namespace platform {

struct ServiceSet {
    std::shared_ptr<IProfileFiles> profiles;
    std::shared_ptr<IFileLocks> locks;
    std::shared_ptr<IRegistry> registry;
    std::shared_ptr<IFileSystem> files;
    std::shared_ptr<IModule> module;
    std::shared_ptr<IShell> shell;
    std::shared_ptr<IKeyboard> keyboard;
    std::shared_ptr<IClock> clock;
    std::shared_ptr<IUser> user;
    std::shared_ptr<IEnvironment> environment;
    std::shared_ptr<IDialogs> dialogs;
    std::shared_ptr<IWindows> windows;
    std::shared_ptr<ICursors> cursors;
    std::shared_ptr<ISound> sound;
    std::shared_ptr<ITimers> timers;
    std::shared_ptr<IClipboard> clipboard;
    std::shared_ptr<ICommonDialogs> commonDialogs;
    std::shared_ptr<ISpecialFolders> specialFolders;
    std::shared_ptr<ICodePage> codePage;
};

// Provided by the platform library the target links (host or win32).
ServiceSet CreateDefaultServices();

// The current set; filled with CreateDefaultServices() on first use.
const ServiceSet& Services();

IProfileFiles& Profiles();
IFileLocks& FileLocks();
IRegistry& Registry();
IFileSystem& Files();
IModule& Module();
IShell& Shell();
IKeyboard& Keyboard();
IClock& Clock();
IUser& User();
IEnvironment& Environment();
IDialogs& Dialogs();
IWindows& Windows();
ICursors& Cursors();
ISound& Sound();
ITimers& Timers();
IClipboard& Clipboard();
ICommonDialogs& CommonDialogs();
ISpecialFolders& SpecialFolders();
ICodePage& CodePage();

// Replaces the current set for the life of this object and restores the
// previous one afterwards. Services left null in the replacement are taken
// from the set being replaced.
class ScopedServices {
public:
    explicit ScopedServices(ServiceSet replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    ServiceSet previous_;
};

}  // namespace platform
