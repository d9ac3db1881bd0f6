#include "toolbar/controls/FlatButton.h"

namespace toolbar {

const rt::TPropList& TFlatButton::ClassProperties() {
    static const rt::TPropList list(
        rt::TControl::ClassProperties(),
        {
            rt::props::Boolean<TFlatButton>("Down", &TFlatButton::Down, &TFlatButton::SetDown),
            rt::props::Integer<TFlatButton>("GroupIndex", &TFlatButton::GroupIndex, &TFlatButton::SetGroupIndex),
            rt::props::Boolean<TFlatButton>("AllowAllUp", &TFlatButton::AllowAllUp, &TFlatButton::SetAllowAllUp),
            rt::props::Boolean<TFlatButton>("Transparent", &TFlatButton::Transparent, &TFlatButton::SetTransparent),
            rt::props::Enumeration<TFlatButton, TButtonLayout>(
                "Layout", "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
                &TFlatButton::Layout, &TFlatButton::SetLayout),
            rt::props::Integer<TFlatButton>("Margin", &TFlatButton::Margin, &TFlatButton::SetMargin),
            rt::props::Integer<TFlatButton>("Spacing", &TFlatButton::Spacing, &TFlatButton::SetSpacing),
            rt::props::Integer<TFlatButton>("ColorFocused", &TFlatButton::ColorFocused, &TFlatButton::SetColorFocused),
            rt::props::Integer<TFlatButton>("ColorDown", &TFlatButton::ColorDown, &TFlatButton::SetColorDown),
            rt::props::Integer<TFlatButton>("ColorBorder", &TFlatButton::ColorBorder, &TFlatButton::SetColorBorder),
            rt::props::Method("OnMouseEnter"),
            rt::props::Method("OnMouseLeave"),
        });
    return list;
}

TFlatButton::TFlatButton(rt::TComponent* owner) : rt::TControl(owner) {
    SetBounds(0, 0, 25, 25);
    SetColor(clBtnFace);
}

void TFlatButton::SetDown(bool down) {
    if (groupIndex_ == 0) down = false;
    if (down == down_) return;
    if (!down && !allowAllUp_) {
        // The last button of a group cannot be released by itself.
        return;
    }
    down_ = down;
    Changed(rt::TControlChange::Checked);
    if (down && Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TFlatButton*>(Parent()->Controls(i)))
                if (other != this && other->groupIndex_ == groupIndex_ && other->down_) {
                    other->down_ = false;
                    other->Changed(rt::TControlChange::Checked);
                }
    // Pressing a button by code runs its click handler, as the component
    // library does (the drop-down behaviour of subclasses is not run).
    if (OnClick) OnClick(this);
}

void TFlatButton::Click() {
    if (groupIndex_ == 0) return rt::TControl::Click();
    const bool was = down_;
    SetDown(!down_);
    // The last pressed button of a group that may not be all up stays down
    // and still reports the click.
    if (down_ == was && OnClick) OnClick(this);
}

void TFlatButton::MouseEnter() {
    mouseIn_ = true;
    if (OnMouseEnter) OnMouseEnter(this);
}

void TFlatButton::MouseLeave() {
    mouseIn_ = false;
    if (OnMouseLeave) OnMouseLeave(this);
}

void TFlatButton::SetGlyphResource(const std::string& name) {
    glyphResource_ = name;
    Changed(rt::TControlChange::Picture);  // also for the same name: the bitmap is loaded again
}

}  // namespace toolbar
