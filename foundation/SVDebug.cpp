#include "foundation/SVDebug.h"

#include <atomic>

#include "platform/Services.h"

namespace foundation {
namespace {

enum class DebugState { Unknown, On, Off };
std::atomic<DebugState> debugState{DebugState::Unknown};

}  // namespace

bool IsDebugMode() {
    DebugState state = debugState.load();
    if (state == DebugState::Unknown) {
        state = platform::Files().FileExists(DebugMarkerFile) ? DebugState::On : DebugState::Off;
        debugState.store(state);
    }
    return state == DebugState::On;
}

void DebugMessage(const std::string& text) {
    if (IsDebugMode())
        platform::Dialogs().MessageBox("SV:\r\r" + text, "Zephyra", platform::mb::Ok | platform::mb::IconInformation);
}

void ResetDebugMode() { debugState.store(DebugState::Unknown); }

}  // namespace foundation
