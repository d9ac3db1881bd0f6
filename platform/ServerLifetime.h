#pragma once
// The state an in-process server keeps while any of its objects lives:
// started when the first object (or server lock) comes, ended when the last
// goes or when the host asks whether the module may be unloaded. Neither
// runs under the loader lock of the module's entry point, where file,
// registry, window and cursor work is not safe.
#include <functional>
#include <mutex>

namespace platform {

class TServerLifetime {
public:
    TServerLifetime(std::function<void()> start, std::function<void()> stop);

    // Starts the state when it is not running (the first class-factory request).
    void EnsureStarted();
    // An object or a server lock comes or goes; the last going ends the state.
    void ObjectCreated();
    void ObjectDestroyed();
    // True when no object or lock is left (the state is ended by then).
    bool CanUnloadNow();
    // Ends the state whatever is left (the module's unload at the latest).
    void Stop();

    bool Running() const;
    long Objects() const;

private:
    void StopLocked();
    std::function<void()> start_, stop_;
    mutable std::recursive_mutex mutex_;
    long objects_ = 0;
    bool running_ = false;
};

}  // namespace platform
