#include "runtime/Forms.h"

namespace rt {

const TPropList& TCustomForm::ClassProperties() {
    static const TPropList list(
        TWinControl::ClassProperties(),
        {
            props::Integer<TCustomForm>("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult),
            props::Boolean<TCustomForm>("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
            props::Method("OnShow"),
            props::Method("OnClose"),
        });
    return list;
}

TCustomForm::~TCustomForm() { activeControl_ = nullptr; }

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    TWinControl* old = activeControl_;
    activeControl_ = control;
    if (old && old->OnExit) old->OnExit(old);
    if (control && control->OnEnter) control->OnEnter(control);
}

TModalResult TCustomForm::ShowModal() {
    if (modal_) throw EInvalidOperation("Cannot make a visible window modal");
    modal_ = true;
    modalResult_ = mrNone;
    struct Done {
        TCustomForm& form;
        ~Done() {
            form.modal_ = false;
            form.SetVisible(false);
        }
    } done{*this};
    SetVisible(true);
    if (OnShow) OnShow(this);
    UiBackend().RunModal(*this);
    if (OnClose) OnClose(this);
    return modalResult_;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (OnClose) OnClose(this);
    SetVisible(false);
}

void TCustomForm::KeyDown(unsigned short key, TShiftState shift, TWinControl* target) {
    if (!target) target = activeControl_;
    if (keyPreview_ && OnKeyDown && target != this) {
        OnKeyDown(this, key, shift);
        if (key == 0) return;
    }
    if (target && target->OnKeyDown) target->OnKeyDown(target, key, shift);
}

}  // namespace rt
