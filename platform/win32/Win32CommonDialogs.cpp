// The save-file dialog (GetSaveFileNameA) and the non-modal find dialog
// (FindTextA). The find dialog reports to an owner window of its own, a
// hidden pop-up owned by the caller's window, whose procedure turns the
// dialog's registered message into the session's callbacks.
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/win32/Win32Api.h"
#include <commdlg.h>

#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

std::string Win32CommonDialogs::FilterForDialog(const std::string& filter) {
    if (filter.empty()) return std::string();
    std::string out = filter;
    for (char& c : out)
        if (c == '|') c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

std::optional<SaveFileAnswer> Win32CommonDialogs::SaveFile(const SaveFileRequest& request) {
    const std::string filter = FilterForDialog(request.filter);
    std::string extension = request.defaultExtension;
    while (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    std::vector<char> file(4096, '\0');
    std::memcpy(file.data(), request.fileName.data(), std::min(request.fileName.size(), file.size() - 1));

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = reinterpret_cast<HWND>(request.owner);
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex > 0 ? request.filterIndex : 1);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    dialog.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // The browser's current folder is not ours to change.
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (request.overwritePrompt) dialog.Flags |= OFN_OVERWRITEPROMPT;
    if (request.hideReadOnly) dialog.Flags |= OFN_HIDEREADONLY;
    if (request.pathMustExist) dialog.Flags |= OFN_PATHMUSTEXIST;
    if (!::GetSaveFileNameA(&dialog)) return std::nullopt;  // cancelled, or CommDlgExtendedError
    return SaveFileAnswer{std::string(file.data()), static_cast<int>(dialog.nFilterIndex)};
}

// ---------------------------------------------------------------- find

namespace {

struct FindState {
    FINDREPLACEA record{};       // read by the dialog while it is open
    char findWhat[256] = {};     // the dialog's text buffer
    FindCallbacks callbacks;     // cleared when the session goes
    HWND owner = nullptr;        // our hidden pop-up
    HWND dialog = nullptr;       // null once the dialog has ended
    WNDPROC ownerDefault = nullptr;  // the pop-up's class procedure
    int inCallback = 0;          // a callback runs now (the session may go meanwhile)
    std::optional<bool> fixedDown;  // the direction, when the user cannot choose it
    bool closeWhenIdle = false;  // the session went during a callback
};

UINT FindMessage() {
    static const UINT message = ::RegisterWindowMessageA(FINDMSGSTRINGA);
    return message;
}

constexpr UINT kCloseMessage = WM_APP + 0x51;  // posted: the session went during a callback

void DestroyWindows(FindState& state) {
    if (state.dialog && ::IsWindow(state.dialog)) ::DestroyWindow(state.dialog);
    state.dialog = nullptr;
    if (state.owner && ::IsWindow(state.owner)) ::DestroyWindow(state.owner);
}

// The owner window's user data: the state, kept alive while the window is.
using StateHolder = std::shared_ptr<FindState>;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* holder = reinterpret_cast<StateHolder*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!holder) return ::DefWindowProcA(window, message, wParam, lParam);
    std::shared_ptr<FindState> state = *holder;  // alive to the end of this call
    const WNDPROC defaultProc = state->ownerDefault;
    if (message == FindMessage() && lParam) {
        const auto* record = reinterpret_cast<const FINDREPLACEA*>(lParam);
        ++state->inCallback;
        try {
            if (record->Flags & FR_DIALOGTERM) {
                state->dialog = nullptr;  // the dialog destroys itself
                if (state->callbacks.onClose) state->callbacks.onClose();
            } else if (record->Flags & FR_FINDNEXT) {
                FindEvent event{std::string(record->lpstrFindWhat ? record->lpstrFindWhat : ""),
                                state->fixedDown.value_or((record->Flags & FR_DOWN) != 0),
                                (record->Flags & FR_MATCHCASE) != 0,
                                (record->Flags & FR_WHOLEWORD) != 0};
                if (state->callbacks.onFind) state->callbacks.onFind(event);
            }
        } catch (...) {
            // The runtime's callbacks report their own errors; nothing unwinds into the dialog.
        }
        --state->inCallback;
        // The dialog still reads its record after we return: close it later.
        if (state->closeWhenIdle && state->inCallback == 0) ::PostMessageA(window, kCloseMessage, 0, 0);
        return 0;
    }
    if (message == kCloseMessage) {
        DestroyWindows(*state);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc));
        state->owner = nullptr;
        delete holder;
    }
    return ::CallWindowProcA(defaultProc, window, message, wParam, lParam);
}

class Win32FindSession : public IFindSession {
public:
    explicit Win32FindSession(std::shared_ptr<FindState> state) : state_(std::move(state)) {}
    ~Win32FindSession() override {
        state_->callbacks = FindCallbacks{};
        if (state_->inCallback > 0) {
            state_->closeWhenIdle = true;  // OwnerProc posts the close when the callback returns
            return;
        }
        DestroyWindows(*state_);
    }
    void MoveTo(int left, int top) override {
        if (state_->dialog)
            ::SetWindowPos(state_->dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void Activate() override {
        if (state_->dialog) ::SetForegroundWindow(state_->dialog);
    }
    std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(state_->dialog); }

private:
    std::shared_ptr<FindState> state_;
};

}  // namespace

std::unique_ptr<IFindSession> Win32CommonDialogs::OpenFind(const FindRequest& request, FindCallbacks callbacks) {
    auto state = std::make_shared<FindState>();
    state->callbacks = std::move(callbacks);
    // A disabled or hidden direction may come back as "up" (wine's dialog does
    // so); the user cannot have chosen it, so the requested one holds.
    if (request.hideUpDown || request.disableUpDown) state->fixedDown = request.down;
    // A pop-up owned by the caller's window keeps the dialog above it; a
    // predefined class needs no registration (nor unregistration at unload).
    state->owner = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0,
                                     reinterpret_cast<HWND>(request.owner), nullptr, nullptr, nullptr);
    if (!state->owner) return nullptr;
    state->ownerDefault = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(state->owner, GWLP_WNDPROC));
    ::SetWindowLongPtrA(state->owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new StateHolder(state)));
    ::SetWindowLongPtrA(state->owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc));

    std::strncpy(state->findWhat, request.findText.c_str(), sizeof state->findWhat - 1);
    FINDREPLACEA& record = state->record;
    record.lStructSize = sizeof record;
    record.hwndOwner = state->owner;
    record.lpstrFindWhat = state->findWhat;
    record.wFindWhatLen = sizeof state->findWhat;
    if (request.down) record.Flags |= FR_DOWN;
    if (request.matchCase) record.Flags |= FR_MATCHCASE;
    if (request.wholeWord) record.Flags |= FR_WHOLEWORD;
    if (request.hideUpDown) record.Flags |= FR_HIDEUPDOWN;
    if (request.hideMatchCase) record.Flags |= FR_HIDEMATCHCASE;
    if (request.hideWholeWord) record.Flags |= FR_HIDEWHOLEWORD;
    if (request.disableUpDown) record.Flags |= FR_NOUPDOWN;
    if (request.disableMatchCase) record.Flags |= FR_NOMATCHCASE;
    if (request.disableWholeWord) record.Flags |= FR_NOWHOLEWORD;
    state->dialog = ::FindTextA(&record);
    if (!state->dialog) {
        DestroyWindows(*state);
        return nullptr;
    }
    auto session = std::make_unique<Win32FindSession>(state);
    if (request.left && request.top) session->MoveTo(*request.left, *request.top);
    return session;
}

}  // namespace platform::win32
