// The backend: the peers of one thread's controls, made when a form first
// needs a window; the modal loop; pop-up menus on the thread's menu window.
#include "platform/win32/ui/Win32UiBackend.h"

#include <cstdio>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include "platform/win32/Win32SystemLibrary.h"
#include "platform/win32/ui/MenuBuilder.h"
#include "platform/win32/ui/StandardPeers.h"
#include "platform/win32/ui/UiBackendInternal.h"
#include "platform/win32/ui/UiPeer.h"
#include "runtime/Forms.h"
#include "runtime/Menus.h"

namespace platform::win32::ui {
namespace {

std::mutex factoriesMutex;
std::vector<PeerFactory>& Factories() {
    static std::vector<PeerFactory> factories;
    return factories;
}

thread_local HWND menuWindow = nullptr;

// The key the modal loop is handing to its form, while it does.
thread_local bool routingKey = false;
thread_local unsigned routedKey = 0;

void Log(const char* text, unsigned long error) {
    char line[256];
    std::snprintf(line, sizeof(line), "Zephyra: %s (error %lu)\n", text, error);
    ::OutputDebugStringA(line);
    std::fputs(line, stderr);
}

void BuryForgotten() { ThisThread().graveyard.clear(); }

Peer* FindPeer(const rt::TControl& control) {
    auto found = ThisThread().peers.find(&control);
    return found == ThisThread().peers.end() ? nullptr : found->second.get();
}

std::unique_ptr<Peer> MakePeer(rt::TControl& control) {
    std::vector<PeerFactory> factories;
    {
        std::lock_guard<std::mutex> lock(factoriesMutex);
        factories = Factories();
    }
    for (auto it = factories.rbegin(); it != factories.rend(); ++it)
        if (auto peer = (*it)(control)) return peer;
    return MakeStandardPeer(control);
}

void CreateTree(rt::TControl& control, Peer* parent) {
    if (FindPeer(control)) return;
    std::unique_ptr<Peer> made = MakePeer(control);
    if (!made) return;
    Peer* peer = made.get();
    ThisThread().peers[&control] = std::move(made);
    if (parent) parent->AddChild(peer);
    if (!peer->Create(parent ? parent->ContainerWindow() : nullptr)) {
        Log("a window could not be made; the control stays without one", ::GetLastError());
        peer->Detach();
        ThisThread().peers.erase(&control);
        return;
    }
    if (auto* container = dynamic_cast<rt::TWinControl*>(&control))
        for (int i = 0; i < container->ControlCount(); ++i) CreateTree(*container->Controls(i), peer);
    if (auto* form = dynamic_cast<rt::TCustomForm*>(&control))
        if (form->Visible()) ShowForm(*form, peer->Window(), true);
}

void DestroyTree(Peer& root) {
    std::vector<Peer*> pending{&root}, all;
    while (!pending.empty()) {
        Peer* peer = pending.back();
        pending.pop_back();
        all.push_back(peer);
        for (Peer* child : peer->Children()) pending.push_back(child);
    }
    HWND window = root.Window();
    std::vector<std::unique_ptr<Peer>> owned;
    for (Peer* peer : all) {
        auto found = ThisThread().peers.find(&peer->Control());
        if (found != ThisThread().peers.end() && found->second.get() == peer) {
            owned.push_back(std::move(found->second));
            ThisThread().peers.erase(found);
        }
    }
    // Detached first: no message of the dying windows reaches a control.
    for (Peer* peer : all) peer->Detach();
    if (window && ::IsWindow(window)) ::DestroyWindow(window);
}

HWND MenuWindow() {
    if (!menuWindow || !::IsWindow(menuWindow))
        menuWindow = ::CreateWindowExA(WS_EX_TOOLWINDOW, ControlClassName(), "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                       nullptr, ThisModule(), nullptr);
    return menuWindow;
}

// Gives a key of the modal form's windows to the form first; true when the
// form swallowed it.
bool PreviewKey(rt::TCustomForm& form, HWND window, MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (msg.hwnd != window && !::IsChild(window, msg.hwnd)) return false;
    Peer* peer = PeerAtOrAbove(msg.hwnd);
    auto* target = peer ? dynamic_cast<rt::TWinControl*>(&peer->Control()) : nullptr;
    if (target == &form) target = nullptr;
    unsigned short key = static_cast<unsigned short>(msg.wParam);
    try {
        key = form.KeyDown(key, rt::KeyboardShiftState(), target);
    } catch (const std::exception& error) {
        ReportError(error);
    }
    if (key == 0) return true;
    msg.wParam = key;
    return false;
}

void FocusFirst(rt::TCustomForm& form, HWND window) {
    if (rt::TWinControl* active = form.ActiveControl())
        if (Peer* peer = FindPeer(*active))
            if (peer->Window() && ::IsWindowVisible(peer->Window())) {
                ::SetFocus(peer->Window());
                return;
            }
    if (HWND first = ::GetNextDlgTabItem(window, nullptr, FALSE)) ::SetFocus(first);
}

class Win32UiBackend : public rt::IUiBackend {
public:
    void ControlDestroyed(rt::TControl& control) override {
        BuryForgotten();
        if (Peer* peer = FindPeer(control)) DestroyTree(*peer);
        ReleaseIdleThread();  // the thread's last form gone: nothing left for the thread's end
    }

    void ControlChanged(rt::TControl& control, rt::TControlChange change) override {
        Peer* peer = FindPeer(control);
        auto* form = dynamic_cast<rt::TCustomForm*>(&control);
        if (change == rt::TControlChange::Parent && !form) {
            ParentChanged(control, peer);
            return;
        }
        if (!peer) {
            // A form gets its windows when it first shows.
            if (form && change == rt::TControlChange::Visible && form->Visible()) CreateTree(*form, nullptr);
            return;
        }
        peer->Changed(change);
    }

    void RunModal(rt::TCustomForm& form) override {
        BuryForgotten();
        HWND window = reinterpret_cast<HWND>(HandleOf(form));
        Peer* peer = FindPeer(form);
        if (!window || !peer) {
            Log("a modal form has no window; it closes at once", ::GetLastError());
            form.SetModalResult(rt::mrCancel);
            return;
        }
        const std::shared_ptr<bool> alive = peer->AliveToken();
        HWND owner = ::GetWindow(window, GW_OWNER);
        const bool disabledOwner = owner && ::IsWindowEnabled(owner);
        if (disabledOwner) ::EnableWindow(owner, FALSE);
        ShowForm(form, window, true);
        ::SetForegroundWindow(window);
        FocusFirst(form, window);

        MSG msg;
        while (form.ModalResult() == rt::mrNone) {
            if (!*alive || !::IsWindow(window)) {
                // Destroyed under the loop (its owner went): cancelled.
                form.SetModalResult(rt::mrCancel);
                break;
            }
            const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
            if (got <= 0) {
                if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
                form.SetModalResult(rt::mrCancel);
                break;
            }
            if (PreviewKey(form, window, msg)) continue;
            routingKey = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
            routedKey = static_cast<unsigned>(msg.wParam);
            if (!::IsWindow(window) || !::IsDialogMessageA(window, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            routingKey = false;
            BuryForgotten();
        }
        // The owner is enabled again before the form hides, so it gets the activation back.
        if (disabledOwner && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
        if (owner && ::IsWindow(owner) && *alive && ::GetActiveWindow() == window) ::SetActiveWindow(owner);
    }

    unsigned TrackPopupMenu(rt::TPopupMenu& menu, rt::TPoint screen, std::uintptr_t) override {
        BuryForgotten();
        HWND owner = MenuWindow();
        if (!owner) {
            Log("no window for a pop-up menu", ::GetLastError());
            return 0;
        }
        PopupMenuHandle handle(menu);
        if (!handle.Get()) return 0;
        UINT flags = TPM_RETURNCMD;
        flags |= menu.TrackButton() == rt::TTrackButton::tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON;
        switch (menu.Alignment()) {
            case rt::TPopupAlignment::paLeft: flags |= TPM_LEFTALIGN; break;
            case rt::TPopupAlignment::paRight: flags |= TPM_RIGHTALIGN; break;
            case rt::TPopupAlignment::paCenter: flags |= TPM_CENTERALIGN; break;
        }
        // A menu closes on a click elsewhere only when its thread is in the foreground.
        DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
        if (foregroundThread != ::GetCurrentThreadId()) ::SetForegroundWindow(owner);
        const BOOL picked = ::TrackPopupMenu(handle.Get(), flags, screen.X, screen.Y, 0, owner, nullptr);
        ::PostMessageA(owner, WM_NULL, 0, 0);
        return picked > 0 ? static_cast<unsigned>(picked) : 0;
    }

    bool CursorPos(rt::TPoint& point) override {
        POINT at;
        if (!::GetCursorPos(&at)) return false;
        point = rt::TPoint{at.x, at.y};
        return true;
    }

    void ForegroundApplication() override {
        HWND application = reinterpret_cast<HWND>(rt::Application().Handle);
        if (application && ::IsWindow(application)) ::SetForegroundWindow(::GetAncestor(application, GA_ROOT));
    }

    std::uintptr_t HandleOf(const rt::TControl& control) override {
        BuryForgotten();
        Peer* peer = FindPeer(control);
        if (!peer || !peer->Window()) {
            auto* self = dynamic_cast<const rt::TCustomForm*>(&control);
            rt::TCustomForm* form = self ? const_cast<rt::TCustomForm*>(self) : control.ParentForm();
            if (!form) return 0;
            CreateTree(*form, nullptr);
            peer = FindPeer(control);
        }
        return peer ? reinterpret_cast<std::uintptr_t>(peer->Window()) : 0;
    }

    std::uintptr_t FocusHandleOf(const rt::TControl& control) override {
        if (!HandleOf(control)) return 0;
        Peer* peer = FindPeer(control);
        return peer ? reinterpret_cast<std::uintptr_t>(peer->FocusWindow()) : 0;
    }

    bool TextEditStateOf(const rt::TControl& control, rt::TTextEditState& state) override {
        Peer* peer = FindPeer(control);
        HWND field = peer ? peer->FocusWindow() : nullptr;
        char className[32] = "";
        if (!field || !::GetClassNameA(field, className, sizeof(className))) return false;
        const std::string kind(className);
        if (lstrcmpiA(kind.c_str(), "Edit") != 0 && lstrcmpiA(kind.substr(0, 8).c_str(), "RichEdit") != 0) return false;
        DWORD start = 0, end = 0;
        ::SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        state.selLength = static_cast<int>(end > start ? end - start : start - end);
        state.canUndo = ::SendMessageA(field, EM_CANUNDO, 0, 0) != 0;
        return true;
    }

    bool ClientToScreen(const rt::TControl& control, rt::TPoint& point) override {
        Peer* peer = FindPeer(control);
        if (!peer || !peer->Window()) return false;
        POINT at{Scale(point.X), Scale(point.Y)};
        if (!::ClientToScreen(peer->Window(), &at)) return false;
        point = rt::TPoint{at.x, at.y};
        return true;
    }

private:
    void ParentChanged(rt::TControl& control, Peer* peer) {
        rt::TWinControl* parent = control.Parent();
        Peer* parentPeer = parent ? FindPeer(*parent) : nullptr;
        if (!parentPeer || !parentPeer->Window()) {
            if (peer) DestroyTree(*peer);
            return;
        }
        if (!peer) {
            CreateTree(control, parentPeer);
            return;
        }
        if (peer->ParentPeer()) peer->ParentPeer()->RemoveChild(peer);
        parentPeer->AddChild(peer);
        ::SetParent(peer->Window(), parentPeer->ContainerWindow());
        peer->Changed(rt::TControlChange::Bounds);
    }
};

}  // namespace

ThreadState::~ThreadState() {
    graveyard.clear();
    peers.clear();
}

namespace {
thread_local ThreadState* threadState = nullptr;
}  // namespace

ThreadState& ThisThread() {
    if (!threadState) threadState = new ThreadState();
    return *threadState;
}

void ReleaseIdleThread() {
    if (threadState && threadState->peers.empty() && threadState->graveyard.empty() &&
        threadState->windowPeers.empty()) {
        delete threadState;
        threadState = nullptr;
    }
}

void ForgetPeer(Peer& peer, HWND) {
    auto found = ThisThread().peers.find(&peer.Control());
    if (found != ThisThread().peers.end() && found->second.get() == &peer) {
        ThisThread().graveyard.push_back(std::move(found->second));
        ThisThread().peers.erase(found);
    }
}

bool KeyAlreadyRouted(HWND, unsigned key) { return routingKey && routedKey == key; }

bool RegisterControlClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = &PeerWindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = ControlClassName();
    return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::shared_ptr<rt::IUiBackend> MakeWin32UiBackend() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        platform::win32::LoadSystemLibrary("riched20.dll");  // the rich-edit window class
        ready = RegisterControlClass();
        if (!ready) Log("the window class cannot be registered; the toolbar stays without windows", ::GetLastError());
    });
    if (!ready) return nullptr;
    // A desktop without a display driver makes no window at all: find out now.
    HWND probe = ::CreateWindowExA(0, ControlClassName(), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, ThisModule(),
                                   nullptr);
    if (!probe) {
        Log("this desktop cannot make windows; the toolbar stays without windows", ::GetLastError());
        return nullptr;
    }
    ::DestroyWindow(probe);
    return std::make_shared<Win32UiBackend>();
}

bool InstallWin32UiBackend() {
    static std::mutex mutex;
    static bool installed = false;
    std::lock_guard<std::mutex> lock(mutex);
    if (installed) return true;
    auto backend = MakeWin32UiBackend();
    if (!backend) return false;
    rt::SetUiBackend(std::move(backend));
    installed = true;
    return true;
}

void RegisterPeerFactory(PeerFactory factory) {
    std::lock_guard<std::mutex> lock(factoriesMutex);
    Factories().push_back(std::move(factory));
}

int LivePeerCount() { return static_cast<int>(ThisThread().peers.size()); }

}  // namespace platform::win32::ui
