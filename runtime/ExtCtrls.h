#pragma once
// A timer component over the platform's timer service: Win32 timers in the
// modules, timers that tick when a test says so on the host. Safe to start
// and stop from several threads (the helper module's browser windows share
// one); the handler runs without the timer's lock, so it may stop the timer.
#include <mutex>

#include "platform/Timers.h"
#include "runtime/Controls.h"

namespace rt {

class TTimer : public TComponent {
    RT_CLASS(TTimer)
public:
    explicit TTimer(TComponent* owner) : TComponent(owner) {}
    ~TTimer() override;

    // The timer runs while it is enabled, its interval is not 0 and it has
    // an OnTimer handler; any change restarts it.
    bool Enabled() const;
    void SetEnabled(bool v);
    unsigned Interval() const;
    void SetInterval(unsigned v);
    void SetOnTimer(TNotifyEvent handler);
    // Started with the timer service (false when the service refused it).
    bool Running() const;

private:
    // Called with the lock held.
    void Update();
    void Tick();

    mutable std::mutex mutex_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    platform::TimerId id_ = 0;
};

}  // namespace rt
