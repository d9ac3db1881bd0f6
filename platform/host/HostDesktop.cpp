// Host stand-ins of the desktop: keyboard, dialogs and top-level windows.
// They record what the code under test does; tests script the answers.
#include <cctype>

#include "platform/host/HostFileUtil.h"
#include "platform/host/HostPlatform.h"

namespace platform::host {
namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) { return AsciiLower(a) == AsciiLower(b); }

}  // namespace

// ---- HostKeyboard ----

bool HostKeyboard::IsKeyDown(int virtualKey) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = down_.find(virtualKey);
    return it != down_.end() && it->second;
}

void HostKeyboard::SetKeyDown(int virtualKey, bool down) {
    std::lock_guard<std::mutex> lock(mutex_);
    down_[virtualKey] = down;
}

// ---- HostDialogs ----

int HostDialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    std::lock_guard<std::mutex> lock(mutex_);
    Shown shown;
    shown.text = text;
    shown.caption = caption;
    shown.flags = flags;
    shown_.push_back(shown);
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.erase(answers_.begin());
        return answer;
    }
    // No scripted answer: an OK box is confirmed, any other box answers No.
    return (flags & 0xF) == mb::Ok ? mb::IdOk : mb::IdNo;
}

bool HostDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    Shown shown;
    shown.inputBox = true;
    shown.text = prompt;
    shown.caption = caption;
    shown.initialValue = value;
    shown_.push_back(shown);
    if (inputs_.empty()) return false;
    std::optional<std::string> typed = inputs_.front();
    inputs_.erase(inputs_.begin());
    if (!typed) return false;
    value = *typed;
    return true;
}

void HostDialogs::PushAnswer(int button) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(button);
}

void HostDialogs::PushInput(std::optional<std::string> typed) {
    std::lock_guard<std::mutex> lock(mutex_);
    inputs_.push_back(std::move(typed));
}

std::vector<HostDialogs::Shown> HostDialogs::ShownDialogs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
}

// ---- HostWindows ----

WindowHandle HostWindows::FindWindow(const std::string& className, const std::string& title) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& [handle, window] : windows_) {
        // As FindWindow: class names and titles compare ignoring case.
        if (!SameIgnoringCase(window.className, className)) continue;
        if (!title.empty() && !SameIgnoringCase(window.title, title)) continue;
        return handle;
    }
    return 0;
}

std::intptr_t HostWindows::SendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
    Handler handler;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({window, message, wParam, lParam, false});
        auto it = windows_.find(window);
        if (it == windows_.end()) return 0;
        handler = it->second.handler;
    }
    // The handler runs unlocked: it may call back into this object.
    return handler ? handler(message, wParam, lParam) : 0;
}

bool HostWindows::PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({window, message, wParam, lParam, true});
    return windows_.count(window) != 0;
}

void HostWindows::DispatchMessage(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({window, message, wParam, lParam, false, true});
}

void HostWindows::BroadcastSettingChange(const std::string& section) {
    std::lock_guard<std::mutex> lock(mutex_);
    broadcasts_.push_back(section);
}

void HostWindows::ProcessMessages() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++processMessagesCalls_;
}

WindowHandle HostWindows::AddWindow(const std::string& className, const std::string& title, Handler handler) {
    std::lock_guard<std::mutex> lock(mutex_);
    WindowHandle handle = next_;
    next_ += 4;
    windows_[handle] = Window{className, title, std::move(handler)};
    return handle;
}

void HostWindows::RemoveWindow(WindowHandle window) {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_.erase(window);
}

std::vector<HostWindows::Message> HostWindows::Messages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

std::vector<std::string> HostWindows::Broadcasts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return broadcasts_;
}

int HostWindows::ProcessMessagesCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return processMessagesCalls_;
}

void HostWindows::MessageBeep(unsigned kind) {
    std::lock_guard<std::mutex> lock(mutex_);
    beeps_.push_back(kind);
}

std::vector<unsigned> HostWindows::Beeps() {
    std::lock_guard<std::mutex> lock(mutex_);
    return beeps_;
}

}  // namespace platform::host
