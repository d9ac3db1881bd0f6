#include "support/TempFolder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

unsigned long long ProcessId() {
#ifndef _WIN32
    return static_cast<unsigned long long>(::getpid());
#else
    return static_cast<unsigned long long>(::_getpid());
#endif
}

// Gives every file and folder below `folder` its write permission back, so
// that removal works for a user who is not root.
void MakeWritable(const fs::path& folder) {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto it = fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ignored;
        if (it->is_symlink(ignored)) continue;
        fs::permissions(it->path(), fs::perms::owner_read | fs::perms::owner_write |
                        (it->is_directory(ignored) ? fs::perms::owner_exec : fs::perms::none),
                        fs::perm_options::add, ignored);
    }
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        fs::path candidate = base / ("zr-test-" + std::to_string(ProcessId()) + "-" + std::to_string(++counter) +
                                     "-" + std::to_string(random()) + "-" +
                                     std::to_string(static_cast<unsigned long long>(stamp) % 1000000));
        std::error_code ec;
        if (fs::create_directory(candidate, ec) && !ec) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("TempFolder: cannot create a folder under " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code ec;
    MakeWritable(path_);
    fs::remove_all(path_, ec);
}

const std::string& TempFolder::Path() const { return path_; }
