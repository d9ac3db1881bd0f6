#pragma once
// Pictures of what is on the screen, saved as PNG files: for the demo host's
// screenshots and for tests that keep a picture of what they drove.
#include "platform/win32/Win32Api.h"

#include <string>
#include <vector>

namespace zrdemo {

// The screen's pixels inside `area` (screen coordinates), as rows of
// red-green-blue bytes from the top; empty when the area is empty.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};
Picture CaptureScreenArea(const RECT& area);

// The window's rectangle on the screen, joined with every visible popup menu
// of the calling thread's process (an open menu belongs in the picture).
RECT AreaWithOpenMenus(HWND window);

// A PNG file of the picture (uncompressed deflate blocks: small pictures,
// no compression library). False when the file cannot be written.
bool WritePng(const std::string& path, const Picture& picture);
std::string EncodePng(const Picture& picture);

// Captures and saves in one go: the window (with its open menus) into
// `folder`\`name`.png. False when nothing could be captured or saved.
bool SaveWindowPicture(HWND window, const std::string& folder, const std::string& name);

}  // namespace zrdemo
