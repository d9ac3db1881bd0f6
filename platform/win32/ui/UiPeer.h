#pragma once
// The native peer of one control: it makes the control's window, pushes the
// control's state into it and turns the window's notifications back into
// the control's own operations. Peers belong to the thread that made them.
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Win32Api.h"
#include "platform/win32/ui/UiGdi.h"
#include "runtime/Controls.h"

namespace platform::win32::ui {

class Peer {
public:
    explicit Peer(rt::TControl& control) : control_(control) {}
    virtual ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    rt::TControl& Control() const { return control_; }
    HWND Window() const { return window_; }
    // Where the peers of child controls go (a page control's tab window, say).
    virtual HWND ContainerWindow() const { return window_; }
    // The window that takes the keyboard (a combo box's edit field).
    virtual HWND FocusWindow() const { return window_; }
    // False once the control is gone or the window was destroyed.
    bool Alive() const { return *alive_; }
    std::shared_ptr<bool> AliveToken() const { return alive_; }

    // Makes the window under `parent` and pushes the whole state; false
    // when the system refused the window.
    bool Create(HWND parent);
    // The control changed: push that part of its state.
    virtual void Changed(rt::TControlChange change);

    // Notifications the parent window reflects to the control's peer.
    virtual bool Command(WORD code) { return false; }
    virtual bool Notify(NMHDR& header, LRESULT& result) { return false; }
    virtual bool DrawItem(DRAWITEMSTRUCT& item) { return false; }
    // The colours of a static or button child (WM_CTLCOLOR*); null: default.
    virtual HBRUSH ControlColor(HDC dc) { return nullptr; }
    // A key reached the window: the form's key handling first. True when it
    // swallowed the key.
    bool RouteKey(WPARAM& key);
    // A key down taken by the filter (the WM_CHAR it makes is then taken too);
    // `alive` tells whether the peer outlived the filter.
    bool KeyTaken(UINT message, WPARAM& wParam, const std::shared_ptr<bool>& alive);

    // The window procedure of the peer's window (own class or subclassed).
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The window was destroyed by the system (its owner or parent went).
    void WindowDestroyed();
    // The peer is detached: no message reaches the control any more.
    void Detach();

    Peer* ParentPeer() const { return parent_; }
    const std::vector<Peer*>& Children() const { return children_; }
    void AddChild(Peer* child);
    void RemoveChild(Peer* child);

    // The control's id in WM_COMMAND (unique per thread).
    WORD Id() const { return id_; }
    const Font& PeerFont() const { return font_; }
    // The brush of the control's background colour.
    HBRUSH BackgroundBrush();

protected:
    // Makes the window itself (class, styles) under `parent`.
    virtual HWND MakeWindow(HWND parent) = 0;
    // Messages of the window before the default handling; true: handled.
    virtual bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // The default handling: the subclassed procedure or DefWindowProc.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Makes a window of a system class, subclassed to this peer.
    HWND MakeSystemWindow(const char* className, DWORD style, DWORD exStyle, HWND parent);
    // Subclasses another window (a combo box's edit) to this peer.
    void SubclassChild(HWND child);

    // Pushes the bounds and the text into the window.
    virtual void PushBounds();
    virtual void PushText();
    // The control as a point of view on mouse messages: client point unscaled.
    rt::TPoint MousePoint(LPARAM lParam) const;
    rt::TCustomForm* Form() const;

    // Runs `action`; an error goes to the application's handler.
    template <class F>
    void Guarded(F&& action);

    // Set while the control is told of a change the window made, so the
    // change is not pushed back into the window.
    bool echoing_ = false;

private:
    friend LRESULT CALLBACK PeerWindowProc(HWND, UINT, WPARAM, LPARAM);
    void PushFont();
    void UpdateToolTip();

    rt::TControl& control_;
    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;                 // of a subclassed system window
    std::vector<std::pair<HWND, WNDPROC>> subclassedChildren_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    Peer* parent_ = nullptr;
    std::vector<Peer*> children_;
    WORD id_ = 0;
    Font font_;
    Brush background_;
    rt::TColor backgroundColor_ = rt::clNone;
    bool trackingMouse_ = false;
    bool swallowChar_ = false;                   // the next WM_CHAR came from a swallowed key
};

// The peer of a window of ours or of a subclassed one; null when none.
Peer* PeerOfWindow(HWND window);
// The peer of the window or its nearest ancestor with one.
Peer* PeerAtOrAbove(HWND window);
void RegisterWindow(HWND window, Peer* peer);
void UnregisterWindow(HWND window);

// The registered window class of our own windows ("ZrControl"); its
// procedure dispatches to the window's peer.
const char* ControlClassName();
LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The module that holds this code and its resources.
HINSTANCE ThisModule();

// Reports an error raised while a window message was dispatched.
void ReportError(const std::exception& error);
void ReportUnknownError();

template <class F>
void Peer::Guarded(F&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
        ReportUnknownError();
    }
}

}  // namespace platform::win32::ui
