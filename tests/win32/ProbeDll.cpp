// A DLL that links the module service, so a test can ask it from inside a DLL.
#include <cstring>

#include "platform/win32/Win32Platform.h"

extern "C" __declspec(dllexport) int ZrProbeFileName(char* buffer, int size) {
    std::string name = platform::win32::Win32Module().FileName();
    if (size <= 0 || name.size() >= static_cast<std::size_t>(size)) return 0;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return static_cast<int>(name.size());
}

extern "C" __declspec(dllexport) int ZrProbeOwnVersion(unsigned short* version) {
    auto own = platform::win32::Win32Module().VersionOf("");
    if (!own) return 0;
    for (int i = 0; i < 4; ++i) version[i] = (*own)[i];
    return 1;
}
