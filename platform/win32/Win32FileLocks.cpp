// File locks as named mutexes in the session namespace, one per settings file,
// so every process of the session that writes the file takes the same one.
#include <cstdint>
#include <cstdio>

#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

constexpr char kPrefix[] = "Local\\ZephyraIni_";

class MutexHold : public IFileLockHold {
public:
    MutexHold() = default;
    explicit MutexHold(UniqueHandle mutex) : mutex_(std::move(mutex)) {}
    ~MutexHold() override {
        if (mutex_) ::ReleaseMutex(mutex_.Get());
    }

private:
    UniqueHandle mutex_;  // owned by this thread while held
};

std::string FullPath(const std::string& file) {
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::string buffer(size, '\0');
        DWORD length = ::GetFullPathNameA(file.c_str(), size, buffer.data(), nullptr);
        if (length == 0) break;
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
        size = length + 1;  // the call reports the size it needs
    }
    return file;
}

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace

Win32FileLocks::Win32FileLocks(unsigned timeoutMilliseconds) : timeout_(timeoutMilliseconds) {}

std::string Win32FileLocks::MutexName(const std::string& file) {
    // Paths match ignoring case, so "C:\A.INI" and "c:\a.ini" share a lock.
    std::string path = FullPath(file);
    if (!path.empty()) ::CharUpperBuffA(path.data(), static_cast<DWORD>(path.size()));
    for (char& c : path) {
        if (c == '\\') c = '/';  // "\" would open a namespace of its own
    }
    // Object names are limited to MAX_PATH; a longer path is named by its hash.
    const std::size_t room = MAX_PATH - sizeof(kPrefix);
    if (path.size() > room) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(path)));
        path = std::string(hash) + "_" + path.substr(path.size() - (room - 17));
    }
    return kPrefix + path;
}

std::unique_ptr<IFileLockHold> Win32FileLocks::Lock(const std::string& file) {
    const std::string name = MutexName(file);
    UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, name.c_str()));
    if (!mutex && ::GetLastError() == ERROR_ACCESS_DENIED) {
        // Made by a process with a stricter security descriptor: wait on it all the same.
        mutex.Reset(::OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
    }
    if (!mutex) return std::make_unique<MutexHold>();

    switch (::WaitForSingleObject(mutex.Get(), timeout_)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:  // its last owner died; the mutex is ours now
            return std::make_unique<MutexHold>(std::move(mutex));
        default:
            return std::make_unique<MutexHold>();
    }
}

}  // namespace platform::win32
