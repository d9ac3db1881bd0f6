#pragma once
// The resizable panel that holds the search box: the component library's
// size panel (a drag bar on its right edge) and an event at the end of a resize.
#include "runtime/StdCtrls.h"

namespace toolbar {

enum class TSizeBarStyle { sbsFlat, sbsBump, sbsLine };

class TSizePanel : public rt::TCustomPanel {
    RT_CLASS(TSizePanel)
public:
    explicit TSizePanel(rt::TComponent* owner);

    TSizeBarStyle SizeBarStyle() const { return sizeBarStyle_; }
    void SetSizeBarStyle(TSizeBarStyle v) { sizeBarStyle_ = v; }
    int SizeBarWidth() const { return sizeBarWidth_; }
    void SetSizeBarWidth(int v) {
        sizeBarWidth_ = v;
        Realign();
    }
    bool HotSpotVisible() const { return hotSpotVisible_; }
    void SetHotSpotVisible(bool v) { hotSpotVisible_ = v; }
    int HotSpotHighlight() const { return hotSpotHighlight_; }
    void SetHotSpotHighlight(int v) { hotSpotHighlight_ = v; }
    bool LiveSizing() const { return liveSizing_; }
    void SetLiveSizing(bool v) { liveSizing_ = v; }
    // The constraint: every width given, a stored one restored included, is
    // held to it, so the size bar never leaves the user's reach.
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int v);
    void SetBounds(int left, int top, int width, int height) override;
    bool Sizing() const { return sizing_; }
    // The size bar on the right edge is no place for children.
    rt::TRect ClientRect() const override;

    // Pressing the left button on the size bar starts a drag; moving resizes
    // (live) or waits for the release.
    void MouseDown(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;
    void MouseMove(rt::TShiftState shift, int x, int y) override;
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;

private:
    int ClampWidth(int width) const { return width < minWidth_ ? minWidth_ : width; }

    TSizeBarStyle sizeBarStyle_ = TSizeBarStyle::sbsFlat;
    int sizeBarWidth_ = 5;
    bool hotSpotVisible_ = true;
    int hotSpotHighlight_ = 0;
    bool liveSizing_ = false;
    int minWidth_ = 0;
    bool sizing_ = false;
    int pendingWidth_ = 0;
};

class TAMSizePanel : public TSizePanel {
    RT_CLASS(TAMSizePanel)
public:
    explicit TAMSizePanel(rt::TComponent* owner);
    // After the base's handling: the left button released over the panel
    // fires OnResized.
    void MouseUp(rt::TMouseButton button, rt::TShiftState shift, int x, int y) override;

    rt::TNotifyEvent OnResized;
};

}  // namespace toolbar
