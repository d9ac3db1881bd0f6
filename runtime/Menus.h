#pragma once
// Menu entries, pop-up menus and main menus. Entries carry a process-wide
// command id by which a backend reports the pick.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Controls.h"

namespace rt {

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum class TPopupAlignment { paLeft, paRight, paCenter };
enum class TTrackButton { tbRightButton, tbLeftButton };

class TMenuItem;
class TMenu;

// A shortcut key: the virtual-key code in the low byte, the modifiers above.
using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(unsigned short key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, unsigned short& key, TShiftState& shift);
// "Ctrl+S", "Shift+Ctrl+F3", "Del" (modifiers in the runtime's order Shift,
// Ctrl, Alt); empty for no shortcut or a key without a name here.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, ignoring case and blanks around the parts; 0 when the text
// names no key.
TShortCut TextToShortCut(const std::string& text);
using TMenuDrawItemEvent = std::function<void(TObject* sender, void* canvas, TRect rect, bool selected)>;
using TAdvancedMenuDrawItemEvent = std::function<void(TObject* sender, void* canvas, TRect rect, unsigned state)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, void* canvas, int& width, int& height)>;
using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;

class EMenuError : public Exception { using Exception::Exception; };

class TMenuItem : public TComponent {
    RT_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;  // frees its child entries

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; Changed(false); }
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Default() const { return default_; }
    // At most one default entry per level: setting one clears its siblings.
    void SetDefault(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; Changed(false); }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; Changed(true); }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v) { imageIndex_ = v; Changed(false); }
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v) { radioItem_ = v; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut v) { shortCut_ = v; Changed(false); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& v) { hint_ = v; }
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak v) { break_ = v; Changed(true); }
    bool IsLine() const { return caption_ == "-"; }

    unsigned Command() const { return command_; }
    TMenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);  // detaches, does not free
    void Delete(int index);        // detaches, does not free
    void Clear();                  // frees every child
    // The entry with this command id here or below; null when none.
    TMenuItem* FindItem(unsigned command);
    // The menu this entry belongs to (through its root), or null.
    TMenu* GetParentMenu() const;

    // The user picked this entry: OnClick when enabled.
    virtual void Click();

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    friend class TMenu;
    void Changed(bool rebuild);

    std::string caption_;
    bool checked_ = false;
    bool default_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int imageIndex_ = -1;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    TShortCut shortCut_ = 0;
    std::string hint_;
    TMenuBreak break_ = TMenuBreak::mbNone;
    unsigned command_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root entry only
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
    RT_CLASS(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_; }
    TObject* Images() const { return images_; }
    void SetImages(TObject* images) { images_ = images; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v) { ownerDraw_ = v; }
    bool AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(bool v) { autoHotkeys_ = v; }
    TMenuItem* FindItem(unsigned command) { return items_->FindItem(command); }
    // Runs the click of the entry with this command id; false when none has it.
    bool DispatchCommand(unsigned command);
    // The key is the shortcut of an entry that can be picked now (it and its
    // parents visible and enabled): clicks it and answers true.
    bool IsShortCut(unsigned short key, TShiftState shift);
    // Runs the click of the enabled, visible entry with this shortcut; false
    // when there is none.
    bool IsShortCut(TShortCut shortCut);

    TMenuChangeEvent OnChange;

protected:
    // Brings the entries' states up to date before a shortcut is looked up.
    virtual void UpdateItemStates() {}

private:
    TMenuItem* items_;
    TObject* images_ = nullptr;
    bool ownerDraw_ = false;
    bool autoHotkeys_ = true;
};

class TMainMenu : public TMenu {
    RT_CLASS_SAME_PROPS(TMainMenu, TMenu)
public:
    using TMenu::TMenu;
};

class TPopupMenu : public TMenu {
    RT_CLASS(TPopupMenu)
public:
    using TMenu::TMenu;
    ~TPopupMenu() override { *alive_ = false; }

    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment v) { alignment_ = v; }
    TTrackButton TrackButton() const { return trackButton_; }
    void SetTrackButton(TTrackButton v) { trackButton_ = v; }
    int MenuAnimation() const { return menuAnimation_; }
    void SetMenuAnimation(int v) { menuAnimation_ = v; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool v) { autoPopup_ = v; }
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* c) { popupComponent_ = c; }
    TPoint PopupPoint() const { return popupPoint_; }

    // Fires OnPopup, tracks the menu through the UI backend at (x, y) on the
    // screen and runs the click of the picked entry.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

protected:
    // A shortcut finds its entries as a pop-up would show them: OnPopup first.
    void UpdateItemStates() override;
    // The window that receives the pick (0: the pick is dispatched directly).
    virtual std::uintptr_t OwnerWindow() { return 0; }
    virtual void DeliverCommand(unsigned command) { DispatchCommand(command); }

private:
    TPopupAlignment alignment_ = TPopupAlignment::paLeft;
    TTrackButton trackButton_ = TTrackButton::tbRightButton;
    int menuAnimation_ = 0;
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_;
    // Cleared when the menu is freed: a pick may come back after a handler
    // that ran while the menu was open freed it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace rt
