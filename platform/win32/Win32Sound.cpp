// Wave resources of the running module.
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

#include <mmsystem.h>

namespace platform::win32 {
namespace {

void Anchor() {}

}  // namespace

bool Win32Sound::PlayModuleWave(const std::string& name) {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&Anchor), &self))
        return false;
    // No default sound: a missing resource plays nothing rather than the system beep.
    return ::PlaySoundA(name.c_str(), self, SND_RESOURCE | SND_SYNC | SND_NODEFAULT) != 0;
}

}  // namespace platform::win32
