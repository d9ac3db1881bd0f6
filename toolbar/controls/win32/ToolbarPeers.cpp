// Owner-painted flat buttons (face, hot, pressed and border states, glyph
// states, a drop-down arrow) and the size panel's drag bar.
#include "toolbar/controls/win32/ToolbarPeers.h"

#include <mutex>

#include "platform/win32/ui/StandardPeers.h"
#include "platform/win32/ui/Win32UiBackend.h"
#include "toolbar/controls/AMFlatButton.h"
#include "toolbar/controls/amsizepanel.h"

namespace toolbar::win32 {
namespace {

using namespace platform::win32::ui;

constexpr int kArrowWidth = 7;  // the drop-down arrow's column, at 96 dots per inch

void FillColor(HDC dc, const RECT& area, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &area, brush);
    ::DeleteObject(brush);
}

void Frame(HDC dc, const RECT& area, COLORREF topLeft, COLORREF bottomRight) {
    HPEN light = ::CreatePen(PS_SOLID, 1, topLeft), dark = ::CreatePen(PS_SOLID, 1, bottomRight);
    HGDIOBJ old = ::SelectObject(dc, light);
    ::MoveToEx(dc, area.left, area.bottom - 1, nullptr);
    ::LineTo(dc, area.left, area.top);
    ::LineTo(dc, area.right - 1, area.top);
    ::SelectObject(dc, dark);
    ::LineTo(dc, area.right - 1, area.bottom - 1);
    ::LineTo(dc, area.left - 1, area.bottom - 1);
    ::SelectObject(dc, old);
    ::DeleteObject(light);
    ::DeleteObject(dark);
}

class FlatButtonPeer : public Peer {
public:
    using Peer::Peer;

    void Changed(rt::TControlChange change) override {
        Peer::Changed(change);
        if (!Window()) return;
        if (change == rt::TControlChange::Picture) glyph_.Reset(LoadBitmapNamed(Button().GlyphResource()));
        ::InvalidateRect(Window(), nullptr, FALSE);
    }

protected:
    HWND MakeWindow(HWND parent) override {
        glyph_.Reset(LoadBitmapNamed(Button().GlyphResource()));
        return ::CreateWindowExA(0, ControlClassName(), "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(Id())), ThisModule(), this);
    }

    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) RelayToToolTip(*this, message, wParam, lParam);
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT paint;
                HDC dc = ::BeginPaint(Window(), &paint);
                Paint(dc);
                ::EndPaint(Window(), &paint);
                result = 0;
                return true;
            }
            case WM_ERASEBKGND:
                result = TRUE;  // the face is painted whole
                return true;
            case WM_MOUSEMOVE:
                if (!Button().MouseInControl()) {
                    Button().MouseEnter();
                    ::InvalidateRect(Window(), nullptr, FALSE);
                }
                return false;
            case WM_MOUSELEAVE:
                if (Button().MouseInControl()) {
                    Button().MouseLeave();
                    ::InvalidateRect(Window(), nullptr, FALSE);
                }
                return false;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                pressed_ = true;
                ::InvalidateRect(Window(), nullptr, FALSE);
                ::SetCapture(Window());
                return false;
            case WM_LBUTTONUP:
                return ButtonUp(wParam, lParam);
            case WM_CAPTURECHANGED:
                // Taking the capture again (the generic press handling does) is no loss of it.
                if (pressed_ && !clicking_ && reinterpret_cast<HWND>(lParam) != Window()) {
                    pressed_ = false;
                    ::InvalidateRect(Window(), nullptr, FALSE);
                }
                return false;
            default: return false;
        }
    }

private:
    TFlatButton& Button() const { return static_cast<TFlatButton&>(Control()); }
    bool HasMenu() const {
        auto* button = dynamic_cast<TAMFlatButton*>(&Control());
        return button && (button->DropDownMenu() || button->HasXmlSource());
    }

    // The button stays pressed while its click runs (a drop-down menu is open).
    bool ButtonUp(WPARAM wParam, LPARAM lParam) {
        const std::shared_ptr<bool> alive = AliveToken();
        const bool wasPressed = pressed_;
        clicking_ = true;
        if (::GetCapture() == Window()) ::ReleaseCapture();
        const rt::TPoint at = MousePoint(lParam);
        Guarded([&] { Control().MouseUp(rt::TMouseButton::mbLeft, rt::TShiftState(), at.X, at.Y); });
        const bool inside = at.X >= 0 && at.Y >= 0 && at.X < Control().Width() && at.Y < Control().Height();
        if (*alive && wasPressed && inside) Guarded([&] { Control().Click(); });
        if (!*alive) return true;
        clicking_ = false;
        pressed_ = false;
        // A menu that ran meanwhile took the mouse: no leave message comes for
        // a pointer that ended up elsewhere.
        POINT cursor;
        RECT area;
        ::GetCursorPos(&cursor);
        ::ScreenToClient(Window(), &cursor);
        ::GetClientRect(Window(), &area);
        if (!::PtInRect(&area, cursor) && Button().MouseInControl()) Button().MouseLeave();
        ::InvalidateRect(Window(), nullptr, FALSE);
        return true;
    }

    void Paint(HDC dc) {
        TFlatButton& button = Button();
        RECT area;
        ::GetClientRect(Window(), &area);
        const bool down = pressed_ || button.Down();
        const bool hot = button.MouseInControl() && button.Enabled();
        COLORREF face = ColorOf(down ? button.ColorDown() : hot ? button.ColorFocused() : button.Color());
        if (button.Transparent() && !down && !hot) face = FaceColorOf(ParentColor());
        FillColor(dc, area, face);
        if (down) Frame(dc, area, ColorOf(button.ColorShadow()), ColorOf(button.ColorHighLight()));
        else if (hot) Frame(dc, area, ColorOf(button.ColorHighLight()), ColorOf(button.ColorShadow()));
        else Frame(dc, area, ColorOf(button.ColorBorder()), ColorOf(button.ColorBorder()));

        RECT content = area;
        ::InflateRect(&content, -2, -2);
        if (down) ::OffsetRect(&content, 1, 1);
        if (HasMenu()) {
            content.right -= Scale(kArrowWidth);
            DrawArrow(dc, content, button.Enabled());
        }
        PaintContent(dc, content, down);
    }

    void DrawArrow(HDC dc, const RECT& content, bool enabled) {
        const int size = Scale(3);
        const int x = content.right + (Scale(kArrowWidth) - 2 * size) / 2 + size, y = (content.top + content.bottom) / 2;
        POINT points[3] = {{x - size, y - size / 2}, {x + size, y - size / 2}, {x, y + size / 2 + 1}};
        const COLORREF color = enabled ? ColorOf(Control().Font().Color()) : ::GetSysColor(COLOR_GRAYTEXT);
        HBRUSH brush = ::CreateSolidBrush(color);
        HPEN pen = ::CreatePen(PS_SOLID, 1, color);
        HGDIOBJ oldBrush = ::SelectObject(dc, brush), oldPen = ::SelectObject(dc, pen);
        ::Polygon(dc, points, 3);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(brush);
        ::DeleteObject(pen);
    }

    // Glyph and caption side by side (or stacked), centred unless a margin is set.
    void PaintContent(HDC dc, const RECT& content, bool down) {
        TFlatButton& button = Button();
        SIZE glyph{0, 0};
        int glyphIndex = 0;
        if (glyph_) {
            glyph = BitmapSize(glyph_.Get());
            const int states = button.NumGlyphs() > 0 ? button.NumGlyphs() : 1;
            glyph.cx /= states;
            // The states of a glyph strip: up, disabled, down.
            if (!button.Enabled() && states > 1) glyphIndex = 1;
            else if (down && states > 2) glyphIndex = 2;
        }
        HGDIOBJ oldFont = ::SelectObject(dc, PeerFont().Get());
        const std::string& caption = button.Caption();
        SIZE text{0, 0};
        if (!caption.empty()) ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
        const bool horizontal =
            button.Layout() == TButtonLayout::blGlyphLeft || button.Layout() == TButtonLayout::blGlyphRight;
        const int spacing = glyph.cx && text.cx ? Scale(button.Spacing()) : 0;
        const int width = horizontal ? glyph.cx + spacing + text.cx : std::max<int>(glyph.cx, text.cx);
        const int height = horizontal ? std::max<int>(glyph.cy, text.cy) : glyph.cy + spacing + text.cy;
        const int boxWidth = content.right - content.left, boxHeight = content.bottom - content.top;
        int left = content.left + (button.Margin() >= 0 ? Scale(button.Margin()) : (boxWidth - width) / 2);
        int top = content.top + (boxHeight - height) / 2;

        POINT glyphAt{left, top + (height - glyph.cy) / 2}, textAt{left + glyph.cx + spacing, top + (height - text.cy) / 2};
        switch (button.Layout()) {
            case TButtonLayout::blGlyphLeft: break;
            case TButtonLayout::blGlyphRight:
                textAt.x = left;
                glyphAt.x = left + text.cx + spacing;
                break;
            case TButtonLayout::blGlyphTop:
                glyphAt = POINT{content.left + (boxWidth - glyph.cx) / 2, top};
                textAt = POINT{content.left + (boxWidth - text.cx) / 2, top + glyph.cy + spacing};
                break;
            case TButtonLayout::blGlyphBottom:
                textAt = POINT{content.left + (boxWidth - text.cx) / 2, top};
                glyphAt = POINT{content.left + (boxWidth - glyph.cx) / 2, top + text.cy + spacing};
                break;
        }
        if (glyph_)
            DrawTransparentBitmap(dc, glyph_.Get(), glyphAt.x, glyphAt.y, glyphIndex * glyph.cx, 0, glyph.cx, glyph.cy);
        if (!caption.empty()) {
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, button.Enabled() ? ColorOf(button.Font().Color()) : ::GetSysColor(COLOR_GRAYTEXT));
            RECT textArea{textAt.x, textAt.y, textAt.x + text.cx, textAt.y + text.cy};
            ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textArea,
                        DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        }
        ::SelectObject(dc, oldFont);
    }

    rt::TColor ParentColor() const { return Control().Parent() ? Control().Parent()->Color() : 0; }

    Bitmap glyph_;
    bool pressed_ = false;
    bool clicking_ = false;
};

// The size panel: its drag bar lies outside the client area the children
// fill, painted as the bar's style asks; the mouse drags it.
class SizePanelPeer : public ContainerPeer {
public:
    using ContainerPeer::ContainerPeer;

protected:
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case WM_SETCURSOR:
                if (OverBar()) {
                    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE)));
                    result = TRUE;
                    return true;
                }
                return false;
            default: return ContainerPeer::Message(message, wParam, lParam, result);
        }
    }

    void Paint(HDC dc, const RECT& area) override {
        auto& panel = static_cast<TSizePanel&>(Control());
        const int bar = Scale(panel.SizeBarWidth());
        RECT grip{area.right - bar, area.top, area.right, area.bottom};
        if (panel.Sizing() || (OverBar() && panel.HotSpotVisible()))
            FillColor(dc, grip, ColorOf(panel.HotSpotHighlight()));
        switch (panel.SizeBarStyle()) {
            case TSizeBarStyle::sbsBump: {
                RECT bump{grip.left + bar / 2 - 2, grip.top + 2, grip.left + bar / 2 + 1, grip.bottom - 2};
                ::DrawEdge(dc, &bump, BDR_RAISEDINNER, BF_RECT);
                break;
            }
            case TSizeBarStyle::sbsLine: {
                RECT line{grip.left + bar / 2 - 1, grip.top, grip.left + bar / 2 + 1, grip.bottom};
                ::DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
                break;
            }
            case TSizeBarStyle::sbsFlat: break;
        }
    }

private:
    bool OverBar() const {
        POINT at;
        if (!Window() || !::GetCursorPos(&at) || !::ScreenToClient(Window(), &at)) return false;
        RECT area;
        ::GetClientRect(Window(), &area);
        const int bar = Scale(static_cast<TSizePanel&>(Control()).SizeBarWidth());
        return at.x >= area.right - bar && at.x < area.right && at.y >= 0 && at.y < area.bottom;
    }
};

}  // namespace

void RegisterToolbarPeers() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterPeerFactory([](rt::TControl& control) -> std::unique_ptr<Peer> {
            if (dynamic_cast<TFlatButton*>(&control)) return std::make_unique<FlatButtonPeer>(control);
            if (dynamic_cast<TSizePanel*>(&control)) return std::make_unique<SizePanelPeer>(control);
            return nullptr;
        });
    });
}

}  // namespace toolbar::win32
