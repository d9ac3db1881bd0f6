// Forms: top-level windows framed by their border style, or child windows
// of a given parent (the band site's); their tool-tips and menu bar.
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include "platform/win32/ui/MenuBuilder.h"
#include "platform/win32/ui/StandardPeers.h"
#include "platform/win32/ui/UiBackendInternal.h"
#include "runtime/Menus.h"
#include "runtime/StdCtrls.h"

namespace platform::win32::ui {
namespace {

constexpr UINT kToolTipDelay = 5000;  // how long a tip stays up

DWORD FrameStyle(const rt::TCustomForm& form, DWORD& exStyle) {
    exStyle = WS_EX_CONTROLPARENT;
    if (form.ParentWindow()) return WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    DWORD style = WS_CLIPCHILDREN;
    const rt::TBorderIcons icons = form.BorderIcons();
    switch (form.BorderStyle()) {
        case rt::TFormBorderStyle::bsNone: return style | WS_POPUP;
        case rt::TFormBorderStyle::bsSingle: style |= WS_CAPTION | WS_BORDER; break;
        case rt::TFormBorderStyle::bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
        case rt::TFormBorderStyle::bsDialog:
            style |= WS_CAPTION | DS_MODALFRAME;
            exStyle |= WS_EX_DLGMODALFRAME;
            return style | (icons & rt::biSystemMenu ? WS_SYSMENU : 0);
        case rt::TFormBorderStyle::bsToolWindow: style |= WS_CAPTION; exStyle |= WS_EX_TOOLWINDOW; break;
        case rt::TFormBorderStyle::bsSizeToolWin:
            style |= WS_CAPTION | WS_THICKFRAME;
            exStyle |= WS_EX_TOOLWINDOW;
            break;
    }
    if (icons & rt::biSystemMenu) style |= WS_SYSMENU;
    if (icons & rt::biMinimize) style |= WS_MINIMIZEBOX;
    if (icons & rt::biMaximize) style |= WS_MAXIMIZEBOX;
    return style;
}

class FormPeer : public ContainerPeer {
public:
    using ContainerPeer::ContainerPeer;
    ~FormPeer() override {
        if (toolTip_) ::DestroyWindow(toolTip_);
    }

    HWND ToolTip() {
        if (!toolTip_ && Window()) {
            toolTip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr, ThisModule(), nullptr);
            if (toolTip_) {
                ::SendMessageA(toolTip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kToolTipDelay);
                ::SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, Scale(400));
            }
        }
        return toolTip_;
    }
    HWND ExistingToolTip() const { return toolTip_; }

    void Changed(rt::TControlChange change) override {
        ContainerPeer::Changed(change);
        if (change == rt::TControlChange::Menu) PushMenu();
        if (change == rt::TControlChange::Parent) Reparent();
    }

protected:
    HWND MakeWindow(HWND parent) override {
        auto& form = static_cast<rt::TCustomForm&>(Control());
        DWORD exStyle = 0;
        const DWORD style = FrameStyle(form, exStyle);
        // A dialog belongs to the window active on this thread (the browser's), else the application's.
        HWND owner = reinterpret_cast<HWND>(form.ParentWindow());
        if (!owner) owner = ::GetActiveWindow();
        if (!owner) owner = reinterpret_cast<HWND>(rt::Application().Handle);
        if (owner && !::IsWindow(owner)) owner = nullptr;
        if (form.ParentWindow() && !owner) return nullptr;  // the parent is gone: no child window
        creating_ = true;
        HWND window = ::CreateWindowExA(exStyle, ControlClassName(), form.Caption().c_str(), style, 0, 0, 0, 0, owner,
                                        nullptr, ThisModule(), this);
        creating_ = false;
        if (window) {
            parented_ = form.ParentWindow() != 0;
            PushMenuInto(window);
        }
        return window;
    }

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        auto& form = static_cast<rt::TCustomForm&>(Control());
        switch (message) {
            case WM_CLOSE:
                form.Close();
                result = 0;
                return true;
            case WM_ACTIVATE:
                if (LOWORD(wParam) != WA_INACTIVE) form.Activate();
                return false;
            case WM_SIZE:
                // Not while the window is being made at no size: the form's bounds are pushed after.
                if (wParam != SIZE_MINIMIZED && !creating_) {
                    echoing_ = true;
                    struct Reset {
                        bool& flag;
                        ~Reset() { flag = false; }
                    } reset{echoing_};
                    form.SetBounds(form.Left(), form.Top(), Unscale(LOWORD(lParam)), Unscale(HIWORD(lParam)));
                }
                return false;
            case DM_GETDEFID:
                if (Peer* button = FindButton(&rt::TButton::Default)) {
                    result = MAKELRESULT(button->Id(), DC_HASDEFID);
                    return true;
                }
                return false;
            case WM_COMMAND:
                // From the menu bar, or IDOK / IDCANCEL from the dialog keys.
                if (lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) >= kMenuBarFirstId) {
                    if (form.Menu()) menuBar_.Dispatch(*form.Menu(), LOWORD(wParam));
                    result = 0;
                    return true;
                }
                if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                    DialogKey(LOWORD(wParam));
                    result = 0;
                    return true;
                }
                return false;
            default: return ContainerPeer::Message(message, wParam, lParam, result);
        }
    }

private:
    static constexpr WORD kMenuBarFirstId = 0x100;

    Peer* FindButton(bool (rt::TButton::*flag)() const) {
        std::vector<Peer*> pending{this};
        while (!pending.empty()) {
            Peer* peer = pending.back();
            pending.pop_back();
            auto* button = dynamic_cast<rt::TButton*>(&peer->Control());
            if (button && (button->*flag)() && button->Enabled() && button->Visible()) return peer;
            for (Peer* child : peer->Children()) pending.push_back(child);
        }
        return nullptr;
    }

    void DialogKey(WORD id) {
        auto& form = static_cast<rt::TCustomForm&>(Control());
        Peer* button = FindButton(id == IDOK ? &rt::TButton::Default : &rt::TButton::Cancel);
        if (button) button->Control().Click();
        else if (id == IDCANCEL && form.Modal()) form.Close();
    }

    void PushMenuInto(HWND window) {
        auto& form = static_cast<rt::TCustomForm&>(Control());
        if (form.ParentWindow()) return;  // a child window has no menu bar
        HMENU old = ::GetMenu(window);
        HMENU bar = form.Menu() ? menuBar_.BuildBar(*form.Menu(), kMenuBarFirstId) : nullptr;
        ::SetMenu(window, bar);
        if (old) ::DestroyMenu(old);
    }
    void PushMenu() {
        if (!Window()) return;
        PushMenuInto(Window());
        PlaceForm(static_cast<rt::TCustomForm&>(Control()), Window());
    }
    // A form given a parent after its window was made becomes its child.
    void Reparent() {
        auto& form = static_cast<rt::TCustomForm&>(Control());
        HWND parent = reinterpret_cast<HWND>(form.ParentWindow());
        if (!Window() || ((parent != nullptr) == parented_ && (!parent || ::GetParent(Window()) == parent))) return;
        DWORD exStyle = 0;
        const DWORD style = FrameStyle(form, exStyle);
        if (parent) {
            ::SetMenu(Window(), nullptr);
            ::SetWindowLongPtrA(Window(), GWL_STYLE, style | (form.Visible() ? WS_VISIBLE : 0));
            ::SetParent(Window(), parent);
        } else {
            ::SetParent(Window(), nullptr);
            ::SetWindowLongPtrA(Window(), GWL_STYLE, style | (form.Visible() ? WS_VISIBLE : 0));
        }
        ::SetWindowLongPtrA(Window(), GWL_EXSTYLE, exStyle);
        parented_ = parent != nullptr;
        PlaceForm(form, Window());
    }

    HWND toolTip_ = nullptr;
    bool parented_ = false;
    bool creating_ = false;
    MenuBar menuBar_;
};

FormPeer* FormPeerOf(Peer& peer) {
    Peer* root = &peer;
    while (root->ParentPeer()) root = root->ParentPeer();
    return dynamic_cast<FormPeer*>(root);
}

std::string ShortHint(const std::string& hint) {
    const std::size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

}  // namespace

std::unique_ptr<Peer> MakeFormPeer(rt::TControl& control) {
    if (!dynamic_cast<rt::TCustomForm*>(&control)) return nullptr;
    return std::make_unique<FormPeer>(control);
}

void PlaceForm(rt::TCustomForm& form, HWND window) {
    const int width = Scale(form.Width()), height = Scale(form.Height());
    if (form.ParentWindow()) {
        ::SetWindowPos(window, nullptr, Scale(form.Left()), Scale(form.Top()), width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE)),
                         ::GetMenu(window) != nullptr, static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_EXSTYLE)));
    const int outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
    int left = Scale(form.Left()) + frame.left, top = Scale(form.Top()) + frame.top;
    const rt::TPosition position = form.Position();
    if (position == rt::TPosition::poScreenCenter || position == rt::TPosition::poDesktopCenter ||
        position == rt::TPosition::poMainFormCenter || position == rt::TPosition::poOwnerFormCenter) {
        RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        HWND owner = ::GetWindow(window, GW_OWNER);
        if (owner && (position == rt::TPosition::poOwnerFormCenter || position == rt::TPosition::poMainFormCenter))
            ::GetWindowRect(owner, &area);
        left = area.left + (area.right - area.left - outerWidth) / 2;
        top = area.top + (area.bottom - area.top - outerHeight) / 2;
    }
    ::SetWindowPos(window, nullptr, left, top, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowForm(rt::TCustomForm& form, HWND window, bool visible) {
    if (form.ParentWindow()) {
        ::ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    if (visible) PlaceForm(form, window);
    ::ShowWindow(window, visible ? SW_SHOW : SW_HIDE);
}

void SyncToolTip(Peer& peer) {
    FormPeer* form = FormPeerOf(peer);
    if (!form || !peer.Window() || &peer == form) return;
    const std::string text = ShortHint(peer.Control().Hint());
    const bool wanted = !text.empty() && (peer.Control().ShowHint() || form->Control().ShowHint());
    HWND tip = wanted ? form->ToolTip() : form->ExistingToolTip();
    if (!tip) return;
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = form->Window();
    tool.uId = reinterpret_cast<UINT_PTR>(peer.Window());
    tool.lpszText = const_cast<char*>(text.c_str());
    // Removed and added again: the text may have changed.
    ::SendMessageA(tip, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
    if (wanted) ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void RelayToToolTip(Peer& peer, UINT message, WPARAM wParam, LPARAM lParam) {
    FormPeer* form = FormPeerOf(peer);
    HWND tip = form ? form->ExistingToolTip() : nullptr;
    if (!tip) return;
    MSG relayed{peer.Window(), message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void FocusArrived(Peer& peer) {
    auto* control = dynamic_cast<rt::TWinControl*>(&peer.Control());
    if (!control || dynamic_cast<rt::TCustomForm*>(control)) return;
    rt::TCustomForm* form = control->ParentForm();
    if (!form || form->ActiveControl() == control) return;
    // A child form (the toolbar in its band) is activated when the focus comes in.
    const bool entering = form->ParentWindow() && !form->ActiveControl();
    form->SetActiveControl(control);
    if (entering) form->Activate();
}

}  // namespace platform::win32::ui
