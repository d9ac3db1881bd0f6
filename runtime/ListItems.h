#pragma once
// The items of a list view, apart from the view: code that only reads or
// checks items (settings files filling check marks) links without the
// controls.
#include <string>
#include <vector>

#include "runtime/Classes.h"

namespace rt {

struct TListItem {
    std::string Caption;
    bool Checked = false;
    TStringList SubItems;
};

class TListItems {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem& Item(int index);
    TListItem& operator[](int index) { return Item(index); }
    TListItem& Add(const std::string& caption);
    void Delete(int index);
    void Clear() { items_.clear(); }
    // Changes inside a bracket reach the native view once, at its end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    int UpdateBrackets() const { return brackets_; }  // completed brackets

private:
    std::vector<TListItem> items_;
    int updateCount_ = 0;
    int brackets_ = 0;
};

}  // namespace rt
