#include "platform/host/HostPlatform.h"

namespace platform::host {

HostPlatform::HostPlatform(const std::string& root)
    : files(std::make_shared<HostFileSystem>(root)),
      profiles(std::make_shared<HostProfileFiles>(files->Mapper())),
      locks(std::make_shared<HostFileLocks>(files->Mapper())),
      registry(std::make_shared<HostRegistry>()),
      module(std::make_shared<HostModule>()),
      shell(std::make_shared<HostShell>()),
      keyboard(std::make_shared<HostKeyboard>()),
      clock(std::make_shared<HostClock>()),
      user(std::make_shared<HostUser>()),
      environment(std::make_shared<HostEnvironment>()),
      dialogs(std::make_shared<HostDialogs>()),
      windows(std::make_shared<HostWindows>()),
      cursors(std::make_shared<HostCursors>(files->Mapper())),
      sound(std::make_shared<HostSound>()),
      timers(std::make_shared<HostTimers>()),
      clipboard(std::make_shared<HostClipboard>()),
      commonDialogs(std::make_shared<HostCommonDialogs>()),
      specialFolders(std::make_shared<HostSpecialFolders>(files)),
      codePage(std::make_shared<HostCodePage>()) {
    // Every Windows machine has its Windows folder; the profile services put
    // files named without a folder there.
    files->CreateDirectory("c:\\windows");
}

ServiceSet HostPlatform::Set() const {
    ServiceSet set;
    set.profiles = profiles;
    set.locks = locks;
    set.registry = registry;
    set.files = files;
    set.module = module;
    set.shell = shell;
    set.keyboard = keyboard;
    set.clock = clock;
    set.user = user;
    set.environment = environment;
    set.dialogs = dialogs;
    set.windows = windows;
    set.cursors = cursors;
    set.sound = sound;
    set.timers = timers;
    set.clipboard = clipboard;
    set.commonDialogs = commonDialogs;
    set.specialFolders = specialFolders;
    set.codePage = codePage;
    return set;
}

}  // namespace platform::host
