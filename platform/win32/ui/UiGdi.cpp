#include "platform/win32/ui/UiGdi.h"

#include <atomic>
#include <mutex>
#include <set>

#include "platform/win32/ui/UiPeer.h"
#include "runtime/SysUtils.h"

namespace platform::win32::ui {
namespace {
std::atomic<int> liveGdiObjects{0};

int CALLBACK FamilyFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}
}  // namespace

int LiveGdiObjects() { return liveGdiObjects.load(); }
void CountGdiObject(int delta) { liveGdiObjects += delta; }

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        int value = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ::ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int Scale(int length) { return ::MulDiv(length, ScreenDpi(), 96); }
int Unscale(int pixels) { return ::MulDiv(pixels, 96, ScreenDpi()); }

COLORREF ColorOf(rt::TColor color) {
    if (color == rt::clNone || color == rt::clDefault) return ::GetSysColor(COLOR_BTNFACE);
    const int index = rt::SystemColorIndex(color);
    if (index >= 0) return ::GetSysColor(index);
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

COLORREF FaceColorOf(rt::TColor color) { return ColorOf(color == 0 ? rt::clBtnFace : color); }

bool FontFamilyExists(const std::string& name) {
    // Asked once per name: font enumeration is slow and the set rarely changes.
    static std::mutex mutex;
    static std::set<std::string> known, missing;
    std::lock_guard<std::mutex> lock(mutex);
    if (known.count(name)) return true;
    if (missing.count(name)) return false;
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    if (screen) {
        LOGFONTA query{};
        query.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(query.lfFaceName, name.c_str(), LF_FACESIZE);
        ::EnumFontFamiliesExA(screen, &query, FamilyFound, reinterpret_cast<LPARAM>(&found), 0);
        ::ReleaseDC(nullptr, screen);
    }
    (found ? known : missing).insert(name);
    return found;
}

HFONT MakeFont(const rt::TFont& font) {
    LOGFONTA face{};
    if (font.Name().empty() || !FontFamilyExists(font.Name())) {
        // The system's dialog font, as the message boxes use it.
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            face = metrics.lfMessageFont;
        else
            ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
    } else {
        lstrcpynA(face.lfFaceName, font.Name().c_str(), LF_FACESIZE);
        face.lfCharSet = static_cast<BYTE>(font.Charset());
    }
    face.lfHeight = font.HeightAt(ScreenDpi());
    face.lfWidth = 0;
    face.lfWeight = font.Style().Contains(rt::TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    face.lfItalic = font.Style().Contains(rt::TFontStyle::fsItalic);
    face.lfUnderline = font.Style().Contains(rt::TFontStyle::fsUnderline);
    face.lfStrikeOut = font.Style().Contains(rt::TFontStyle::fsStrikeOut);
    return ::CreateFontIndirectA(&face);
}

HBITMAP LoadBitmapNamed(const std::string& name) {
    if (name.empty()) return nullptr;
    const bool isFile = name.find('\\') != std::string::npos || name.find('/') != std::string::npos ||
                        rt::SameText(rt::ExtractFileExt(name), ".bmp");
    const UINT flags = LR_CREATEDIBSECTION | (isFile ? LR_LOADFROMFILE : 0);
    return static_cast<HBITMAP>(
        ::LoadImageA(isFile ? nullptr : ThisModule(), name.c_str(), IMAGE_BITMAP, 0, 0, flags));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

HBITMAP CutBitmap(HBITMAP source, int x, int y, int width, int height, COLORREF transparentTo) {
    HDC screen = ::GetDC(nullptr);
    HDC from = ::CreateCompatibleDC(screen);
    HDC to = ::CreateCompatibleDC(screen);
    HBITMAP piece = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    if (from && to && piece) {
        HGDIOBJ oldFrom = ::SelectObject(from, source);
        HGDIOBJ oldTo = ::SelectObject(to, piece);
        if (transparentTo == CLR_NONE) {
            ::BitBlt(to, 0, 0, width, height, from, x, y, SRCCOPY);
        } else {
            HBRUSH face = ::CreateSolidBrush(transparentTo);
            RECT all{0, 0, width, height};
            ::FillRect(to, &all, face);
            ::DeleteObject(face);
            const COLORREF key = ::GetPixel(from, x, y + height - 1);
            ::TransparentBlt(to, 0, 0, width, height, from, x, y, width, height, key);
        }
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
    }
    if (from) ::DeleteDC(from);
    if (to) ::DeleteDC(to);
    return piece;
}

void DrawTransparentBitmap(HDC dc, HBITMAP bitmap, int x, int y, int srcX, int srcY, int width, int height) {
    HDC from = ::CreateCompatibleDC(dc);
    if (!from) return;
    HGDIOBJ old = ::SelectObject(from, bitmap);
    const COLORREF key = ::GetPixel(from, srcX, srcY + height - 1);
    ::TransparentBlt(dc, x, y, width, height, from, srcX, srcY, width, height, key);
    ::SelectObject(from, old);
    ::DeleteDC(from);
}

}  // namespace platform::win32::ui
