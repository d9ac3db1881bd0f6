#include "platform/Services.h"

#include <mutex>

namespace platform {
namespace {

ServiceSet& Current() {
    static ServiceSet set;
    static std::once_flag filled;
    std::call_once(filled, [] { set = CreateDefaultServices(); });
    return set;
}

template <typename T>
void FillFrom(std::shared_ptr<T>& target, const std::shared_ptr<T>& source) {
    if (!target) target = source;
}

}  // namespace

const ServiceSet& Services() { return Current(); }

IProfileFiles& Profiles() { return *Current().profiles; }
IFileLocks& FileLocks() { return *Current().locks; }
IRegistry& Registry() { return *Current().registry; }
IFileSystem& Files() { return *Current().files; }
IModule& Module() { return *Current().module; }
IShell& Shell() { return *Current().shell; }
IKeyboard& Keyboard() { return *Current().keyboard; }
IClock& Clock() { return *Current().clock; }
IUser& User() { return *Current().user; }
IEnvironment& Environment() { return *Current().environment; }
IDialogs& Dialogs() { return *Current().dialogs; }
IWindows& Windows() { return *Current().windows; }
ICursors& Cursors() { return *Current().cursors; }
ISound& Sound() { return *Current().sound; }
ITimers& Timers() { return *Current().timers; }
IClipboard& Clipboard() { return *Current().clipboard; }
ICommonDialogs& CommonDialogs() { return *Current().commonDialogs; }
ISpecialFolders& SpecialFolders() { return *Current().specialFolders; }
ICodePage& CodePage() { return *Current().codePage; }

ScopedServices::ScopedServices(ServiceSet replacement) : previous_(Current()) {
    FillFrom(replacement.profiles, previous_.profiles);
    FillFrom(replacement.locks, previous_.locks);
    FillFrom(replacement.registry, previous_.registry);
    FillFrom(replacement.files, previous_.files);
    FillFrom(replacement.module, previous_.module);
    FillFrom(replacement.shell, previous_.shell);
    FillFrom(replacement.keyboard, previous_.keyboard);
    FillFrom(replacement.clock, previous_.clock);
    FillFrom(replacement.user, previous_.user);
    FillFrom(replacement.environment, previous_.environment);
    FillFrom(replacement.dialogs, previous_.dialogs);
    FillFrom(replacement.windows, previous_.windows);
    FillFrom(replacement.cursors, previous_.cursors);
    FillFrom(replacement.sound, previous_.sound);
    FillFrom(replacement.timers, previous_.timers);
    FillFrom(replacement.clipboard, previous_.clipboard);
    FillFrom(replacement.commonDialogs, previous_.commonDialogs);
    FillFrom(replacement.specialFolders, previous_.specialFolders);
    FillFrom(replacement.codePage, previous_.codePage);
    Current() = std::move(replacement);
}

ScopedServices::~ScopedServices() { Current() = previous_; }

}  // namespace platform
