#pragma once
// Helpers over list boxes, panels and pop-up menus used by the dialogs.
// Selecting an index means: in a multi-select list box mark that item
// selected, in a single-select one make it the current item.
#include <string>

#include "runtime/Menus.h"
#include "runtime/StdCtrls.h"

namespace foundation {

bool ListBoxHasSelection(const rt::TListBox& listBox);
void RequireSelection(const rt::TListBox& listBox);
std::string SelectedItemText(const rt::TListBox& listBox);
bool SelectItem(rt::TListBox& listBox, int index);
bool SelectItemAndClick(rt::TListBox& listBox, int index);
bool SelectItemByText(rt::TListBox& listBox, const std::string& text);
// Deletes the selected items and selects (and clicks) the one before the
// first deleted; false when nothing was deleted or nothing is left.
bool DeleteSelectedItems(rt::TListBox& listBox);
// Moves the selected items, in their order, to `target`; true when any item
// is selected afterwards.
bool MoveSelectedItems(rt::TListBox& listBox, int target);
void SelectNone(rt::TListBox& listBox);
void SelectAll(rt::TListBox& listBox);
void InvertSelection(rt::TListBox& listBox);

// An input box; EIIgniteAbort on Cancel.
std::string AskForString(const std::string& prompt, const std::string& defaultValue);
bool IsIdentifier(const std::string& text);

int VisibleChildrenWidth(const rt::TWinControl& panel);
void FitPanelToChildren(rt::TWinControl& panel);

// Shows `menu` at the control's bottom-left corner.
void PopupMenuBelow(rt::TPopupMenu& menu, rt::TControl& control);
// Shows `menu` at `point` (screen) with `control` as its pop-up component,
// then posts an empty message to the owner's window so that a menu shown
// from a background window closes properly.
void PopupMenuAt(rt::TControl& control, rt::TPopupMenu& menu, rt::TPoint point);

}  // namespace foundation
