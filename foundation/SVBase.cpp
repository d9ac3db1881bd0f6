#include "foundation/SVBase.h"

#include <mutex>

#include "foundation/EIFunctionsBase.h"
#include "platform/Services.h"

namespace foundation {

bool IsShellHost() {
    try {
        return ContainsText(platform::Module().HostExecutable(), "explorer.exe");
    } catch (...) {
        return false;
    }
}

bool RefuseShellHost() {
    static std::once_flag decided;
    static bool refused = false;
    std::call_once(decided, [] { refused = IsShellHost() && ShellHostNotificationExitCode(1) == 1; });
    return refused;
}

int ShellHostNotificationExitCode(unsigned reason) { return reason == 1 ? 1 : 0; }

}  // namespace foundation
