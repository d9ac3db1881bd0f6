#pragma once
// An image control (the runtime's ExtCtrls has it): it holds the name of its
// picture (a resource of the module, or a file) and the picture's size when
// known; the backend loads and draws it. Its double click carries the
// modifier keys (TControl::DblClick(shift), ClickShift()).
#include <string>

#include "runtime/Controls.h"

namespace rt {

class TImage : public TControl {
    RT_CLASS(TImage)
public:
    explicit TImage(TComponent* owner);

    // The picture's name; empty: none. Width and height are the picture's
    // own size in pixels (0: not known); with AutoSize a known size sizes the control.
    const std::string& Picture() const { return picture_; }
    void SetPicture(const std::string& name, int width = 0, int height = 0);
    int PictureWidth() const { return pictureWidth_; }
    int PictureHeight() const { return pictureHeight_; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);

private:
    void SetFlag(bool& flag, bool v);
    void FitPicture();

    std::string picture_;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
};

// Images of one size cut from one bitmap resource of the module laid out
// as a strip; menus and buttons refer to them by index.
class TImageList : public TComponent {
    RT_CLASS_SAME_PROPS(TImageList, TComponent)
public:
    using TComponent::TComponent;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height) { width_ = width; height_ = height; }
    // The strip's resource name and the number of images in it.
    const std::string& Resource() const { return resource_; }
    int Count() const { return count_; }
    void SetResource(const std::string& name, int count) { resource_ = name; count_ = count < 0 ? 0 : count; }

private:
    int width_ = 16;
    int height_ = 16;
    std::string resource_;
    int count_ = 0;
};

}  // namespace rt
