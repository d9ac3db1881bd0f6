#include "toolbar/controls/amsizepanel.h"

namespace toolbar {

const rt::TPropList& TSizePanel::ClassProperties() {
    static const rt::TPropList list(
        rt::TCustomPanel::ClassProperties(),
        {
            rt::props::Enumeration<TSizePanel, TSizeBarStyle>("SizeBarStyle", "TSizeBarStyle",
                                                              {"sbsFlat", "sbsBump", "sbsLine"},
                                                              &TSizePanel::SizeBarStyle, &TSizePanel::SetSizeBarStyle),
            rt::props::Integer<TSizePanel>("SizeBarWidth", &TSizePanel::SizeBarWidth, &TSizePanel::SetSizeBarWidth),
            rt::props::Boolean<TSizePanel>("HotSpotVisible", &TSizePanel::HotSpotVisible,
                                           &TSizePanel::SetHotSpotVisible),
            rt::props::Integer<TSizePanel>("HotSpotHighlight", &TSizePanel::HotSpotHighlight,
                                           &TSizePanel::SetHotSpotHighlight),
            rt::props::Boolean<TSizePanel>("LiveSizing", &TSizePanel::LiveSizing, &TSizePanel::SetLiveSizing),
        });
    return list;
}

TSizePanel::TSizePanel(rt::TComponent* owner) : rt::TCustomPanel(owner) {}

void TSizePanel::SetMinWidth(int v) {
    minWidth_ = v;
    if (Width() < minWidth_) SetWidth(minWidth_);
}

void TSizePanel::SetBounds(int left, int top, int width, int height) {
    rt::TCustomPanel::SetBounds(left, top, ClampWidth(width), height);
}

rt::TRect TSizePanel::ClientRect() const {
    const int width = Width() > sizeBarWidth_ ? Width() - sizeBarWidth_ : 0;
    return rt::TRect{0, 0, width, Height()};
}

void TSizePanel::MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    rt::TCustomPanel::MouseDown(button, shift, x, y);
    if (button == rt::TMouseButton::mbLeft && x >= Width() - sizeBarWidth_ && x < Width()) {
        sizing_ = true;
        pendingWidth_ = Width();
    }
}

void TSizePanel::MouseMove(rt::TShiftState shift, int x, int y) {
    rt::TCustomPanel::MouseMove(shift, x, y);
    if (!sizing_) return;
    pendingWidth_ = ClampWidth(x + sizeBarWidth_ / 2);
    if (liveSizing_) SetWidth(pendingWidth_);
}

void TSizePanel::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    if (sizing_ && button == rt::TMouseButton::mbLeft) {
        sizing_ = false;
        SetWidth(pendingWidth_);
    }
    rt::TCustomPanel::MouseUp(button, shift, x, y);
}

const rt::TPropList& TAMSizePanel::ClassProperties() {
    static const rt::TPropList list(TSizePanel::ClassProperties(), {rt::props::Method("OnResized")});
    return list;
}

TAMSizePanel::TAMSizePanel(rt::TComponent* owner) : TSizePanel(owner) {
    SetSizeBarStyle(TSizeBarStyle::sbsBump);
    SetHotSpotVisible(false);
    SetHotSpotHighlight(12615808);
    SetAlign(rt::TAlign::alLeft);
    SetLiveSizing(true);
}

void TAMSizePanel::MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) {
    TSizePanel::MouseUp(button, shift, x, y);
    if (button == rt::TMouseButton::mbLeft && x >= 0 && y >= 0 && x < Width() && y < Height() && OnResized)
        OnResized(this);
}

}  // namespace toolbar
