#include "runtime/Graphics.h"

namespace rt {

const std::vector<std::string>& FontStyleNames() {
    static const std::vector<std::string> names{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
    return names;
}

const TPropList& TFont::ClassProperties() {
    static const TPropList list(
        TPersistent::ClassProperties(),
        {
            props::String<TFont>("Name", &TFont::Name, &TFont::SetName),
            props::Integer<TFont>("Size", &TFont::Size, &TFont::SetSize),
            props::Integer<TFont>("Color", &TFont::Color, &TFont::SetColor),
            props::Integer<TFont>("Charset", &TFont::Charset, &TFont::SetCharset),
            [] {
                TPropInfo p = props::Set<TFont>(
                    "Style", "TFontStyles", [](const TFont& f) { return f.Style().Mask(); },
                    [](TFont& f, std::uint32_t mask) { f.SetStyle(TFontStyles::FromMask(mask)); });
                p.EnumNames = FontStyleNames();
                return p;
            }(),
        });
    return list;
}

// A copy takes the values, not the change handler.
TFont::TFont(const TFont& other)
    : TPersistent(), name_(other.name_), size_(other.size_), style_(other.style_), color_(other.color_),
      charset_(other.charset_) {}

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

void TFont::Changed() {
    if (OnChange) OnChange(*this);
}

void TFont::SetName(const std::string& v) {
    if (v == name_) return;
    name_ = v;
    Changed();
}

void TFont::SetSize(int points) {
    if (points == size_) return;
    size_ = points;
    Changed();
}

void TFont::SetStyle(TFontStyles v) {
    if (v == style_) return;
    style_ = v;
    Changed();
}

void TFont::SetColor(TColor v) {
    if (v == color_) return;
    color_ = v;
    Changed();
}

void TFont::SetCharset(int v) {
    if (v == charset_) return;
    charset_ = v;
    Changed();
}

int TFont::HeightAt(int pixelsPerInch) const {
    // MulDiv rounding, as the runtime does it.
    const long long scaled = static_cast<long long>(size_) * pixelsPerInch;
    return -static_cast<int>((scaled >= 0 ? scaled + 36 : scaled - 36) / 72);
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && size_ == other.size_ && style_ == other.style_ && color_ == other.color_ &&
           charset_ == other.charset_;
}

void TFont::Assign(const TPersistent& source) {
    const auto* font = dynamic_cast<const TFont*>(&source);
    if (!font) {
        TPersistent::Assign(source);
        return;
    }
    if (font == this || SameAs(*font)) return;
    name_ = font->name_;
    size_ = font->size_;
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    Changed();
}

}  // namespace rt
