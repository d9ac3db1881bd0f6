#include "toolbar/controls/AMFlatComboBox.h"

#include "foundation/EISimpleXmlUnit.h"

namespace toolbar {

const rt::TPropList& TAMFlatComboBox::ClassProperties() {
    static const rt::TPropList list(
        rt::TComboBox::ClassProperties(),
        {
            rt::props::Object<TAMFlatComboBox>(
                "Values", "TStrings",
                [](const TAMFlatComboBox& c) -> rt::TObject* { return const_cast<rt::TStringList*>(&c.Values()); },
                [](TAMFlatComboBox& c, rt::TObject* v) {
                    if (auto* list = dynamic_cast<rt::TStringList*>(v)) c.SetValues(*list);
                }),
            rt::props::String<TAMFlatComboBox>(
                "selectedItem", [](const TAMFlatComboBox& c) { return const_cast<TAMFlatComboBox&>(c).selectedItem(); },
                &TAMFlatComboBox::SetSelectedItem),
            rt::props::String<TAMFlatComboBox>(
                "selectedValue",
                [](const TAMFlatComboBox& c) { return const_cast<TAMFlatComboBox&>(c).selectedValue(); },
                &TAMFlatComboBox::SetSelectedValue),
            rt::props::Object<TAMFlatComboBox>(
                "ItemsAsXml", "TStrings",
                [](const TAMFlatComboBox& c) -> rt::TObject* { return const_cast<rt::TStringList*>(&c.itemsAsXml_); },
                [](TAMFlatComboBox& c, rt::TObject* v) { c.SetItemsAsXml(dynamic_cast<rt::TStringList*>(v)); }),
        });
    return list;
}

TAMFlatComboBox::TAMFlatComboBox(rt::TComponent* owner) : rt::TComboBox(owner) {
    SetFlat(true);
    SetDropDownCount(20);
}

std::string TAMFlatComboBox::selectedItem() {
    if (ItemIndex() < 0 && Items().Count() > 0) SetItemIndex(0);
    return ItemIndex() >= 0 ? Items()[ItemIndex()] : std::string();
}

void TAMFlatComboBox::SetSelectedItem(const std::string& caption) {
    const int index = Items().IndexOf(caption);
    if (index >= 0) SetItemIndex(index);
}

std::string TAMFlatComboBox::selectedValue() {
    if (ItemIndex() < 0 && values_.Count() > 0 && Items().Count() > 0) SetItemIndex(0);
    const int index = ItemIndex();
    return index >= 0 && index < values_.Count() ? values_[index] : std::string();
}

void TAMFlatComboBox::SetSelectedValue(const std::string& value) {
    const int index = values_.IndexOf(value);
    if (index >= 0 && index < Items().Count()) SetItemIndex(index);
}

void TAMFlatComboBox::SetItemsAsXml(const rt::TStringList* xml) {
    if (!xml) return;
    int current = -1;
    Items().BeginUpdate();
    try {
        Items().Clear();
        values_.Clear();
        if (xml->Count() > 0) {
            foundation::TEISimpleXml doc;
            doc.LoadFromString(xml->Text());
            rt::TXmlElement& root = *doc.Root();
            for (int i = 0; i < root.ChildCount(); ++i) {
                rt::TXmlElement& element = root.Child(i);
                try {
                    const std::string caption = element.Attribute("caption");
                    const std::string value = element.Attribute("value");
                    const bool checked = rt::SameText(element.Attribute("checked"), "true");
                    Items().Add(caption);
                    values_.Add(value);
                    if (checked) current = Items().Count() - 1;
                } catch (const std::exception&) {
                    Items().Add("Skipping:" + rt::TXmlDocument::ElementToString(element));
                    values_.Add("");
                }
            }
        }
    } catch (...) {
        Items().EndUpdate();
        throw;
    }
    Items().EndUpdate();
    SetItemIndex(current);
}

}  // namespace toolbar
