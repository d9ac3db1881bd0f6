// The clipboard and the special folders of the host stand-ins.
#include "platform/host/HostPlatform.h"

namespace platform::host {

bool HostClipboard::SetText(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++setCalls_;
    if (busy_) return false;
    text_ = text;
    return true;
}

std::optional<std::string> HostClipboard::GetText() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (busy_) return std::nullopt;
    return text_;
}

bool HostClipboard::HasText() {
    // Asking for the formats needs no open clipboard, so a busy one answers too.
    std::lock_guard<std::mutex> lock(mutex_);
    return text_.has_value();
}

void HostClipboard::SetBusy(bool busy) {
    std::lock_guard<std::mutex> lock(mutex_);
    busy_ = busy;
}

void HostClipboard::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    text_.reset();
}

int HostClipboard::SetTextCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return setCalls_;
}

HostSpecialFolders::HostSpecialFolders(std::shared_ptr<IFileSystem> files) : files_(std::move(files)) {}

std::optional<std::string> HostSpecialFolders::Personal() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (personal_ && files_ && !files_->DirectoryExists(*personal_)) files_->CreateDirectory(*personal_);
    return personal_;
}

void HostSpecialFolders::SetPersonal(std::optional<std::string> folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (folder && folder->size() > 3 && folder->back() == '\\') folder->pop_back();
    personal_ = std::move(folder);
}

std::string HostSpecialFolders::WindowsFolder() {
    std::lock_guard<std::mutex> lock(mutex_);
    return windows_;
}

void HostSpecialFolders::SetWindowsFolder(std::string folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_ = std::move(folder);
}

}  // namespace platform::host
