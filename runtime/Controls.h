#pragma once
// Headless controls: the state of every control lives in these objects; a UI
// backend may attach native peers and feed native events back into the same
// events. The headless backend (the default) keeps state only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Format.h"
#include "runtime/Graphics.h"
#include "runtime/ShiftState.h"
#include "runtime/Types.h"

namespace rt {

class TControl;
class TWinControl;
class TCustomForm;
class TMenu;
class TMenuItem;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, unsigned short& key, TShiftState shift)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TDragOverEvent = std::function<void(TObject* sender, TObject* source, int x, int y, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;

// What changed on a control, for a backend that mirrors it natively.
enum class TControlChange {
    Bounds, Visible, Enabled, Text, Parent, Items, Selection, Checked,
    Font,      // Font() (own or inherited from the parent)
    Color,     // Color()
    Style,     // a flag the peer shows: read-only, word wrap, scroll bars, border, tab visibility, stretch, ...
    Scroll,    // the first visible line of a text control
    DropDown,  // a combo box's list opened or closed
    Picture,   // the picture of an image
    Menu,      // the main menu of a form
    Focus,     // the control became its form's active control
    RichText,  // a rich-text document was loaded: the peer streams in the control's RichText()
};

// Mouse cursors, with the runtime's values (the backend maps them to IDC_ cursors).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

enum class TBorderStyle { bsNone, bsSingle };

// The modifier keys held down now, read through the keyboard port.
TShiftState KeyboardShiftState();

// The seam through which a backend attaches real windows. Every call comes on
// the thread that owns the control.
// The editing state of a control's text field.
struct TTextEditState {
    int selLength = 0;     // characters selected
    bool canUndo = false;  // the last edit can be undone
};

class IUiBackend {
public:
    virtual ~IUiBackend() = default;
    virtual void ControlCreated(TControl& control) {}
    virtual void ControlDestroyed(TControl& control) {}
    virtual void ControlChanged(TControl& control, TControlChange change) {}
    // Runs the form modally until its ModalResult is set; returns nothing
    // itself: the form reads its ModalResult afterwards.
    virtual void RunModal(TCustomForm& form) = 0;
    // Tracks `menu` at `screen` with `owner` as the window that receives the
    // pick; returns the command id of the picked entry, 0 when none.
    virtual unsigned TrackPopupMenu(TPopupMenu& menu, TPoint screen, std::uintptr_t owner) = 0;
    // The mouse position in screen coordinates; false when it cannot be read.
    virtual bool CursorPos(TPoint& point) = 0;
    // Brings the application's window to the foreground.
    virtual void ForegroundApplication() {}
    // The native window of a control (made now when its form can have one);
    // 0 when it has none.
    virtual std::uintptr_t HandleOf(const TControl& control) { return 0; }
    // The native window that takes the keyboard for the control (a combo
    // box's edit field); 0 when it has none.
    virtual std::uintptr_t FocusHandleOf(const TControl& control) { return HandleOf(control); }
    // The selection and undo state of the control's text field, which only
    // the native field tracks; false when the control has no such field.
    virtual bool TextEditStateOf(const TControl& control, TTextEditState& state) { return false; }
    // A point of the control's client area on the screen, as its native
    // window lies; false when the control has no window.
    virtual bool ClientToScreen(const TControl& control, TPoint& point) { return false; }
};

// The backend of tests: state only. ShowModal runs the script the test
// installed (closing the form with mrCancel when there is none or it leaves
// no result); pop-up menus ask the menu script of the calling thread.
class THeadlessBackend : public IUiBackend {
public:
    using TModalScript = std::function<void(TCustomForm& form)>;
    using TMenuScript = std::function<TMenuItem*(TPopupMenu& menu, TPoint screen)>;

    void RunModal(TCustomForm& form) override;
    unsigned TrackPopupMenu(TPopupMenu& menu, TPoint screen, std::uintptr_t owner) override;
    bool CursorPos(TPoint& point) override;

    void SetModalScript(TModalScript script) { modalScript_ = std::move(script); }
    // Per thread, so each browser window's thread answers its own menus.
    static void SetMenuScript(TMenuScript script);
    void SetCursorPos(TPoint point, bool readable = true) { cursor_ = point; cursorReadable_ = readable; }

private:
    TModalScript modalScript_;
    TPoint cursor_;
    bool cursorReadable_ = true;
};

// The process's backend (a THeadlessBackend until one is installed).
IUiBackend& UiBackend();
// Installs `backend` (null: the headless one again); returns the previous.
std::shared_ptr<IUiBackend> SetUiBackend(std::shared_ptr<IUiBackend> backend);

// The parts of the application object that controls and menus reach.
class TApplication {
public:
    std::string Hint;
    std::string Title;  // the caption of ShowMessage's box
    std::uintptr_t Handle = 0;
    bool Terminated = false;
    // Errors raised while dispatching window messages land here; without a
    // handler they are dropped.
    std::function<void(const std::exception& error)> OnException;
    void HandleException(const std::exception& error) {
        if (OnException) OnException(error);
    }
    // Runs when SetHint changes Hint; the sender is null (the application
    // object is no component here).
    TNotifyEvent OnHint;
    void SetHint(const std::string& hint) {
        if (hint == Hint) return;
        Hint = hint;
        if (OnHint) OnHint(nullptr);
    }
};
TApplication& Application();

class TControl : public TComponent {
    RT_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return bounds_; }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }
    // Caption and text are one value, as in the runtime.
    const std::string& Caption() const { return text_; }
    void SetCaption(const std::string& text) { SetText(text); }
    const std::string& Text() const { return text_; }
    virtual void SetText(const std::string& text);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // The control's font. While ParentFont is on (the default) it follows
    // the parent's; any change made to it turns ParentFont off.
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    // The cursor shown over the control (crDefault: the parent's, or the
    // arrow). The backend reads it when the system asks (WM_SETCURSOR).
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor v) { cursor_ = v; }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    // The parent's font changed (or the control got a parent): a control with
    // ParentFont takes it.
    void ParentFontChanged();

    // Screen coordinates of a point of this control's client area.
    TPoint ClientToScreen(TPoint point) const;
    // The form this control sits on, or null.
    TCustomForm* ParentForm() const;

    // As the user does it: the handlers run, then the default behaviour.
    virtual void Click();
    // A double click with the modifier keys held at that moment (the backend
    // passes those of the mouse message; without them the keyboard port's
    // current state). A class that overrides it adds `using TControl::DblClick;`.
    void DblClick() { DblClick(KeyboardShiftState()); }
    virtual void DblClick(TShiftState shift);
    // The modifier keys of the last double click (readable in OnDblClick).
    TShiftState ClickShift() const { return clickShift_; }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    bool DragOver(TObject* source, int x, int y);
    void DragDrop(TObject* source, int x, int y);
    // A drag started from this control ended over `target` (null: cancelled).
    void EndDrag(TObject* target, int x, int y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

protected:
    friend class TCustomForm;  // tells the control it has the focus
    void Changed(TControlChange change);
    void Notification(TComponent* component, TOperation operation) override;
    // Stores the text without telling the backend (for a change the control
    // reports in another way); true when it changed.
    bool AssignText(const std::string& text);
    // The font changed (own or inherited); a parent passes it on to its children.
    virtual void FontChanged();

private:
    TWinControl* parent_ = nullptr;
    TRect bounds_{0, 0, 0, 0};
    TAlign align_ = TAlign::alNone;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = false;
    std::string hint_;
    std::string text_;
    TColor color_ = 0;
    TFont font_;
    bool parentFont_ = true;
    bool inheritingFont_ = false;  // the font changes because the parent's did
    TCursor cursor_ = crDefault;
    TShiftState clickShift_;
    TPopupMenu* popupMenu_ = nullptr;
};

class TWinControl : public TControl {
    RT_CLASS(TWinControl)
public:
    using TControl::TControl;
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    // Where the aligned children go (a size panel keeps its drag bar out of it).
    virtual TRect ClientRect() const { return TRect{0, 0, Width(), Height()}; }
    // Lays out the aligned children: top ones from the top, bottom ones from
    // the bottom, then left and right ones in the rest, the client one last.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    void SetBounds(int left, int top, int width, int height) override;

    bool Focused() const;
    void SetFocus();
    TKeyEvent OnKeyDown;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void FontChanged() override;

private:
    friend class TControl;
    void AttachControl(TControl* control);
    void DetachControl(TControl* control);

    std::vector<TControl*> controls_;
    int alignDisabled_ = 0;
    bool aligning_ = false;
};

// The string list of a TAlign property, in ordinal order.
const std::vector<std::string>& AlignNames();

}  // namespace rt
