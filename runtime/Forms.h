#pragma once
// Forms: a top-level window with an active control, key preview and a modal
// loop that the UI backend runs (a script in tests).
#include "runtime/Controls.h"

namespace rt {

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

// Virtual-key codes (the Windows VK_ values) of the keys the units name.
namespace vk {
constexpr unsigned short Return = 0x0D;
constexpr unsigned short Escape = 0x1B;
constexpr unsigned short Delete = 0x2E;
constexpr unsigned short F2 = 0x71;
}  // namespace vk

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// A set of the buttons in the caption, as a mask of these bits.
using TBorderIcons = std::uint32_t;
constexpr TBorderIcons biSystemMenu = 1u << 0;
constexpr TBorderIcons biMinimize = 1u << 1;
constexpr TBorderIcons biMaximize = 1u << 2;
constexpr TBorderIcons biHelp = 1u << 3;
enum class TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly,
    poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter
};

class TMainMenu;

class TCustomForm : public TWinControl {
    RT_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner) : TWinControl(owner) { SetVisible(false); }
    ~TCustomForm() override;

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    bool Modal() const { return modal_; }
    // How a backend frames and places the window.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v) { borderStyle_ = v; Changed(TControlChange::Style); }
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons v) { borderIcons_ = v; Changed(TControlChange::Style); }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    // The window a parented form lives in as a child window (0: a top-level
    // form). Set it before the form first shows to have the child made at once.
    std::uintptr_t ParentWindow() const { return parentWindow_; }
    void SetParentWindow(std::uintptr_t window);
    // The form's menu bar (not owned; cleared when the menu is freed).
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // Shows the form and runs the backend's modal loop until ModalResult is
    // set; returns it. Raises EInvalidOperation when the form is already modal.
    virtual TModalResult ShowModal();
    // Modal: ends the loop with mrCancel; otherwise hides the form.
    void Close();

    // A key pressed in `target` (or the active control): a shortcut of the
    // pop-up menu of the target or one of its parents, then of the form's
    // Menu, runs that entry and goes no further; otherwise, with KeyPreview,
    // the form's OnKeyDown sees it first and may swallow it by zeroing the key.
    // Answers the key left for the window: 0 when a shortcut or a handler took it.
    unsigned short KeyDown(unsigned short key, TShiftState shift, TWinControl* target = nullptr);

    // The form became the active window (the backend calls it; so may tests).
    void Activate() {
        if (OnActivate) OnActivate(this);
    }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    TNotifyEvent OnActivate;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMainMenu* menu_ = nullptr;
    std::uintptr_t parentWindow_ = 0;
    TModalResult modalResult_ = mrNone;
    bool keyPreview_ = false;
    bool modal_ = false;
    TWinControl* activeControl_ = nullptr;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = TPosition::poDesigned;
};

class TForm : public TCustomForm {
    RT_CLASS_SAME_PROPS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

class EInvalidOperation : public Exception { using Exception::Exception; };

}  // namespace rt
