// Panels, bevels, labels, images, push buttons and check boxes.
#include "platform/win32/ui/StandardPeers.h"

#include "platform/win32/ui/UiBackendInternal.h"
#include "runtime/ComCtrls.h"
#include "runtime/Images.h"
#include "runtime/StdCtrls.h"

namespace platform::win32::ui {

// ------------------------------------------------------------- containers

HWND ContainerPeer::MakeWindow(HWND parent) {
    return ::CreateWindowExA(WS_EX_CONTROLPARENT, ControlClassName(), "",
                             WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(Id())), ThisModule(), this);
}

bool ContainerPeer::Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(Window(), &paint);
        RECT area;
        ::GetClientRect(Window(), &area);
        Paint(dc, area);
        ::EndPaint(Window(), &paint);
        result = 0;
        return true;
    }
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) RelayToToolTip(*this, message, wParam, lParam);
    return false;
}

void ContainerPeer::Paint(HDC dc, const RECT& area) {
    auto* panel = dynamic_cast<rt::TCustomPanel*>(&Control());
    if (!panel) return;
    RECT inner = area;
    switch (panel->BevelOuter()) {
        case rt::TBevelCut::bvRaised: ::DrawEdge(dc, &inner, BDR_RAISEDINNER, BF_RECT | BF_ADJUST); break;
        case rt::TBevelCut::bvLowered: ::DrawEdge(dc, &inner, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST); break;
        default: break;
    }
    if (!Control().Caption().empty()) {
        HGDIOBJ old = ::SelectObject(dc, PeerFont().Get());
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ColorOf(Control().Font().Color()));
        ::DrawTextA(dc, Control().Caption().c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, old);
    }
}

namespace {

// The background of a static child: its parent's colour behind its text.
HBRUSH ParentBackground(Peer& peer, HDC dc) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorOf(peer.Control().Font().Color()));
    if (Peer* parent = peer.ParentPeer()) return parent->BackgroundBrush();
    return ::GetSysColorBrush(COLOR_BTNFACE);
}

// ------------------------------------------------------------- statics

class LabelPeer : public Peer {
public:
    using Peer::Peer;
    bool Command(WORD code) override {
        if (code == STN_CLICKED) Control().Click();
        else if (code == STN_DBLCLK) Control().DblClick(rt::KeyboardShiftState());
        return true;
    }
    HBRUSH ControlColor(HDC dc) override { return ParentBackground(*this, dc); }

protected:
    HWND MakeWindow(HWND parent) override {
        return MakeSystemWindow("STATIC", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, parent);
    }
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) RelayToToolTip(*this, message, wParam, lParam);
        return false;
    }
};

class BevelPeer : public Peer {
public:
    using Peer::Peer;
    HBRUSH ControlColor(HDC dc) override { return ParentBackground(*this, dc); }

protected:
    HWND MakeWindow(HWND parent) override {
        DWORD style = SS_LEFT;
        switch (static_cast<rt::TBevel&>(Control()).Shape()) {
            case rt::TBevelShape::bsBox:
            case rt::TBevelShape::bsFrame: style = SS_ETCHEDFRAME; break;
            case rt::TBevelShape::bsTopLine:
            case rt::TBevelShape::bsBottomLine: style = SS_ETCHEDHORZ; break;
            case rt::TBevelShape::bsLeftLine:
            case rt::TBevelShape::bsRightLine: style = SS_ETCHEDVERT; break;
            case rt::TBevelShape::bsSpacer: break;
        }
        return MakeSystemWindow("STATIC", style, 0, parent);
    }
};

class ImagePeer : public Peer {
public:
    using Peer::Peer;
    bool Command(WORD code) override {
        if (code == STN_CLICKED) Control().Click();
        else if (code == STN_DBLCLK) Control().DblClick(rt::KeyboardShiftState());
        return true;
    }
    void Changed(rt::TControlChange change) override {
        Peer::Changed(change);
        if (change == rt::TControlChange::Picture) LoadPicture();
    }
    HBRUSH ControlColor(HDC dc) override { return ParentBackground(*this, dc); }

protected:
    HWND MakeWindow(HWND parent) override {
        auto& image = static_cast<rt::TImage&>(Control());
        DWORD style = SS_BITMAP | SS_NOTIFY;
        if (image.Center()) style |= SS_CENTERIMAGE;
        if (image.Stretch()) style |= SS_REALSIZECONTROL;
        HWND window = MakeSystemWindow("STATIC", style, 0, parent);
        if (window) {
            // The bitmap goes in before the first placement, which keeps the control's size.
            LoadPictureInto(window);
        }
        return window;
    }

private:
    void LoadPictureInto(HWND window) {
        auto& image = static_cast<rt::TImage&>(Control());
        HBITMAP picture = LoadBitmapNamed(image.Picture());
        if (picture && image.Transparent()) {
            // The key colour (the bottom-left pixel's) becomes the parent's face.
            BITMAP size{};
            ::GetObjectA(picture, sizeof(size), &size);
            HBITMAP flat = CutBitmap(picture, 0, 0, size.bmWidth, size.bmHeight,
                                     FaceColorOf(Control().Parent() ? Control().Parent()->Color() : 0));
            ::DeleteObject(picture);
            picture = flat;
        }
        bitmap_.Reset(picture);
        HANDLE old = reinterpret_cast<HANDLE>(
            ::SendMessageA(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_.Get())));
        // A static control may hand back a copy it made of an earlier picture.
        if (old && old != bitmap_.Get()) ::DeleteObject(old);
    }
    void LoadPicture() {
        if (!Window()) return;
        LoadPictureInto(Window());
        PushBounds();
    }
    Bitmap bitmap_;
};

// ------------------------------------------------------------- buttons

class ButtonPeer : public Peer {
public:
    using Peer::Peer;
    bool Command(WORD code) override {
        if (code == BN_CLICKED) Control().Click();
        return true;
    }

protected:
    HWND MakeWindow(HWND parent) override {
        const bool isDefault = static_cast<rt::TButton&>(Control()).Default();
        return MakeSystemWindow("BUTTON", WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, parent);
    }
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) RelayToToolTip(*this, message, wParam, lParam);
        return false;
    }
};

class CheckBoxPeer : public Peer {
public:
    using Peer::Peer;
    bool Command(WORD code) override {
        if (code == BN_CLICKED) static_cast<rt::TCheckBox&>(Control()).Toggle();
        return true;
    }
    void Changed(rt::TControlChange change) override {
        Peer::Changed(change);
        if (change == rt::TControlChange::Checked) PushCheck();
    }
    HBRUSH ControlColor(HDC dc) override { return ParentBackground(*this, dc); }

protected:
    HWND MakeWindow(HWND parent) override {
        HWND window = MakeSystemWindow("BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, parent);
        if (window)
            ::SendMessageA(window, BM_SETCHECK,
                           static_cast<rt::TCheckBox&>(Control()).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        return window;
    }
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) RelayToToolTip(*this, message, wParam, lParam);
        return false;
    }

private:
    void PushCheck() {
        if (Window())
            ::SendMessageA(Window(), BM_SETCHECK,
                           static_cast<rt::TCheckBox&>(Control()).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
};

}  // namespace

std::unique_ptr<Peer> MakeStandardPeer(rt::TControl& control) {
    if (auto peer = MakeFormPeer(control)) return peer;
    if (auto peer = MakeListPeer(control)) return peer;
    if (auto peer = MakeTextTabPeer(control)) return peer;
    if (dynamic_cast<rt::TCustomPanel*>(&control) || dynamic_cast<rt::TTabSheet*>(&control))
        return std::make_unique<ContainerPeer>(control);
    if (dynamic_cast<rt::TButton*>(&control)) return std::make_unique<ButtonPeer>(control);
    if (dynamic_cast<rt::TCheckBox*>(&control)) return std::make_unique<CheckBoxPeer>(control);
    if (dynamic_cast<rt::TLabel*>(&control)) return std::make_unique<LabelPeer>(control);
    if (dynamic_cast<rt::TBevel*>(&control)) return std::make_unique<BevelPeer>(control);
    if (dynamic_cast<rt::TImage*>(&control)) return std::make_unique<ImagePeer>(control);
    // Any other container keeps its children visible.
    if (dynamic_cast<rt::TWinControl*>(&control)) return std::make_unique<ContainerPeer>(control);
    return nullptr;
}

}  // namespace platform::win32::ui
