#include "platform/win32/ui/MenuBuilder.h"

#include "runtime/Images.h"

namespace platform::win32::ui {
namespace {

std::string EntryText(const rt::TMenuItem& item) {
    std::string text = item.Caption();
    const std::string shortCut = rt::ShortCutToText(item.ShortCut());
    if (!shortCut.empty()) text += "\t" + shortCut;
    return text;
}

UINT EntryFlags(const rt::TMenuItem& item) {
    UINT flags = 0;
    if (item.Checked()) flags |= MF_CHECKED;
    if (!item.Enabled()) flags |= MF_GRAYED;
    if (item.Break() == rt::TMenuBreak::mbBreak) flags |= MF_MENUBREAK;
    if (item.Break() == rt::TMenuBreak::mbBarBreak) flags |= MF_MENUBARBREAK;
    return flags;
}

}  // namespace

PopupMenuHandle::PopupMenuHandle(rt::TMenu& menu) : menu_(::CreatePopupMenu()) {
    if (menu_) Fill(menu_, *menu.Items(), menu);
}

PopupMenuHandle::~PopupMenuHandle() {
    // The bitmaps stay alive until the menu that shows them is gone.
    if (menu_) ::DestroyMenu(menu_);
}

void PopupMenuHandle::Fill(HMENU target, rt::TMenuItem& parent, rt::TMenu& menu) {
    auto* images = dynamic_cast<rt::TImageList*>(menu.Images());
    HBITMAP strip = images ? LoadBitmapNamed(images->Resource()) : nullptr;
    for (int i = 0; i < parent.Count(); ++i) {
        rt::TMenuItem& item = *parent.Items(i);
        if (!item.Visible()) continue;
        if (item.IsLine()) {
            ::AppendMenuA(target, MF_SEPARATOR | EntryFlags(item), 0, nullptr);
            continue;
        }
        if (item.Count() > 0) {
            HMENU sub = ::CreatePopupMenu();
            if (!sub) continue;
            Fill(sub, item, menu);
            ::AppendMenuA(target, MF_POPUP | EntryFlags(item), reinterpret_cast<UINT_PTR>(sub), EntryText(item).c_str());
        } else {
            ::AppendMenuA(target, MF_STRING | EntryFlags(item), item.Command(), EntryText(item).c_str());
        }
        if (item.Default()) ::SetMenuDefaultItem(target, static_cast<UINT>(::GetMenuItemCount(target) - 1), TRUE);
        if (strip && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count()) {
            Bitmap image(CutBitmap(strip, item.ImageIndex() * images->Width(), 0, images->Width(), images->Height(),
                                   ::GetSysColor(COLOR_MENU)));
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_BITMAP;
            info.hbmpItem = image.Get();
            ::SetMenuItemInfoA(target, static_cast<UINT>(::GetMenuItemCount(target) - 1), TRUE, &info);
            images_.push_back(std::move(image));
        }
    }
    if (strip) ::DeleteObject(strip);
}

HMENU MenuBar::BuildBar(rt::TMenu& menu, unsigned short firstId) {
    commands_.clear();
    nextId_ = firstId;
    HMENU bar = ::CreateMenu();
    if (bar) Fill(bar, *menu.Items());
    return bar;
}

void MenuBar::Fill(HMENU target, rt::TMenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) {
        rt::TMenuItem& item = *parent.Items(i);
        if (!item.Visible()) continue;
        if (item.IsLine()) {
            ::AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
        } else if (item.Count() > 0) {
            HMENU sub = ::CreatePopupMenu();
            if (!sub) continue;
            Fill(sub, item);
            ::AppendMenuA(target, MF_POPUP | EntryFlags(item), reinterpret_cast<UINT_PTR>(sub), EntryText(item).c_str());
        } else if (nextId_ < 0xFFFF) {
            commands_[nextId_] = item.Command();
            ::AppendMenuA(target, MF_STRING | EntryFlags(item), nextId_++, EntryText(item).c_str());
        }
    }
}

void MenuBar::Dispatch(rt::TMenu& menu, unsigned short id) {
    auto found = commands_.find(id);
    if (found != commands_.end()) menu.DispatchCommand(found->second);
}

}  // namespace platform::win32::ui
