#include "platform/win32/ui/UiPeer.h"

#include <cstdio>
#include <unordered_map>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include "platform/win32/ui/UiBackendInternal.h"
#include "runtime/Forms.h"
#include "runtime/Menus.h"

namespace platform::win32::ui {
namespace {

thread_local WORD nextId = 1000;

// Anchors the module lookup to this code.
void Anchor() {}

rt::TShiftState ShiftOf(WPARAM keys) {
    rt::TShiftState shift;
    if (keys & MK_SHIFT) shift.Include(rt::TShiftKey::Shift);
    if (keys & MK_CONTROL) shift.Include(rt::TShiftKey::Ctrl);
    if (::GetKeyState(VK_MENU) < 0) shift.Include(rt::TShiftKey::Alt);
    return shift;
}

LPCSTR SystemCursor(rt::TCursor cursor) {
    switch (cursor) {
        case rt::crArrow: return reinterpret_cast<LPCSTR>(IDC_ARROW);
        case rt::crCross: return reinterpret_cast<LPCSTR>(IDC_CROSS);
        case rt::crIBeam: return reinterpret_cast<LPCSTR>(IDC_IBEAM);
        case rt::crSizeNESW: return reinterpret_cast<LPCSTR>(IDC_SIZENESW);
        case rt::crSizeNS: return reinterpret_cast<LPCSTR>(IDC_SIZENS);
        case rt::crSizeNWSE: return reinterpret_cast<LPCSTR>(IDC_SIZENWSE);
        case rt::crSizeWE: return reinterpret_cast<LPCSTR>(IDC_SIZEWE);
        case rt::crUpArrow: return reinterpret_cast<LPCSTR>(IDC_UPARROW);
        case rt::crHourGlass: return reinterpret_cast<LPCSTR>(IDC_WAIT);
        case rt::crNo: case rt::crNoDrop: return reinterpret_cast<LPCSTR>(IDC_NO);
        case rt::crAppStart: return reinterpret_cast<LPCSTR>(IDC_APPSTARTING);
        case rt::crHelp: return reinterpret_cast<LPCSTR>(IDC_HELP);
        case rt::crHandPoint: return reinterpret_cast<LPCSTR>(IDC_HAND);
        case rt::crSizeAll: return reinterpret_cast<LPCSTR>(IDC_SIZEALL);
        default: return nullptr;
    }
}

}  // namespace

HINSTANCE ThisModule() {
    static HINSTANCE module = [] {
        HMODULE self = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCSTR>(&Anchor), &self);
        return static_cast<HINSTANCE>(self);
    }();
    return module;
}

void ReportError(const std::exception& error) {
    // The handler may itself raise (a message box that cannot show): never
    // let that unwind into the system's message dispatch.
    try {
        rt::Application().HandleException(error);
    } catch (...) {
        ::OutputDebugStringA("Zephyra: the error handler raised an error\n");
    }
}

void ReportUnknownError() { ReportError(rt::Exception("An unknown error occurred in a window message")); }

Peer* PeerOfWindow(HWND window) {
    auto found = ThisThread().windowPeers.find(window);
    return found == ThisThread().windowPeers.end() ? nullptr : found->second;
}

Peer* PeerAtOrAbove(HWND window) {
    for (int depth = 0; window && depth < 64; ++depth, window = ::GetParent(window))
        if (Peer* peer = PeerOfWindow(window)) return peer;
    return nullptr;
}

void RegisterWindow(HWND window, Peer* peer) { ThisThread().windowPeers[window] = peer; }
void UnregisterWindow(HWND window) { ThisThread().windowPeers.erase(window); }

const char* ControlClassName() {
    // One class per module: two modules of ours in one process must not share a procedure.
    static const std::string name = [] {
        char text[64];
        std::snprintf(text, sizeof(text), "ZrControl%p", static_cast<void*>(ThisModule()));
        return std::string(text);
    }();
    return name.c_str();
}

LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // Our own class: the peer arrives in the creation parameters.
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (auto* peer = static_cast<Peer*>(create->lpCreateParams)) {
            peer->window_ = window;
            RegisterWindow(window, peer);
        }
    }
    if (Peer* peer = PeerOfWindow(window)) return peer->Handle(window, message, wParam, lParam);
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// ------------------------------------------------------------- Peer

Peer::~Peer() { Detach(); }

void Peer::Detach() {
    *alive_ = false;
    if (parent_) parent_->RemoveChild(this);
    parent_ = nullptr;
    for (Peer* child : children_) child->parent_ = nullptr;
    children_.clear();
    for (auto& [child, proc] : subclassedChildren_) {
        if (::IsWindow(child)) ::SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        UnregisterWindow(child);
    }
    subclassedChildren_.clear();
    if (window_) {
        if (original_ && ::IsWindow(window_))
            ::SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        UnregisterWindow(window_);
    }
}

void Peer::WindowDestroyed() {
    HWND gone = window_;
    Detach();
    window_ = nullptr;
    ForgetPeer(*this, gone);
}

void Peer::AddChild(Peer* child) {
    child->parent_ = this;
    children_.push_back(child);
}

void Peer::RemoveChild(Peer* child) {
    for (auto it = children_.begin(); it != children_.end(); ++it)
        if (*it == child) {
            children_.erase(it);
            break;
        }
}

bool Peer::Create(HWND parent) {
    id_ = nextId++;
    if (nextId < 1000) nextId = 1000;  // ids below are the dialog's own (IDOK, IDCANCEL)
    window_ = MakeWindow(parent);
    if (!window_) return false;
    RegisterWindow(window_, this);
    PushFont();
    PushText();
    PushBounds();
    ::EnableWindow(window_, control_.Enabled());
    UpdateToolTip();
    if (control_.Visible() && !dynamic_cast<rt::TCustomForm*>(&control_))
        ::ShowWindow(window_, SW_SHOWNA);
    return true;
}

HWND Peer::MakeSystemWindow(const char* className, DWORD style, DWORD exStyle, HWND parent) {
    HWND window = ::CreateWindowExA(exStyle, className, "", style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id_)), ThisModule(), nullptr);
    if (!window) return nullptr;
    window_ = window;
    RegisterWindow(window, this);
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PeerWindowProc)));
    return window;
}

void Peer::SubclassChild(HWND child) {
    if (!child || PeerOfWindow(child)) return;
    RegisterWindow(child, this);
    auto proc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PeerWindowProc)));
    subclassedChildren_.emplace_back(child, proc);
}

LRESULT Peer::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (original_) return ::CallWindowProcA(original_, window_, message, wParam, lParam);
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

rt::TCustomForm* Peer::Form() const {
    if (auto* form = dynamic_cast<rt::TCustomForm*>(&control_)) return form;
    return control_.ParentForm();
}

rt::TPoint Peer::MousePoint(LPARAM lParam) const {
    return rt::TPoint{Unscale(static_cast<short>(LOWORD(lParam))), Unscale(static_cast<short>(HIWORD(lParam)))};
}

void Peer::PushBounds() {
    if (!window_) return;
    if (auto* form = dynamic_cast<rt::TCustomForm*>(&control_)) {
        PlaceForm(*form, window_);
        return;
    }
    ::SetWindowPos(window_, nullptr, Scale(control_.Left()), Scale(control_.Top()), Scale(control_.Width()),
                   Scale(control_.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Peer::PushText() {
    if (!window_) return;
    // Only when it differs: setting an edit's text moves its caret.
    const int length = ::GetWindowTextLengthA(window_);
    std::string current(static_cast<std::size_t>(length) + 1, '\0');
    current.resize(static_cast<std::size_t>(::GetWindowTextA(window_, current.data(), length + 1)));
    if (current != control_.Text()) ::SetWindowTextA(window_, control_.Text().c_str());
}

void Peer::PushFont() {
    if (!window_) return;
    font_.Reset(MakeFont(control_.Font()));
    ::SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

HBRUSH Peer::BackgroundBrush() {
    if (!background_ || backgroundColor_ != control_.Color()) {
        backgroundColor_ = control_.Color();
        background_.Reset(::CreateSolidBrush(FaceColorOf(control_.Color())));
    }
    return background_.Get();
}

void Peer::UpdateToolTip() { SyncToolTip(*this); }

void Peer::Changed(rt::TControlChange change) {
    if (!window_ || echoing_) return;
    switch (change) {
        case rt::TControlChange::Bounds: PushBounds(); break;
        case rt::TControlChange::Visible:
            if (auto* form = dynamic_cast<rt::TCustomForm*>(&control_)) {
                ShowForm(*form, window_, control_.Visible());
            } else {
                ::ShowWindow(window_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
            }
            break;
        case rt::TControlChange::Enabled: ::EnableWindow(window_, control_.Enabled()); break;
        case rt::TControlChange::Text: PushText(); UpdateToolTip(); break;
        case rt::TControlChange::Font: PushFont(); ::InvalidateRect(window_, nullptr, TRUE); break;
        case rt::TControlChange::Color: ::InvalidateRect(window_, nullptr, TRUE); break;
        case rt::TControlChange::Focus:
            // Only inside the active window: a toolbar must not take the
            // focus from the browser by itself.
            if (::GetForegroundWindow() == ::GetAncestor(window_, GA_ROOT) && ::GetFocus() != window_ &&
                !::IsChild(window_, ::GetFocus()))
                ::SetFocus(window_);
            break;
        default: break;
    }
}

bool Peer::RouteKey(WPARAM& key) {
    rt::TCustomForm* form = Form();
    if (!form || KeyAlreadyRouted(window_, static_cast<unsigned>(key))) return false;
    auto* target = dynamic_cast<rt::TWinControl*>(&control_);
    unsigned short code = static_cast<unsigned short>(key);
    code = form->KeyDown(code, rt::KeyboardShiftState(), target == form ? nullptr : target);
    key = code;
    return code == 0;
}

bool Peer::KeyTaken(UINT message, WPARAM& wParam, const std::shared_ptr<bool>& alive) {
    if (message == WM_CHAR) {
        const bool swallowed = swallowChar_;
        swallowChar_ = false;
        return swallowed;
    }
    // A character still awaited belongs to an earlier key that made none.
    swallowChar_ = false;
    const WPARAM key = wParam;
    bool handled = false;
    Guarded([&] { handled = RouteKey(wParam); });
    // Only a key that makes a character (not Delete, say) has one to swallow.
    if (handled && *alive) swallowChar_ = ::MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) != 0;
    return handled;
}

LRESULT Peer::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<bool> alive = alive_;
    LRESULT result = 0;
    bool handled = false;
    // A subclassed child (a combo box's edit) has procedures of its own.
    if (window != window_) {
        WNDPROC proc = nullptr;
        for (auto& [child, childProc] : subclassedChildren_)
            if (child == window) proc = childProc;
        switch (message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_CHAR:
                if (KeyTaken(message, wParam, alive)) return 0;
                break;
            case WM_CONTEXTMENU:
                if (control_.PopupMenu()) return Handle(window_, message, wParam, lParam);
                break;
            case WM_SETFOCUS:
                Guarded([&] { FocusArrived(*this); });
                if (!*alive) return 0;
                break;
            default: break;
        }
        if (message == WM_NCDESTROY) {
            UnregisterWindow(window);
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        }
        return proc ? ::CallWindowProcA(proc, window, message, wParam, lParam)
                    : ::DefWindowProcA(window, message, wParam, lParam);
    }

    Guarded([&] { handled = Message(message, wParam, lParam, result); });
    if (handled) return result;
    if (!*alive) return 0;

    switch (message) {
        case WM_NCDESTROY: {
            LRESULT r = Default(message, wParam, lParam);
            WindowDestroyed();
            return r;
        }
        case WM_COMMAND:
            if (lParam) {
                Peer* child = PeerOfWindow(reinterpret_cast<HWND>(lParam));
                if (child && child != this) {
                    Guarded([&] { handled = child->Command(HIWORD(wParam)); });
                    if (handled) return 0;
                }
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            Peer* child = header ? PeerOfWindow(header->hwndFrom) : nullptr;
            if (child && child != this) {
                Guarded([&] { handled = child->Notify(*header, result); });
                if (handled) return result;
            }
            break;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            Peer* child = item ? PeerOfWindow(item->hwndItem) : nullptr;
            if (child && child != this) {
                Guarded([&] { handled = child->DrawItem(*item); });
                if (handled) return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            Peer* child = PeerOfWindow(reinterpret_cast<HWND>(lParam));
            HBRUSH brush = nullptr;
            if (child) Guarded([&] { brush = child->ControlColor(reinterpret_cast<HDC>(wParam)); });
            if (brush) return reinterpret_cast<LRESULT>(brush);
            break;
        }
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window_) {
                if (LPCSTR cursor = SystemCursor(control_.Cursor())) {
                    ::SetCursor(::LoadCursorA(nullptr, cursor));
                    return TRUE;
                }
            }
            break;
        case WM_SETFOCUS:
            Guarded([&] { FocusArrived(*this); });
            if (!*alive) return 0;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_CHAR:
            if (KeyTaken(message, wParam, alive) || !*alive) return 0;
            break;
        case WM_CONTEXTMENU:
            if (rt::TPopupMenu* menu = control_.PopupMenu()) {
                POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (lParam == -1) {  // from the keyboard: below the control's corner
                    at = POINT{0, 0};
                    ::ClientToScreen(window_, &at);
                }
                Guarded([&] {
                    menu->SetPopupComponent(&control_);
                    menu->Popup(at.x, at.y);
                });
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            const auto button = message == WM_LBUTTONDOWN ? rt::TMouseButton::mbLeft : rt::TMouseButton::mbRight;
            if (!original_) ::SetCapture(window_);
            const rt::TPoint at = MousePoint(lParam);
            Guarded([&] { control_.MouseDown(button, ShiftOf(wParam), at.X, at.Y); });
            if (!*alive) return 0;
            break;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            const auto button = message == WM_LBUTTONUP ? rt::TMouseButton::mbLeft : rt::TMouseButton::mbRight;
            const bool captured = ::GetCapture() == window_;
            if (!original_ && captured) ::ReleaseCapture();
            const rt::TPoint at = MousePoint(lParam);
            Guarded([&] { control_.MouseUp(button, ShiftOf(wParam), at.X, at.Y); });
            if (!*alive) return 0;
            // Our own windows click on a release over themselves.
            if (!original_ && button == rt::TMouseButton::mbLeft && at.X >= 0 && at.Y >= 0 &&
                at.X < control_.Width() && at.Y < control_.Height())
                Guarded([&] { control_.Click(); });
            if (!*alive) return 0;
            break;
        }
        case WM_LBUTTONDBLCLK:
            if (!original_) {
                Guarded([&] { control_.DblClick(ShiftOf(wParam)); });
                if (!*alive) return 0;
            }
            break;
        case WM_MOUSEMOVE: {
            if (!trackingMouse_) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
                trackingMouse_ = ::TrackMouseEvent(&track) != FALSE;
            }
            const rt::TPoint at = MousePoint(lParam);
            Guarded([&] { control_.MouseMove(ShiftOf(wParam), at.X, at.Y); });
            if (!*alive) return 0;
            break;
        }
        case WM_MOUSELEAVE:
            trackingMouse_ = false;
            break;
        case WM_ERASEBKGND:
            if (!original_) {
                RECT area;
                ::GetClientRect(window_, &area);
                ::FillRect(reinterpret_cast<HDC>(wParam), &area, BackgroundBrush());
                return TRUE;
            }
            break;
        default: break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace platform::win32::ui
