#pragma once
// Native menus made from the runtime's menu entries: the pop-up menus that
// TrackPopupMenu shows, with the images of their image list, and a form's
// menu bar.
#include <map>
#include <vector>

#include "platform/win32/ui/UiGdi.h"
#include "runtime/Menus.h"

namespace platform::win32::ui {

// One pop-up menu while it is shown: the menu handle and the bitmaps of its
// images, all freed with it. Entry ids are the entries' command ids.
class PopupMenuHandle {
public:
    explicit PopupMenuHandle(rt::TMenu& menu);
    ~PopupMenuHandle();
    PopupMenuHandle(const PopupMenuHandle&) = delete;
    PopupMenuHandle& operator=(const PopupMenuHandle&) = delete;
    HMENU Get() const { return menu_; }

private:
    void Fill(HMENU target, rt::TMenuItem& parent, rt::TMenu& menu);
    HMENU menu_ = nullptr;
    std::vector<Bitmap> images_;
};

// A form's menu bar: 16-bit ids of its own (WM_COMMAND carries no more)
// mapped to the entries' command ids.
class MenuBar {
public:
    // The bar's handle; the window that takes it destroys it.
    HMENU BuildBar(rt::TMenu& menu, unsigned short firstId);
    void Dispatch(rt::TMenu& menu, unsigned short id);

private:
    void Fill(HMENU target, rt::TMenuItem& parent);
    std::map<unsigned short, unsigned> commands_;
    unsigned short nextId_ = 0;
};

}  // namespace platform::win32::ui
