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
    if (id_) platform::Timers().Stop(id_);
}

void TTimer::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(unsigned v) {
    if (v == interval_) return;
    interval_ = v;
    Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
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
    // The handler may free or stop the timer; copy it first.
    TNotifyEvent handler = onTimer_;
    if (handler) handler(this);
}

}  // namespace rt
