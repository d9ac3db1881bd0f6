#pragma once
// A modal editor for a list of text items: add, rename, delete, reorder by
// dragging, sort and clear, then OK or Cancel. It works on its own copy;
// the caller's list changes only on OK.
#include <string>

#include "runtime/StdCtrls.h"
#include "toolbar/EIDialogFormUnit1.h"
#include "toolbar/controls/FlatButton.h"
#include "toolbar/controls/ammenus.h"

namespace toolbar {

class TfrmEIEditItems : public TEIDialogForm {
    RT_CLASS_SAME_PROPS(TfrmEIEditItems, TEIDialogForm)
public:
    explicit TfrmEIEditItems(rt::TComponent* owner);

    // The least number of items that OK accepts.
    int MinCount = 0;
    // New and renamed items must be valid names.
    bool RequireNames = false;

    rt::TPanel* pnlTitle;
    rt::TLabel* SelectedItemsCaption;
    TFlatButton* btnSelectedItems;
    rt::TListBox* lstItems;
    rt::TPanel* pnlButtons;
    rt::TButton* btnOK;
    rt::TButton* btnCancel;

    TAMPopupMenu* PopupMenu1;
    TAMMenuItem* mnuAdd;
    TAMMenuItem* mnuRename;
    TAMMenuItem* mnuDelete;
    TAMMenuItem* mnuClearList;
    TAMMenuItem* N1;
    TAMMenuItem* mnuSelectAll;
    TAMMenuItem* mnuSelectNone;
    TAMMenuItem* mnuInvertSelection;
    TAMMenuItem* N2;
    TAMMenuItem* mnuSortItems;

private:
    TAMMenuItem* AddMenuItem(const char* name, const char* caption, rt::TShortCut shortCut,
                             void (TfrmEIEditItems::*action)());
    void CheckName(const std::string& text) const;

    void AddClick();
    void RenameClick();
    void DeleteClick();
    void ClearListClick();
    void SelectAllClick();
    void SelectNoneClick();
    void InvertSelectionClick();
    void SortItemsClick();
    void OKClick();
    void ItemsDragOver(int x, int y, bool& accept);
};

// Edits `items` in the editor titled `caption`, with `listCaption` above the
// list. True when OK changed the list (compared case-sensitively); any other
// close raises EIIgniteAbort "Operation cancelled" and leaves `items` as it was.
bool EditItemList(const std::string& caption, rt::TStringList& items, int minCount, const std::string& listCaption,
                  bool requireNames);

}  // namespace toolbar
