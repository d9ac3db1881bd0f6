#pragma once
// GDI objects with one owner each, the system's DPI and colours, and the
// runtime's fonts turned into real ones.
#include <string>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include "runtime/Graphics.h"

namespace platform::win32::ui {

// The GDI objects the backend made and has not freed yet (every holder
// counts), so a test can see that a destroyed form left none behind.
int LiveGdiObjects();

// One GDI object, deleted with DeleteObject.
template <class H>
class GdiHolder {
public:
    GdiHolder() = default;
    explicit GdiHolder(H handle) { Reset(handle); }
    ~GdiHolder() { Reset(); }
    GdiHolder(GdiHolder&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    GdiHolder& operator=(GdiHolder&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    GdiHolder(const GdiHolder&) = delete;
    GdiHolder& operator=(const GdiHolder&) = delete;

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(H handle = nullptr);

private:
    H handle_ = nullptr;
};

void CountGdiObject(int delta);

template <class H>
void GdiHolder<H>::Reset(H handle) {
    if (handle_) {
        ::DeleteObject(handle_);
        CountGdiObject(-1);
    }
    handle_ = handle;
    if (handle_) CountGdiObject(1);
}

using Font = GdiHolder<HFONT>;
using Brush = GdiHolder<HBRUSH>;
using Bitmap = GdiHolder<HBITMAP>;

// Pixels per inch of the screen (96 when it cannot be read).
int ScreenDpi();
// A length of the forms (laid out at 96 dots per inch) in screen pixels, and back.
int Scale(int length);
int Unscale(int pixels);

// The real colour of a runtime colour (system colours looked up).
COLORREF ColorOf(rt::TColor color);
// The colour a control paints its background with: an unset colour (0, the
// controls' default) is the button face, as for forms and panels.
COLORREF FaceColorOf(rt::TColor color);

// The font as the runtime describes it; a face the system lacks gives the
// system's dialog font at the same size and style.
HFONT MakeFont(const rt::TFont& font);
// True when a font family of that name is installed.
bool FontFamilyExists(const std::string& name);

// A bitmap resource of the module (or a .bmp file when the name is a
// path); null when it does not load.
HBITMAP LoadBitmapNamed(const std::string& name);
// The size of a bitmap in pixels.
SIZE BitmapSize(HBITMAP bitmap);
// A piece of a bitmap (x, y, width, height) as a new bitmap of its own;
// the colour of its bottom-left pixel becomes transparent (the face colour
// of a menu or button behind it) when `transparentTo` is not CLR_NONE.
HBITMAP CutBitmap(HBITMAP source, int x, int y, int width, int height, COLORREF transparentTo);

// Draws `bitmap` at (x, y), its bottom-left pixel's colour left out.
void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, int srcX, int srcY, int width, int height);

}  // namespace platform::win32::ui
