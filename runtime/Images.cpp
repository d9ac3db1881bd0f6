#include "runtime/Images.h"

#include <algorithm>

namespace rt {

const TPropList& TImage::ClassProperties() {
    static const TPropList list(
        TControl::ClassProperties(),
        {
            props::String<TImage>("Picture", &TImage::Picture, [](TImage& i, const std::string& v) { i.SetPicture(v); }),
            props::Boolean<TImage>("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize),
            props::Boolean<TImage>("Stretch", &TImage::Stretch, &TImage::SetStretch),
            props::Boolean<TImage>("Center", &TImage::Center, &TImage::SetCenter),
            props::Boolean<TImage>("Transparent", &TImage::Transparent, &TImage::SetTransparent),
        });
    return list;
}

TImage::TImage(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 105, 105); }

void TImage::SetPicture(const std::string& name, int width, int height) {
    width = name.empty() ? 0 : std::max(0, width);
    height = name.empty() ? 0 : std::max(0, height);
    if (name == picture_ && width == pictureWidth_ && height == pictureHeight_) return;
    picture_ = name;
    pictureWidth_ = width;
    pictureHeight_ = height;
    Changed(TControlChange::Picture);
    FitPicture();
}

void TImage::FitPicture() {
    if (autoSize_ && pictureWidth_ > 0 && pictureHeight_ > 0) SetBounds(Left(), Top(), pictureWidth_, pictureHeight_);
}

void TImage::SetFlag(bool& flag, bool v) {
    if (v == flag) return;
    flag = v;
    Changed(TControlChange::Style);
}

void TImage::SetAutoSize(bool v) {
    SetFlag(autoSize_, v);
    FitPicture();
}

void TImage::SetStretch(bool v) { SetFlag(stretch_, v); }
void TImage::SetCenter(bool v) { SetFlag(center_, v); }
void TImage::SetTransparent(bool v) { SetFlag(transparent_, v); }

}  // namespace rt
