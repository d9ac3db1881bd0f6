#include "runtime/ComCtrls.h"

namespace rt {

TListItem& TListItems::Item(int index) {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
    return items_[index];
}

TListItem& TListItems::Add(const std::string& caption) {
    items_.push_back(TListItem{caption, false, {}});
    return items_.back();
}

void TListItems::Delete(int index) {
    Item(index);
    items_.erase(items_.begin() + index);
}

void TListItems::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) ++brackets_;
}

const TPropList& TListView::ClassProperties() {
    static const TPropList list(TWinControl::ClassProperties(),
                                {props::Boolean<TListView>("Checkboxes", &TListView::Checkboxes, &TListView::SetCheckboxes)});
    return list;
}

}  // namespace rt
