// The save-file and find dialogs of the host stand-ins, scripted by tests.
// Callbacks run without the lock held, so they may reopen or close dialogs.
#include <algorithm>

#include "platform/host/HostPlatform.h"

namespace platform::host {

struct HostCommonDialogs::FindState {
    FindRequest shown;  // what the dialog shows now
    FindCallbacks callbacks;
};

struct HostCommonDialogs::Core {
    struct SaveAnswer {
        std::optional<std::string> fileName;
        int filterIndex = 0;
    };
    std::mutex mutex;
    std::vector<SaveAnswer> saveAnswers;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<std::shared_ptr<FindState>> open;  // in the order opened
    int findsOpened = 0;
    bool findUnavailable = false;

    void Forget(const std::shared_ptr<FindState>& state) {
        open.erase(std::remove(open.begin(), open.end(), state), open.end());
    }
};

namespace {

class HostFindSession : public IFindSession {
public:
    HostFindSession(std::shared_ptr<HostCommonDialogs::Core> core, std::shared_ptr<HostCommonDialogs::FindState> state)
        : core_(std::move(core)), state_(std::move(state)) {}
    ~HostFindSession() override {
        std::lock_guard<std::mutex> lock(core_->mutex);
        core_->Forget(state_);
    }
    void MoveTo(int left, int top) override {
        std::lock_guard<std::mutex> lock(core_->mutex);
        state_->shown.left = left;
        state_->shown.top = top;
    }
    void Activate() override {
        // The dialog comes to the front: it becomes the one the test drives.
        std::lock_guard<std::mutex> lock(core_->mutex);
        auto it = std::find(core_->open.begin(), core_->open.end(), state_);
        if (it == core_->open.end()) return;
        core_->open.erase(it);
        core_->open.push_back(state_);
    }
    std::uintptr_t Handle() const override { return 0; }

private:
    std::shared_ptr<HostCommonDialogs::Core> core_;
    std::shared_ptr<HostCommonDialogs::FindState> state_;
};

}  // namespace

HostCommonDialogs::HostCommonDialogs() : core_(std::make_shared<Core>()) {}

std::optional<SaveFileAnswer> HostCommonDialogs::SaveFile(const SaveFileRequest& request) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->saveRequests.push_back(request);
    if (core_->saveAnswers.empty()) return std::nullopt;
    Core::SaveAnswer answer = std::move(core_->saveAnswers.front());
    core_->saveAnswers.erase(core_->saveAnswers.begin());
    if (!answer.fileName) return std::nullopt;
    return SaveFileAnswer{*answer.fileName, answer.filterIndex > 0 ? answer.filterIndex : request.filterIndex};
}

std::unique_ptr<IFindSession> HostCommonDialogs::OpenFind(const FindRequest& request, FindCallbacks callbacks) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (core_->findUnavailable) return nullptr;
    auto state = std::make_shared<FindState>();
    state->shown = request;
    state->callbacks = std::move(callbacks);
    core_->open.push_back(state);
    ++core_->findsOpened;
    return std::make_unique<HostFindSession>(core_, state);
}

void HostCommonDialogs::PushSaveAnswer(std::optional<std::string> fileName, int filterIndex) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->saveAnswers.push_back(Core::SaveAnswer{std::move(fileName), filterIndex});
}

std::vector<SaveFileRequest> HostCommonDialogs::SaveRequests() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->saveRequests;
}

std::optional<FindRequest> HostCommonDialogs::OpenFindDialog() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (core_->open.empty()) return std::nullopt;
    return core_->open.back()->shown;
}

int HostCommonDialogs::FindDialogsOpened() {
    std::lock_guard<std::mutex> lock(core_->mutex);
    return core_->findsOpened;
}

void HostCommonDialogs::SetFindUnavailable(bool unavailable) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    core_->findUnavailable = unavailable;
}

void HostCommonDialogs::TypeFindText(const std::string& text) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (!core_->open.empty()) core_->open.back()->shown.findText = text;
}

void HostCommonDialogs::SetFindOptions(bool down, bool matchCase, bool wholeWord) {
    std::lock_guard<std::mutex> lock(core_->mutex);
    if (core_->open.empty()) return;
    FindRequest& shown = core_->open.back()->shown;
    // A hidden or disabled box cannot be changed by the user.
    if (!shown.hideUpDown && !shown.disableUpDown) shown.down = down;
    if (!shown.hideMatchCase && !shown.disableMatchCase) shown.matchCase = matchCase;
    if (!shown.hideWholeWord && !shown.disableWholeWord) shown.wholeWord = wholeWord;
}

bool HostCommonDialogs::PressFindNext() {
    std::function<void(const FindEvent&)> onFind;
    FindEvent event;
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        if (core_->open.empty()) return false;
        const FindState& state = *core_->open.back();
        // As the real dialog: Find Next stays disabled while the text is empty.
        if (state.shown.findText.empty()) return true;
        onFind = state.callbacks.onFind;
        event = FindEvent{state.shown.findText, state.shown.down, state.shown.matchCase, state.shown.wholeWord};
    }
    if (onFind) onFind(event);
    return true;
}

bool HostCommonDialogs::CloseFindDialog() {
    std::function<void()> onClose;
    {
        std::lock_guard<std::mutex> lock(core_->mutex);
        if (core_->open.empty()) return false;
        std::shared_ptr<FindState> state = core_->open.back();
        core_->Forget(state);
        onClose = state->callbacks.onClose;
    }
    if (onClose) onClose();
    return true;
}

}  // namespace platform::host
