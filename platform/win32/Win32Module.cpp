// The running module and version resources.
#include <stdexcept>

#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

// GetModuleFileNameA into a buffer that grows until the whole path fits.
std::string ModulePath(HMODULE module) {
    std::string buffer;
    for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
        buffer.assign(size, '\0');
        DWORD length = ::GetModuleFileNameA(module, buffer.data(), size);
        if (length == 0) return std::string();
        if (length < size) {  // a cut path fills the buffer (and XP leaves it unterminated)
            buffer.resize(length);
            return buffer;
        }
    }
    return std::string();
}

// An address inside this code, to find the module it was linked into.
void Anchor() {}

}  // namespace

std::string Win32Module::FileName() {
    // The code may live in a DLL loaded by someone else's program: ask for
    // the module holding this function, not for the process's executable.
    HMODULE self = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&Anchor), &self))
        return std::string();
    return ModulePath(self);
}

std::string Win32Module::HostExecutable() {
    std::string path = ModulePath(nullptr);
    if (path.empty()) throw std::runtime_error("The file name of the host program cannot be read");
    return path;
}

std::optional<FileVersion> Win32Module::VersionOf(const std::string& fileName) {
    const std::string file = fileName.empty() ? FileName() : fileName;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::string data(size, '\0');
    if (!::GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return std::nullopt;

    void* block = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", &block, &length) || !block || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
    if (info->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                       LOWORD(info->dwFileVersionLS)};
}

}  // namespace platform::win32
