#include "toolbar/EIDialogFormUnit1.h"

namespace toolbar {

TEIDialogForm::TEIDialogForm(rt::TComponent* owner) : rt::TForm(owner) {
    SetKeyPreview(true);
    OnKeyDown = [this](rt::TObject* sender, unsigned short& key, rt::TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
}

void TEIDialogForm::FormKeyDown(rt::TObject*, unsigned short& key, rt::TShiftState) {
    if (key != rt::vk::Escape) return;
    Close();
    key = 0;
}

}  // namespace toolbar
