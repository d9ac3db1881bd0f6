#pragma once
// A headless backend that records what a native backend would be told to
// mirror, installed for one test's scope.
#include <memory>
#include <utility>
#include <vector>

#include "runtime/Controls.h"

namespace rt_test {

class ChangeRecorder : public rt::THeadlessBackend {
public:
    void ControlChanged(rt::TControl& control, rt::TControlChange change) override {
        changes.emplace_back(&control, change);
    }
    int Count(const rt::TControl& control, rt::TControlChange change) const {
        int n = 0;
        for (const auto& [c, what] : changes)
            if (c == &control && what == change) ++n;
        return n;
    }
    std::vector<std::pair<rt::TControl*, rt::TControlChange>> changes;
};

// Installs a ChangeRecorder as the process's backend until it goes.
class ScopedRecorder {
public:
    ScopedRecorder() : recorder_(std::make_shared<ChangeRecorder>()), previous_(rt::SetUiBackend(recorder_)) {}
    ~ScopedRecorder() { rt::SetUiBackend(previous_); }
    ChangeRecorder& operator*() const { return *recorder_; }
    ChangeRecorder* operator->() const { return recorder_.get(); }

private:
    std::shared_ptr<ChangeRecorder> recorder_;
    std::shared_ptr<rt::IUiBackend> previous_;
};

}  // namespace rt_test
