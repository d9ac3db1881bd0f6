#pragma once
// The base of the preferences and About dialogs: centred on the screen,
// "MS Sans Serif" 8 pt, key preview on, Escape closes; application hint
// notifications are routed to the dialog's own handler while it exists.
#include "runtime/Forms.h"

namespace toolbar {

class TfmBase : public rt::TForm {
    RT_CLASS_SAME_PROPS(TfmBase, rt::TForm)
public:
    explicit TfmBase(rt::TComponent* owner);
    // Puts back the hint handler that was installed before this dialog.
    ~TfmBase() override;

protected:
    // The application's hint text changed; this one ignores it.
    virtual void ApplicationHint(rt::TObject* sender) {}
    // The form's OnKeyDown: Escape closes the form and goes no further.
    virtual void FormKeyDown(rt::TObject* sender, unsigned short& key, rt::TShiftState shift);

private:
    friend struct THintChain;
    rt::TNotifyEvent savedOnHint_;  // the handler this dialog replaced
};

}  // namespace toolbar
