#include "ScreenCapture.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace zrdemo {
namespace {

std::uint32_t Crc32(const unsigned char* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& body) {
    PutBigEndian(out, static_cast<std::uint32_t>(body.size()));
    std::string typed(type, 4);
    typed += body;
    out += typed;
    PutBigEndian(out, Crc32(reinterpret_cast<const unsigned char*>(typed.data()), typed.size()));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& raw) {
    std::string out("\x78\x01", 2);
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<char>(length & 0xFF));
        out.push_back(static_cast<char>(length >> 8));
        out.push_back(static_cast<char>(~length & 0xFF));
        out.push_back(static_cast<char>((~length >> 8) & 0xFF));
        out.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    PutBigEndian(out, (b << 16) | a);
    return out;
}

BOOL CALLBACK JoinMenu(HWND window, LPARAM param) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32768" && ::IsWindowVisible(window)) {
        RECT menu;
        ::GetWindowRect(window, &menu);
        auto* area = reinterpret_cast<RECT*>(param);
        ::UnionRect(area, area, &menu);
    }
    return TRUE;
}

}  // namespace

Picture CaptureScreenArea(const RECT& area) {
    Picture picture;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return picture;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        picture.width = width;
        picture.height = height;
        picture.rgb.resize(static_cast<std::size_t>(width) * height * 3);
        const auto* bgra = static_cast<const unsigned char*>(bits);
        for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
            picture.rgb[i * 3] = bgra[i * 4 + 2];
            picture.rgb[i * 3 + 1] = bgra[i * 4 + 1];
            picture.rgb[i * 3 + 2] = bgra[i * 4];
        }
        ::SelectObject(memory, old);
    }
    if (bitmap) ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return picture;
}

RECT AreaWithOpenMenus(HWND window) {
    RECT area{};
    if (window) ::GetWindowRect(window, &area);
    ::EnumWindows(&JoinMenu, reinterpret_cast<LPARAM>(&area));
    return area;
}

std::string EncodePng(const Picture& picture) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(picture.width));
    PutBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
    PutChunk(png, "IHDR", header);
    std::string raw;
    const std::size_t row = static_cast<std::size_t>(picture.width) * 3;
    raw.reserve((row + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);  // no filter
        raw.append(reinterpret_cast<const char*>(picture.rgb.data()) + y * row, row);
    }
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", "");
    return png;
}

bool WritePng(const std::string& path, const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    const std::string bytes = EncodePng(picture);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool SaveWindowPicture(HWND window, const std::string& folder, const std::string& name) {
    if (window) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    return WritePng(path + name + ".png", CaptureScreenArea(AreaWithOpenMenus(window)));
}

}  // namespace zrdemo
