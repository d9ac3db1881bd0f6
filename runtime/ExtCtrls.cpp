#include "runtime/ExtCtrls.h"

#include "platform/Services.h"

namespace rt {

const TPropList& TTimer::ClassProperties() {
    static const TPropList list(
        TComponent::ClassProperties(),
        {props::Boolean<TTimer>("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
         props::Integer<TTimer>("Interval", [](const TTimer& t) { return static_cast<int>(t.Interval()); },
                                [](TTimer& t, int v) { t.SetInterval(v < 0 ? 0u : static_cast<unsigned>(v)); }),
         props::Method("OnTimer")});
    return list;
}

TTimer::~TTimer() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (id_) platform::Timers().Stop(id_);
}

bool TTimer::Enabled() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return enabled_;
}

unsigned TTimer::Interval() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return interval_;
}

bool TTimer::Running() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return id_ != 0;
}

void TTimer::SetEnabled(bool v) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(unsigned v) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (v == interval_) return;
    interval_ = v;
    Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    onTimer_ = std::move(handler);
    Update();
}

void TTimer::Update() {
    if (id_) {
        platform::Timers().Stop(id_);
        id_ = 0;
    }
    if (enabled_ && interval_ != 0 && onTimer_) id_ = platform::Timers().Start(interval_, [this] { Tick(); });
}

void TTimer::Tick() {
    // The handler may free or stop the timer: it runs on a copy, unlocked.
    TNotifyEvent handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        handler = onTimer_;
    }
    if (handler) handler(this);
}

}  // namespace rt
