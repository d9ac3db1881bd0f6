#pragma once
// The base of the system's dialogs: key preview on, Escape closes.
#include "runtime/Forms.h"

namespace toolbar {

class TEIDialogForm : public rt::TForm {
    RT_CLASS_SAME_PROPS(TEIDialogForm, rt::TForm)
public:
    explicit TEIDialogForm(rt::TComponent* owner);

protected:
    // The form's OnKeyDown: Escape closes the form (and goes no further);
    // every other key takes the default handling.
    virtual void FormKeyDown(rt::TObject* sender, unsigned short& key, rt::TShiftState shift);
};

}  // namespace toolbar
