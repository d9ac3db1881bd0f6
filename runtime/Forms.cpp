#include "runtime/Forms.h"

#include "runtime/Menus.h"

namespace rt {

const TPropList& TCustomForm::ClassProperties() {
    static const TPropList list(
        TWinControl::ClassProperties(),
        {
            props::Integer<TCustomForm>("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult),
            props::Boolean<TCustomForm>("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
            props::Enumeration<TCustomForm, TFormBorderStyle>(
                "BorderStyle", "TFormBorderStyle",
                {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle),
            props::Set<TCustomForm>("BorderIcons", "TBorderIcons", &TCustomForm::BorderIcons,
                                    &TCustomForm::SetBorderIcons),
            props::Enumeration<TCustomForm, TPosition>(
                "Position", "TPosition",
                {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                 "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                &TCustomForm::Position, &TCustomForm::SetPosition),
            props::Object<TCustomForm>(
                "Menu", "TMainMenu", [](const TCustomForm& f) -> TObject* { return f.Menu(); },
                [](TCustomForm& f, TObject* m) { f.SetMenu(dynamic_cast<TMainMenu*>(m)); }),
            props::Method("OnShow"),
            props::Method("OnClose"),
        });
    return list;
}

TCustomForm::~TCustomForm() {
    activeControl_ = nullptr;
    if (menu_) menu_->RemoveFreeNotification(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::Remove && component == menu_) {
        menu_ = nullptr;
        Changed(TControlChange::Menu);
    }
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) menu_->RemoveFreeNotification(this);
    menu_ = menu;
    if (menu_) menu_->FreeNotification(this);
    Changed(TControlChange::Menu);
}

void TCustomForm::SetParentWindow(std::uintptr_t window) {
    if (window == parentWindow_) return;
    parentWindow_ = window;
    Changed(TControlChange::Parent);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    TWinControl* old = activeControl_;
    activeControl_ = control;
    if (control) control->Changed(TControlChange::Focus);
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

unsigned short TCustomForm::KeyDown(unsigned short key, TShiftState shift, TWinControl* target) {
    if (!target) target = activeControl_;
    for (TControl* c = target ? static_cast<TControl*>(target) : this; c; c = c == this ? nullptr : c->Parent())
        if (c->PopupMenu() && c->PopupMenu()->IsShortCut(ShortCut(key, shift))) return 0;
    if (menu_ && menu_->IsShortCut(ShortCut(key, shift))) return 0;
    if (keyPreview_ && OnKeyDown && target != this) {
        OnKeyDown(this, key, shift);
        if (key == 0) return 0;
    }
    if (target && target->OnKeyDown) target->OnKeyDown(target, key, shift);
    return key;
}

}  // namespace rt
