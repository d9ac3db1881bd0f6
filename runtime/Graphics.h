#pragma once
// Colours and fonts as the runtime has them. A colour is 0x00BBGGRR, or a
// system colour (0x80000000 + the COLOR_ index) that the backend looks up.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/Classes.h"

namespace rt {

using TColor = std::int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clScrollBar = static_cast<TColor>(0x80000000u);
constexpr TColor clWindow = static_cast<TColor>(0x80000005u);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
constexpr TColor clHighlight = static_cast<TColor>(0x8000000Du);
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// A system colour's COLOR_ index, or -1 for a plain colour.
inline int SystemColorIndex(TColor color) {
    return (static_cast<std::uint32_t>(color) & 0xFF000000u) == 0x80000000u ? static_cast<int>(color & 0xFF) : -1;
}

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

class TFontStyles {
public:
    TFontStyles() = default;
    TFontStyles(std::initializer_list<TFontStyle> styles) {
        for (TFontStyle s : styles) Include(s);
    }
    TFontStyles& Include(TFontStyle s) { bits_ |= Bit(s); return *this; }
    TFontStyles& Exclude(TFontStyle s) { bits_ &= ~Bit(s); return *this; }
    bool Contains(TFontStyle s) const { return (bits_ & Bit(s)) != 0; }
    bool Empty() const { return bits_ == 0; }
    // The set as a bit mask of its element ordinals (the published form).
    std::uint32_t Mask() const { return bits_; }
    static TFontStyles FromMask(std::uint32_t mask) { TFontStyles s; s.bits_ = mask & 0xF; return s; }
    bool operator==(const TFontStyles&) const = default;

private:
    static std::uint32_t Bit(TFontStyle s) { return 1u << static_cast<unsigned>(s); }
    std::uint32_t bits_ = 0;
};

// Name, size in points, style and colour. OnChange runs after each change
// that alters a value (once for an Assign).
class TFont : public TPersistent {
    RT_CLASS(TFont)
public:
    TFont() = default;
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& v);
    int Size() const { return size_; }
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    int Charset() const { return charset_; }  // DEFAULT_CHARSET (1) unless set
    void SetCharset(int v);

    // The font's height in pixels at `pixelsPerInch` (negative: a character
    // height, as LOGFONT's lfHeight takes it).
    int HeightAt(int pixelsPerInch) const;
    bool SameAs(const TFont& other) const;

    void Assign(const TPersistent& source) override;

    std::function<void(TFont&)> OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int size_ = 8;
    TFontStyles style_;
    TColor color_ = clWindowText;
    int charset_ = 1;
};

const std::vector<std::string>& FontStyleNames();

}  // namespace rt
