#include "runtime/ListItems.h"

#include "runtime/Format.h"
#include "runtime/SysUtils.h"

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

}  // namespace rt
