#pragma once
// The options dialog's check box: readable and writable as text, and
// settable without running its click handler.
#include <string>

#include "runtime/StdCtrls.h"

namespace toolbar {

class TAMCheckBox : public rt::TCheckBox {
    RT_CLASS(TAMCheckBox)
public:
    using rt::TCheckBox::TCheckBox;

    const std::string& TrueAsStr() const { return trueAsStr_; }
    void SetTrueAsStr(const std::string& v) { trueAsStr_ = v; }
    const std::string& FalseAsStr() const { return falseAsStr_; }
    void SetFalseAsStr(const std::string& v) { falseAsStr_ = v; }
    // TrueAsStr (or "true") when checked, FalseAsStr (or "false") otherwise.
    std::string CheckedAsStr() const;
    // An integer text checks when above 0 (a malformed one raises
    // EConvertError); any other text checks when it equals the checked text.
    void SetCheckedAsStr(const std::string& text);
    bool CheckedNoEvent() const { return Checked(); }
    void SetCheckedNoEvent(bool value);

    void Click() override;

private:
    std::string TrueText() const { return trueAsStr_.empty() ? "true" : trueAsStr_; }

    std::string trueAsStr_;
    std::string falseAsStr_;
    bool suppressClick_ = false;
};

}  // namespace toolbar
