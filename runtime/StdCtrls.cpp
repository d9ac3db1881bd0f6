#include "runtime/StdCtrls.h"

#include <algorithm>

namespace rt {

const std::vector<std::string>& BevelCutNames() {
    static const std::vector<std::string> names{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    return names;
}

const TPropList& TCustomPanel::ClassProperties() {
    static const TPropList list(TWinControl::ClassProperties(),
                                {props::Enumeration<TCustomPanel, TBevelCut>("BevelOuter", "TPanelBevel", BevelCutNames(),
                                                                             &TCustomPanel::BevelOuter,
                                                                             &TCustomPanel::SetBevelOuter)});
    return list;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 41); }

const TPropList& TBevel::ClassProperties() {
    static const TPropList list(
        TControl::ClassProperties(),
        {props::Enumeration<TBevel, TBevelShape>(
            "Shape", "TBevelShape",
            {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}, &TBevel::Shape,
            &TBevel::SetShape)});
    return list;
}

TBevel::TBevel(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 50, 50); }

// ----------------------------------------------------------------- TButton

const TPropList& TButton::ClassProperties() {
    static const TPropList list(TWinControl::ClassProperties(),
                                {props::Integer<TButton>("ModalResult", &TButton::ModalResult, &TButton::SetModalResult),
                                 props::Boolean<TButton>("Default", &TButton::Default, &TButton::SetDefault),
                                 props::Boolean<TButton>("Cancel", &TButton::Cancel, &TButton::SetCancel)});
    return list;
}

void TButton::Click() {
    if (!Enabled()) return;
    if (modalResult_ != mrNone)
        if (TCustomForm* form = ParentForm()) form->SetModalResult(modalResult_);
    TWinControl::Click();
}

// --------------------------------------------------------------- TCheckBox

const TPropList& TCheckBox::ClassProperties() {
    static const TPropList list(TWinControl::ClassProperties(),
                                {props::Boolean<TCheckBox>("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)});
    return list;
}

void TCheckBox::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Changed(TControlChange::Checked);
    Click();
}

// --------------------------------------------------------------- TComboBox

const TPropList& TComboBox::ClassProperties() {
    static const TPropList list(
        TWinControl::ClassProperties(),
        {
            props::Object<TComboBox>(
                "Items", "TStrings", [](const TComboBox& c) -> TObject* { return const_cast<TStringList*>(&c.Items()); },
                [](TComboBox& c, TObject* v) {
                    if (auto* list = dynamic_cast<TStringList*>(v)) c.SetItems(*list);
                }),
            props::Integer<TComboBox>("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex),
            props::String<TComboBox>("Text", &TComboBox::Text, &TComboBox::SetText),
            props::Integer<TComboBox>("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount),
            props::Boolean<TComboBox>("Flat", &TComboBox::Flat, &TComboBox::SetFlat),
            props::Method("OnChange"),
            props::Method("OnSelect"),
        });
    return list;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 145, 21);
    items_.OnChange = [this](TStringList&) {
        if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
        Changed(TControlChange::Items);
    };
}

void TComboBox::SetItemIndex(int index) {
    if (index < 0 || index >= items_.Count()) index = -1;
    itemIndex_ = index;
    SetText(index >= 0 ? items_[index] : (style_ == TComboBoxStyle::csDropDownList ? "" : Text()));
    Changed(TControlChange::Selection);
}

int TComboBox::FindItemByPrefix(const std::string& prefix) const {
    if (prefix.empty()) return -1;
    for (int i = 0; i < items_.Count(); ++i)
        if (items_[i].size() >= prefix.size() && SameText(items_[i].substr(0, prefix.size()), prefix)) return i;
    return -1;
}

void TComboBox::TypeText(const std::string& typed) {
    const std::string text = maxLength_ > 0 && typed.size() > static_cast<std::size_t>(maxLength_)
                                 ? typed.substr(0, static_cast<std::size_t>(maxLength_))
                                 : typed;
    SetText(text);
    const int match = FindItemByPrefix(text);
    if (match >= 0) {
        SetItemIndex(match);
    } else if (itemIndex_ >= 0) {
        // Edited text is no entry of the list any more, as in the system's control.
        itemIndex_ = -1;
        Changed(TControlChange::Selection);
    }
    if (OnChange) OnChange(this);
}

void TComboBox::SelectFromList(int index) {
    SetItemIndex(index);
    if (OnSelect) OnSelect(this);
    if (OnChange) OnChange(this);
}

void TComboBox::DropDown() {
    if (droppedDown_) return;
    droppedDown_ = true;
    if (OnDropDown) OnDropDown(this);
}

void TComboBox::CloseUp(bool picked) {
    if (!droppedDown_) return;
    droppedDown_ = false;
    closedOnPick_ = picked;
    if (OnCloseUp) OnCloseUp(this);
}

void TComboBox::CloseList() {
    if (!droppedDown_) return;
    droppedDown_ = false;
    Changed(TControlChange::DropDown);
}

// ---------------------------------------------------------------- TListBox

const TPropList& TListBox::ClassProperties() {
    static const TPropList list(
        TWinControl::ClassProperties(),
        {
            props::Object<TListBox>(
                "Items", "TStrings", [](const TListBox& c) -> TObject* { return const_cast<TStringList*>(&c.Items()); },
                [](TListBox& c, TObject* v) {
                    if (auto* list = dynamic_cast<TStringList*>(v)) c.SetItems(*list);
                }),
            props::Boolean<TListBox>("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect),
            props::Integer<TListBox>("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex),
            props::Integer<TListBox>("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight),
        });
    return list;
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 97);
    items_.OnChange = [this](TStringList&) { SyncMarks(); };
}

void TListBox::SyncMarks() {
    marks_.resize(items_.Count(), false);
    if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
    topIndex_ = TopIndex();
    Changed(TControlChange::Items);
}

void TListBox::SetMultiSelect(bool v) {
    multiSelect_ = v;
    std::fill(marks_.begin(), marks_.end(), false);
}

void TListBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_.Count()) index = -1;
    itemIndex_ = index;
    // In a single-select list the current item is the selection.
    if (!multiSelect_) {
        std::fill(marks_.begin(), marks_.end(), false);
        if (index >= 0) marks_[index] = true;
    }
    Changed(TControlChange::Selection);
}

bool TListBox::Selected(int index) const {
    if (index < 0 || index >= items_.Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
    return marks_[index];
}

void TListBox::SetSelected(int index, bool selected) {
    if (index < 0 || index >= items_.Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
    if (!multiSelect_) {
        if (selected) SetItemIndex(index);
        else if (itemIndex_ == index) SetItemIndex(-1);
        return;
    }
    marks_[index] = selected;
    Changed(TControlChange::Selection);
}

int TListBox::SelCount() const {
    if (!multiSelect_) return -1;
    return static_cast<int>(std::count(marks_.begin(), marks_.end(), true));
}

int TListBox::AddItem(const std::string& text, bool selected) {
    InsertItem(items_.Count(), text, selected);
    return items_.Count() - 1;
}

void TListBox::InsertItem(int index, const std::string& text, bool selected) {
    if (index < 0 || index > items_.Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
    marks_.insert(marks_.begin() + index, false);
    items_.Insert(index, text);  // SyncMarks sees the count already right
    if (itemIndex_ >= index) ++itemIndex_;
    if (selected) SetSelected(index, true);
}

void TListBox::DeleteItem(int index) {
    if (index < 0 || index >= items_.Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
    marks_.erase(marks_.begin() + index);
    if (itemIndex_ == index) itemIndex_ = -1;
    else if (itemIndex_ > index) --itemIndex_;
    items_.Delete(index);
}

void TListBox::SetItemHeight(int v) {
    if (v < 1 || v == itemHeight_) return;
    itemHeight_ = v;
    Changed(TControlChange::Items);
}

int TListBox::TopIndex() const {
    // The list scrolls no further than a full last page.
    const int rows = std::max(1, Height() / itemHeight_);
    return std::clamp(topIndex_, 0, std::max(0, items_.Count() - rows));
}

void TListBox::SetTopIndex(int index) {
    topIndex_ = index;
    topIndex_ = TopIndex();
    Changed(TControlChange::Selection);
}

int TListBox::ItemAtPos(TPoint point, bool existing) const {
    if (point.X < 0 || point.Y < 0 || point.X >= Width() || point.Y >= Height()) return -1;
    const int index = TopIndex() + point.Y / itemHeight_;
    if (index < items_.Count()) return index;
    return existing ? -1 : items_.Count();
}

void TListBox::MoveItem(int from, int to) {
    if (from == to) return;
    const std::string text = items_[from];
    const bool mark = Selected(from);
    DeleteItem(from);
    InsertItem(to, text, false);
    marks_[to] = mark;
}

}  // namespace rt
