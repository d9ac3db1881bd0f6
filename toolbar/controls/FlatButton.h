#pragma once
// The component library's flat, windowless button: caption, glyph, layout,
// colours, a pressed state with toggle groups, and an overridable click.
#include <string>

#include "runtime/Controls.h"

namespace toolbar {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

constexpr int clBtnFace = static_cast<int>(0x8000000F);

class TFlatButton : public rt::TControl {
    RT_CLASS(TFlatButton)
public:
    explicit TFlatButton(rt::TComponent* owner);

    bool Down() const { return down_; }
    // In a group, pressing one button releases the others; the last one
    // stays down unless AllowAllUp.
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v) { allowAllUp_ = v; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v) { layout_ = v; }
    int Margin() const { return margin_; }
    void SetMargin(int v) { margin_ = v; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int v) { spacing_ = v; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v) { numGlyphs_ = v; }
    int ImageIndex() const { return imageIndex_; }  // the glyph
    void SetImageIndex(int v) { imageIndex_ = v; }
    // The glyph as the name of a bitmap resource of the module; the backend
    // loads and paints it (TControlChange::Picture).
    const std::string& GlyphResource() const { return glyphResource_; }
    void SetGlyphResource(const std::string& name);

    int ColorFocused() const { return colorFocused_; }
    void SetColorFocused(int v) { colorFocused_ = v; }
    int ColorDown() const { return colorDown_; }
    void SetColorDown(int v) { colorDown_ = v; }
    int ColorBorder() const { return colorBorder_; }
    void SetColorBorder(int v) { colorBorder_ = v; }
    int ColorHighLight() const { return colorHighLight_; }
    void SetColorHighLight(int v) { colorHighLight_ = v; }
    int ColorShadow() const { return colorShadow_; }
    void SetColorShadow(int v) { colorShadow_ = v; }

    // A button of a group flips its pressed state (SetDown runs the click
    // handler); any other runs the click handler.
    void Click() override;

    // The mouse enters or leaves the button.
    void MouseEnter();
    void MouseLeave();
    bool MouseInControl() const { return mouseIn_; }

    rt::TNotifyEvent OnMouseEnter;
    rt::TNotifyEvent OnMouseLeave;

private:
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool transparent_ = false;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    int numGlyphs_ = 1;
    int imageIndex_ = -1;
    std::string glyphResource_;
    int colorFocused_ = 0x00E0E0E0;
    int colorDown_ = 0x00C0C0C0;
    int colorBorder_ = 0x00808080;
    int colorHighLight_ = 0x00FFFFFF;
    int colorShadow_ = 0x00404040;
    bool mouseIn_ = false;
};

}  // namespace toolbar
