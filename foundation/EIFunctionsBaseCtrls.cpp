#include "foundation/EIFunctionsBaseCtrls.h"

#include <vector>

#include "foundation/EIFunctionsBase.h"
#include "platform/Services.h"

namespace foundation {

bool ListBoxHasSelection(const rt::TListBox& listBox) {
    return listBox.MultiSelect() ? listBox.SelCount() > 0 : listBox.ItemIndex() >= 0;
}

void RequireSelection(const rt::TListBox& listBox) {
    RaiseErrorIf(!ListBoxHasSelection(listBox), "Please select an item and try again !");
}

std::string SelectedItemText(const rt::TListBox& listBox) {
    const int index = listBox.ItemIndex();
    if (index < 0 || index >= listBox.Items().Count()) RaiseError("Please select an item and try again !!!");
    return listBox.Items()[index];
}

bool SelectItem(rt::TListBox& listBox, int index) {
    if (index < 0 || index >= listBox.Items().Count()) return false;
    if (listBox.MultiSelect()) listBox.SetSelected(index, true);
    else listBox.SetItemIndex(index);
    return true;
}

bool SelectItemAndClick(rt::TListBox& listBox, int index) {
    if (!SelectItem(listBox, index)) return false;
    if (listBox.OnClick) listBox.OnClick(&listBox);
    return true;
}

bool SelectItemByText(rt::TListBox& listBox, const std::string& text) {
    const int index = listBox.Items().IndexOf(text);
    return index >= 0 && SelectItemAndClick(listBox, index);
}

bool DeleteSelectedItems(rt::TListBox& listBox) {
    int lowest = -1;
    for (int i = listBox.Items().Count() - 1; i >= 0; --i)
        if (listBox.Selected(i)) {
            listBox.DeleteItem(i);
            lowest = i;
        }
    if (lowest < 0) return false;
    const int count = listBox.Items().Count();
    if (count == 0) return false;
    int next = lowest - 1 < 0 ? 0 : lowest - 1;
    if (next > count - 1) next = count - 1;
    SelectItemAndClick(listBox, next);
    return true;
}

bool MoveSelectedItems(rt::TListBox& listBox, int target) {
    if (!listBox.MultiSelect())
        RaiseError("Trying to move items in a single select list box. Please fix this problem and try again !");
    std::vector<std::string> moved;  // last to first
    for (int i = listBox.Items().Count() - 1; i >= 0; --i)
        if (listBox.Selected(i)) {
            moved.push_back(listBox.Items()[i]);
            listBox.DeleteItem(i);
        }
    if (target < 0) target = 0;
    if (target > listBox.Items().Count()) target = listBox.Items().Count();
    for (const std::string& text : moved) listBox.InsertItem(target, text, true);
    return listBox.SelCount() > 0;
}

namespace {
template <class F>
void ForEachMark(rt::TListBox& listBox, F mark) {
    listBox.BeginUpdate();
    try {
        for (int i = 0; i < listBox.Items().Count(); ++i) listBox.SetSelected(i, mark(listBox.Selected(i)));
    } catch (...) {
        listBox.EndUpdate();
        throw;
    }
    listBox.EndUpdate();
}
}  // namespace

void SelectNone(rt::TListBox& listBox) {
    if (!listBox.MultiSelect()) {
        listBox.SetItemIndex(-1);
        return;
    }
    ForEachMark(listBox, [](bool) { return false; });
}

void SelectAll(rt::TListBox& listBox) {
    if (!listBox.MultiSelect())
        RaiseError("You can't select all items in a single select list box ! Please fix this problem and try again");
    ForEachMark(listBox, [](bool) { return true; });
}

void InvertSelection(rt::TListBox& listBox) {
    if (!listBox.MultiSelect())
        RaiseError(
            "You can't invert the selection in a single select list box ! Please fix this problem and try again");
    ForEachMark(listBox, [](bool selected) { return !selected; });
}

std::string AskForString(const std::string& prompt, const std::string& defaultValue) {
    std::string value = defaultValue;
    if (!platform::Dialogs().InputQuery("Please supply a string", prompt, value))
        RaiseAbort("String not supplied... Cancelling");
    return value;
}

bool IsIdentifier(const std::string& text) {
    const std::string trimmed = rt::Trim(text);
    if (trimmed.empty() || (trimmed[0] >= '0' && trimmed[0] <= '9')) return false;
    for (char c : trimmed)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

int VisibleChildrenWidth(const rt::TWinControl& panel) {
    int width = 0;
    for (int i = 0; i < panel.ControlCount(); ++i)
        if (panel.Controls(i)->Visible()) width += panel.Controls(i)->Width();
    return width;
}

void FitPanelToChildren(rt::TWinControl& panel) { panel.SetWidth(VisibleChildrenWidth(panel)); }

void PopupMenuBelow(rt::TPopupMenu& menu, rt::TControl& control) {
    rt::TPoint corner{control.Left(), control.Top() + control.Height()};
    if (control.Parent()) corner = control.Parent()->ClientToScreen(corner);
    menu.Popup(corner.X, corner.Y);
}

void PopupMenuAt(rt::TControl& control, rt::TPopupMenu& menu, rt::TPoint point) {
    rt::UiBackend().ForegroundApplication();
    platform::Windows().ProcessMessages();
    menu.SetPopupComponent(&control);
    menu.Popup(point.X, point.Y);
    std::uintptr_t window = 0;
    if (auto* owner = dynamic_cast<rt::TControl*>(control.Owner())) window = rt::UiBackend().HandleOf(*owner);
    if (!window) window = rt::Application().Handle;
    if (window) platform::Windows().PostMessage(window, 0, 0, 0);
}

}  // namespace foundation
