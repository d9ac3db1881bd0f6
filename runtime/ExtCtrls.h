#pragma once
// A timer component over the platform's timer service: Win32 timers in the
// modules, timers that tick when a test says so on the host.
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
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned v);
    void SetOnTimer(TNotifyEvent handler);
    bool Running() const { return id_ != 0; }

private:
    void Update();
    void Tick();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    platform::TimerId id_ = 0;
};

}  // namespace rt
