#include "runtime/Menus.h"

#include <algorithm>
#include <atomic>

namespace rt {

namespace {
std::atomic<unsigned> nextCommand{1};
const std::vector<std::string> breakNames{"mbNone", "mbBreak", "mbBarBreak"};
const std::vector<std::string> alignmentNames{"paLeft", "paRight", "paCenter"};
const std::vector<std::string> trackNames{"tbRightButton", "tbLeftButton"};

// Names of the keys a shortcut may have besides letters, digits and F1..F12.
struct KeyName {
    unsigned short key;
    const char* name;
};
constexpr KeyName keyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},  {0x0D, "Enter"}, {0x1B, "Esc"},   {0x20, "Space"}, {0x21, "PgUp"},
    {0x22, "PgDn"}, {0x23, "End"},  {0x24, "Home"},  {0x25, "Left"},  {0x26, "Up"},    {0x27, "Right"},
    {0x28, "Down"}, {0x2D, "Ins"},  {0x2E, "Del"},
};

std::string KeyText(unsigned short key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= 0x70 && key <= 0x7B) return "F" + std::to_string(key - 0x70 + 1);
    for (const KeyName& k : keyNames)
        if (k.key == key) return k.name;
    return "";
}

std::string Trimmed(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}
}  // namespace

TShortCut ShortCut(unsigned short key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut result = key;
    if (shift.Contains(TShiftKey::Shift)) result |= scShift;
    if (shift.Contains(TShiftKey::Ctrl)) result |= scCtrl;
    if (shift.Contains(TShiftKey::Alt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, unsigned short& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = TShiftState();
    if (shortCut & scShift) shift.Include(TShiftKey::Shift);
    if (shortCut & scCtrl) shift.Include(TShiftKey::Ctrl);
    if (shortCut & scAlt) shift.Include(TShiftKey::Alt);
}

std::string ShortCutToText(TShortCut shortCut) {
    const std::string key = KeyText(shortCut & 0xFF);
    if (key.empty()) return "";
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut modifiers = 0;
    std::string rest = Trimmed(text);
    for (;;) {
        const std::size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 == rest.size()) break;
        const std::string part = Trimmed(rest.substr(0, plus));
        if (SameText(part, "Shift")) modifiers |= scShift;
        else if (SameText(part, "Ctrl")) modifiers |= scCtrl;
        else if (SameText(part, "Alt")) modifiers |= scAlt;
        else return scNone;
        rest = Trimmed(rest.substr(plus + 1));
    }
    if (rest.empty()) return scNone;
    for (unsigned short key = 1; key < 0x100; ++key) {
        const std::string name = KeyText(key);
        if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(key | modifiers);
    }
    return scNone;
}

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

namespace {
TMenuItem* FindShortCut(TMenuItem* parent, TShortCut shortCut, bool pickableOnly) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (pickableOnly && (!item->Visible() || !item->Enabled())) continue;
        if (item->ShortCut() == shortCut) return item;
        if (TMenuItem* found = FindShortCut(item, shortCut, pickableOnly)) return found;
    }
    return nullptr;
}
}  // namespace

bool TMenu::IsShortCut(TShortCut shortCut) {
    if ((shortCut & 0x00FF) == 0) return false;
    // States may depend on the moment (a selection to cut): brought up to date first.
    if (FindShortCut(items_, shortCut, false)) UpdateItemStates();
    TMenuItem* item = FindShortCut(items_, shortCut, true);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(unsigned short key, TShiftState shift) { return IsShortCut(ShortCut(key, shift)); }

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

void TPopupMenu::UpdateItemStates() {
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = TPoint{x, y};
    const std::shared_ptr<bool> alive = alive_;
    if (OnPopup) OnPopup(this);
    if (!*alive) return;
    const unsigned command = UiBackend().TrackPopupMenu(*this, popupPoint_, OwnerWindow());
    if (command && *alive) DeliverCommand(command);
}

}  // namespace rt
