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

    // Shows the form and runs the backend's modal loop until ModalResult is
    // set; returns it. Raises EInvalidOperation when the form is already modal.
    virtual TModalResult ShowModal();
    // Modal: ends the loop with mrCancel; otherwise hides the form.
    void Close();

    // A key pressed in `target` (or the active control): with KeyPreview the
    // form's OnKeyDown sees it first and may swallow it by zeroing the key.
    void KeyDown(unsigned short key, TShiftState shift, TWinControl* target = nullptr);

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

private:
    TModalResult modalResult_ = mrNone;
    bool keyPreview_ = false;
    bool modal_ = false;
    TWinControl* activeControl_ = nullptr;
};

class TForm : public TCustomForm {
    RT_CLASS_SAME_PROPS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

class EInvalidOperation : public Exception { using Exception::Exception; };

}  // namespace rt
