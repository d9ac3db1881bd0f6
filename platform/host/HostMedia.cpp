// Stand-ins for cursors, sound and timers.
#include <filesystem>

#include "platform/host/HostPlatform.h"

namespace platform::host {

HostCursors::HostCursors(PathMapper mapper) : mapper_(std::move(mapper)) {}

CursorHandle HostCursors::LoadStandard(int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    const CursorHandle handle = 0x10000 + static_cast<CursorHandle>(id);
    origins_[handle] = "standard " + std::to_string(id);
    return handle;
}

CursorHandle HostCursors::Copy(CursorHandle cursor) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = origins_.find(cursor);
    if (found == origins_.end()) return 0;
    const CursorHandle handle = next_++;
    origins_[handle] = "copy of " + found->second;
    return handle;
}

CursorHandle HostCursors::LoadFromFile(const std::string& fileName) {
    std::error_code error;
    // As LoadCursorFromFile: a missing or empty file is no cursor.
    const auto path = mapper_(fileName);
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) == 0) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    const CursorHandle handle = next_++;
    origins_[handle] = "file " + fileName;
    return handle;
}

bool HostCursors::SetSystemCursor(CursorHandle cursor, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++setCalls_;
    if (failing_ || !origins_.count(cursor)) return false;
    current_[id] = cursor;
    return true;
}

CursorHandle HostCursors::Current(int id) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = current_.find(id);
        if (found != current_.end()) return found->second;
    }
    return LoadStandard(id);
}

std::string HostCursors::Origin(CursorHandle cursor) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = origins_.find(cursor);
    return found == origins_.end() ? std::string() : found->second;
}

int HostCursors::SetCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return setCalls_;
}

void HostCursors::SetFailing(bool failing) {
    std::lock_guard<std::mutex> lock(mutex_);
    failing_ = failing;
}

bool HostSound::PlayModuleWave(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    played_.push_back(name);
    return result_;
}

std::vector<std::string> HostSound::Played() {
    std::lock_guard<std::mutex> lock(mutex_);
    return played_;
}

void HostSound::SetResult(bool played) {
    std::lock_guard<std::mutex> lock(mutex_);
    result_ = played;
}

TimerId HostTimers::Start(std::uint32_t interval, std::function<void()> tick) {
    std::lock_guard<std::mutex> lock(mutex_);
    const TimerId id = next_++;
    timers_[id] = Timer{interval, std::move(tick)};
    return id;
}

void HostTimers::Stop(TimerId timer) {
    std::lock_guard<std::mutex> lock(mutex_);
    timers_.erase(timer);
}

std::map<TimerId, std::uint32_t> HostTimers::Running() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::map<TimerId, std::uint32_t> running;
    for (const auto& [id, timer] : timers_) running[id] = timer.interval;
    return running;
}

bool HostTimers::TickAll() {
    std::vector<std::pair<TimerId, std::function<void()>>> due;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [id, timer] : timers_) due.emplace_back(id, timer.tick);
    }
    for (auto& [id, tick] : due) {
        // A tick may stop later timers; those must not tick any more.
        bool running;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            running = timers_.count(id) != 0;
        }
        if (running) tick();
    }
    return !due.empty();
}

}  // namespace platform::host
