#include "platform/ServerLifetime.h"

namespace platform {

TServerLifetime::TServerLifetime(std::function<void()> start, std::function<void()> stop)
    : start_(std::move(start)), stop_(std::move(stop)) {}

void TServerLifetime::EnsureStarted() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (running_) return;
    running_ = true;  // set first: a start that fails half way is still ended once
    if (start_) start_();
}

void TServerLifetime::ObjectCreated() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ++objects_;
    EnsureStarted();
}

void TServerLifetime::ObjectDestroyed() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (objects_ > 0 && --objects_ == 0) StopLocked();
}

bool TServerLifetime::CanUnloadNow() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (objects_ != 0) return false;
    StopLocked();
    return true;
}

void TServerLifetime::Stop() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    StopLocked();
}

void TServerLifetime::StopLocked() {
    if (!running_) return;
    running_ = false;
    if (stop_) stop_();
}

bool TServerLifetime::Running() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return running_;
}

long TServerLifetime::Objects() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return objects_;
}

}  // namespace platform
