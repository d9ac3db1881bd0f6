// HostFileLocks: a lock file per settings file, kept outside the settings folder.
//
// Linux: flock(LOCK_EX) on <temp dir>/zephyra-locks/<hash>.lock. The lock file
// is opened anew for every Lock() call, so each hold has its own open file
// description and two holds exclude each other within one process too.
//
// Windows (the mingw build, used only to compare the profile engines): there is
// no flock; a hold takes an in-process std::mutex per lock path, which excludes
// the threads of this process but not other processes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/host/HostPlatform.h"

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace platform::host {
namespace {

// FNV-1a 64, printed in hex: a stable name for the absolute native path.
std::string HashName(const std::string& text) {
    std::uint64_t h = 14695981039346656037ULL;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ULL;
    }
    static const char digits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i) {
        out[i] = digits[h & 0xF];
        h >>= 4;
    }
    return out;
}

std::string LockPathFor(const std::string& nativePath) {
    std::error_code ec;
    fs::path absolute = fs::absolute(nativePath, ec);
    if (ec) absolute = nativePath;
    absolute = absolute.lexically_normal();
    fs::path folder = fs::temp_directory_path(ec);
    if (ec) folder = "/tmp";
    folder /= "zephyra-locks";
    fs::create_directories(folder, ec);
    return (folder / (HashName(absolute.string()) + ".lock")).string();
}

class EmptyHold : public IFileLockHold {};

#ifndef _WIN32

class FlockHold : public IFileLockHold {
public:
    explicit FlockHold(int fd) : fd_(fd) {}
    ~FlockHold() override {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }

private:
    int fd_;
};

#else

class MutexHold : public IFileLockHold {
public:
    explicit MutexHold(std::shared_ptr<std::mutex> m) : mutex_(std::move(m)) { mutex_->lock(); }
    ~MutexHold() override { mutex_->unlock(); }

private:
    std::shared_ptr<std::mutex> mutex_;
};

std::shared_ptr<std::mutex> MutexFor(const std::string& lockPath) {
    static std::mutex guard;
    static std::map<std::string, std::shared_ptr<std::mutex>> mutexes;
    std::lock_guard<std::mutex> lock(guard);
    auto& m = mutexes[lockPath];
    if (!m) m = std::make_shared<std::mutex>();
    return m;
}

#endif

}  // namespace

HostFileLocks::HostFileLocks(PathMapper mapper) : mapper_(std::move(mapper)) {
    if (!mapper_) mapper_ = [](const std::string& path) { return path; };
}

std::unique_ptr<IFileLockHold> HostFileLocks::Lock(const std::string& file) {
    std::string native = mapper_(file);
    std::string lockPath = LockPathFor(native);
#ifndef _WIN32
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return std::make_unique<EmptyHold>();
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return std::make_unique<EmptyHold>();
    }
    return std::make_unique<FlockHold>(fd);
#else
    return std::make_unique<MutexHold>(MutexFor(lockPath));
#endif
}

}  // namespace platform::host
