#include "runtime/Menus.h"

#include <algorithm>
#include <atomic>

namespace rt {

namespace {
std::atomic<unsigned> nextCommand{1};
const std::vector<std::string> breakNames{"mbNone", "mbBreak", "mbBarBreak"};
const std::vector<std::string> alignmentNames{"paLeft", "paRight", "paCenter"};
const std::vector<std::string> trackNames{"tbRightButton", "tbLeftButton"};
}  // namespace

const TPropList& TMenuItem::ClassProperties() {
    static const TPropList list(
        TComponent::ClassProperties(),
        {
            props::String<TMenuItem>("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
            props::Boolean<TMenuItem>("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked),
            props::Boolean<TMenuItem>("Default", &TMenuItem::Default, &TMenuItem::SetDefault),
            props::Boolean<TMenuItem>("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled),
            props::Boolean<TMenuItem>("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible),
            props::Integer<TMenuItem>("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex),
            props::Boolean<TMenuItem>("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem),
            props::Integer<TMenuItem>("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex),
            props::Integer<TMenuItem>("ShortCut", &TMenuItem::ShortCut,
                                      [](TMenuItem& m, int v) { m.SetShortCut(static_cast<TShortCut>(v)); }),
            props::String<TMenuItem>("Hint", &TMenuItem::Hint, &TMenuItem::SetHint),
            props::Enumeration<TMenuItem, TMenuBreak>("Break", "TMenuBreak", breakNames, &TMenuItem::Break,
                                                      &TMenuItem::SetBreak),
            props::Method("OnClick"),
            props::Method("OnDrawItem", "TMenuDrawItemEvent"),
            props::Method("OnAdvancedDrawItem", "TAdvancedMenuDrawItemEvent"),
            props::Method("OnMeasureItem", "TMenuMeasureItemEvent"),
        });
    return list;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(nextCommand++) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (parent_) parent_->Remove(this);
}

void TMenuItem::Changed(bool rebuild) {
    TMenu* menu = GetParentMenu();
    if (menu && menu->OnChange) menu->OnChange(menu, this, rebuild);
}

void TMenuItem::SetChecked(bool v) {
    checked_ = v;
    // A checked radio entry unchecks the others of its group.
    if (v && radioItem_ && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
    Changed(false);
}

void TMenuItem::SetDefault(bool v) {
    if (v && parent_)
        for (TMenuItem* sibling : parent_->items_) sibling->default_ = false;
    default_ = v;
    Changed(true);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EMenuError(Format("Menu index out of range (%d)", {index}));
    return items_[index];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw EMenuError("Menu inserted twice");
    for (TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EMenuError("Sub-menu is not in menu");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) throw EMenuError("Sub-menu is not in menu");
    items_.erase(it);
    item->parent_ = nullptr;
    Changed(true);
}

void TMenuItem::Delete(int index) { Remove(Items(index)); }

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();  // the child removes itself
}

TMenuItem* TMenuItem::FindItem(unsigned command) {
    if (command_ == command) return this;
    for (TMenuItem* child : items_)
        if (TMenuItem* found = child->FindItem(command)) return found;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

// ------------------------------------------------------------------ TMenu

const TPropList& TMenu::ClassProperties() {
    static const TPropList list(
        TComponent::ClassProperties(),
        {
            props::Object<TMenu>(
                "Images", "TCustomImageList", [](const TMenu& m) { return m.Images(); }, &TMenu::SetImages),
            props::Boolean<TMenu>("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw),
            props::Boolean<TMenu>("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys),
            props::Method("OnChange", "TMenuChangeEvent"),
        });
    return list;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
    OnChange = nullptr;
    delete items_;
}

bool TMenu::DispatchCommand(unsigned command) {
    TMenuItem* item = command ? FindItem(command) : nullptr;
    if (!item) return false;
    item->Click();
    return true;
}

// ------------------------------------------------------------- TPopupMenu

const TPropList& TPopupMenu::ClassProperties() {
    static const TPropList list(
        TMenu::ClassProperties(),
        {
            props::Enumeration<TPopupMenu, TPopupAlignment>("Alignment", "TPopupAlignment", alignmentNames,
                                                            &TPopupMenu::Alignment, &TPopupMenu::SetAlignment),
            props::Enumeration<TPopupMenu, TTrackButton>("TrackButton", "TTrackButton", trackNames,
                                                         &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton),
            props::Integer<TPopupMenu>("MenuAnimation", &TPopupMenu::MenuAnimation, &TPopupMenu::SetMenuAnimation),
            props::Boolean<TPopupMenu>("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup),
            props::Method("OnPopup"),
        });
    return list;
}

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = TPoint{x, y};
    if (OnPopup) OnPopup(this);
    const unsigned command = UiBackend().TrackPopupMenu(*this, popupPoint_, OwnerWindow());
    if (command) DeliverCommand(command);
}

}  // namespace rt
