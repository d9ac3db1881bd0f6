#pragma once
// The toolbar's flat combo box: entries that carry values beside their
// captions, read and written by caption or by value.
#include <string>

#include "runtime/StdCtrls.h"

namespace toolbar {

class TAMFlatComboBox : public rt::TComboBox {
    RT_CLASS(TAMFlatComboBox)
public:
    explicit TAMFlatComboBox(rt::TComponent* owner);

    rt::TStringList& Values() { return values_; }
    const rt::TStringList& Values() const { return values_; }
    void SetValues(const rt::TStringList& values) { values_.Assign(values); }

    // Reading makes entry 0 current when none is and the list is not empty.
    std::string selectedItem();
    // An absent text changes nothing.
    void SetSelectedItem(const std::string& caption);
    std::string selectedValue();
    void SetSelectedValue(const std::string& value);
    // Replaces the entries from an XML item list: each child element of the
    // root gives its "caption" and "value"; checked="true" makes it current.
    void SetItemsAsXml(const rt::TStringList* xml);

protected:
    // Typing never selects an entry by itself.
    int FindItemByPrefix(const std::string& prefix) const override { return -1; }

private:
    rt::TStringList values_;
    rt::TStringList itemsAsXml_;  // write-only property: reads give an empty list
};

}  // namespace toolbar
