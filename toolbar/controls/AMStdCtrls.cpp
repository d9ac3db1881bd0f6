#include "toolbar/controls/AMStdCtrls.h"

#include "foundation/EIFunctionsBase.h"

namespace toolbar {

const rt::TPropList& TAMCheckBox::ClassProperties() {
    static const rt::TPropList list(
        rt::TCheckBox::ClassProperties(),
        {
            rt::props::String<TAMCheckBox>("TrueAsStr", &TAMCheckBox::TrueAsStr, &TAMCheckBox::SetTrueAsStr),
            rt::props::String<TAMCheckBox>("FalseAsStr", &TAMCheckBox::FalseAsStr, &TAMCheckBox::SetFalseAsStr),
            rt::props::String<TAMCheckBox>("CheckedAsStr", &TAMCheckBox::CheckedAsStr, &TAMCheckBox::SetCheckedAsStr),
            rt::props::Boolean<TAMCheckBox>("CheckedNoEvent", &TAMCheckBox::CheckedNoEvent,
                                            &TAMCheckBox::SetCheckedNoEvent),
        });
    return list;
}

std::string TAMCheckBox::CheckedAsStr() const {
    if (Checked()) return TrueText();
    return falseAsStr_.empty() ? "false" : falseAsStr_;
}

void TAMCheckBox::SetCheckedAsStr(const std::string& text) {
    if (foundation::IsIntegerText(text)) SetCheckedNoEvent(rt::StrToInt(text) > 0);
    else SetCheckedNoEvent(rt::SameText(text, TrueText()));
}

void TAMCheckBox::SetCheckedNoEvent(bool value) {
    suppressClick_ = true;
    try {
        SetChecked(value);
    } catch (...) {
        suppressClick_ = false;
        throw;
    }
    suppressClick_ = false;
}

void TAMCheckBox::Click() {
    if (!suppressClick_) rt::TCheckBox::Click();
}

}  // namespace toolbar
