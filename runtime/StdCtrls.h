#pragma once
// Panels, bevels, labels, buttons, check boxes, combo boxes and list boxes.
#include <string>
#include <vector>

#include "runtime/Controls.h"
#include "runtime/Forms.h"

namespace rt {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TWinControl {
    RT_CLASS(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut v) { bevelOuter_ = v; }

private:
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
};

class TPanel : public TCustomPanel {
    RT_CLASS_SAME_PROPS(TPanel, TCustomPanel)
public:
    using TCustomPanel::TCustomPanel;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };

class TBevel : public TControl {
    RT_CLASS(TBevel)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape v) { shape_ = v; }

private:
    TBevelShape shape_ = TBevelShape::bsBox;
};

class TLabel : public TControl {
    RT_CLASS_SAME_PROPS(TLabel, TControl)
public:
    using TControl::TControl;
};

class TButton : public TWinControl {
    RT_CLASS(TButton)
public:
    using TWinControl::TWinControl;
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v) { modalResult_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v) { default_ = v; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    // A button with a modal result passes it to its form, then runs OnClick.
    void Click() override;

private:
    TModalResult modalResult_ = mrNone;
    bool default_ = false;
    bool cancel_ = false;
};

class TCheckBox : public TWinControl {
    RT_CLASS(TCheckBox)
public:
    using TWinControl::TWinControl;
    bool Checked() const { return checked_; }
    // A change of the state clicks the box, as the runtime does.
    virtual void SetChecked(bool v);
    // The user clicks the box: the state flips (which runs the click).
    void Toggle() { SetChecked(!checked_); }

private:
    bool checked_ = false;
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
    RT_CLASS(TComboBox)
public:
    explicit TComboBox(TComponent* owner);

    TStringList& Items() { return items_; }
    const TStringList& Items() const { return items_; }
    void SetItems(const TStringList& items) { items_.Assign(items); }
    int ItemIndex() const { return itemIndex_; }
    // -1 or an index outside the entries clears the current entry.
    void SetItemIndex(int index);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int v) { dropDownCount_ = v; }
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v) { style_ = v; }
    bool Flat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }
    // The most characters the user can type (0: no limit); the program's own
    // texts are not cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { maxLength_ = v < 0 ? 0 : v; }

    // The user types `text` into the box: the text changes (cut to
    // MaxLength), and the type-ahead lookup may make an entry current.
    void TypeText(const std::string& text);
    // The user picks entry `index` from the list.
    void SelectFromList(int index);
    // The user opens and closes the drop-down list; `picked`: closed on the
    // chosen entry rather than cancelled (Escape, a click elsewhere).
    void DropDown();
    void CloseUp(bool picked = true);
    bool DroppedDown() const { return droppedDown_; }
    // The program closes the list: no close-up event, as nothing was chosen.
    void CloseList();
    // Whether the list last closed on a chosen entry.
    bool ClosedOnPick() const { return closedOnPick_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    // The entry whose caption begins with `prefix` (ignoring case), or -1.
    virtual int FindItemByPrefix(const std::string& prefix) const;

private:
    TStringList items_;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    bool flat_ = false;
    int maxLength_ = 0;
    bool droppedDown_ = false;
    bool closedOnPick_ = false;
};

// Items with selection marks. The marks follow the items through Add,
// Insert, Delete and Move of the list box; a change made directly to Items()
// that alters the count keeps the marks of the leading items.
class TListBox : public TWinControl {
    RT_CLASS(TListBox)
public:
    explicit TListBox(TComponent* owner);

    TStringList& Items() { return items_; }
    const TStringList& Items() const { return items_; }
    void SetItems(const TStringList& items) { items_.Assign(items); }
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;  // -1 in a single-select list box, as the runtime has it
    // Pixels per item; 13 is the item height of the default dialog font.
    // Values below 1 are ignored.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int v);
    // The first visible item, kept within the scroll range.
    int TopIndex() const;
    void SetTopIndex(int index);
    // The item at `point` (client coordinates). A point in the control below
    // the last item gives Count, or -1 with `existing`; outside it gives -1.
    int ItemAtPos(TPoint point, bool existing) const;

    int AddItem(const std::string& text, bool selected = false);
    void InsertItem(int index, const std::string& text, bool selected = false);
    void DeleteItem(int index);
    void MoveItem(int from, int to);

    // Brackets item changes as one (the native list is redrawn once).
    void BeginUpdate() { items_.BeginUpdate(); }
    void EndUpdate() { items_.EndUpdate(); }

private:
    void SyncMarks();

    TStringList items_;
    std::vector<bool> marks_;
    bool multiSelect_ = false;
    int itemIndex_ = -1;
    int itemHeight_ = 13;
    int topIndex_ = 0;
};

const std::vector<std::string>& BevelCutNames();

}  // namespace rt
