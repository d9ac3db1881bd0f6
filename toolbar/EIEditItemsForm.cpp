#include "toolbar/EIEditItemsForm.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

#include "foundation/EIFunctionsBase.h"
#include "foundation/EIFunctionsBaseCtrls.h"

namespace toolbar {

TfrmEIEditItems::TfrmEIEditItems(rt::TComponent* owner) : TEIDialogForm(owner) {
    SetName("frmEIEditItems");
    // A sizeable tool window with only the system menu, centred on the screen.
    SetBorderStyle(rt::TFormBorderStyle::bsSizeToolWin);
    SetBorderIcons(rt::biSystemMenu);
    SetPosition(rt::TPosition::poScreenCenter);
    SetBounds(0, 0, 282, 300);

    // The menu before its entries: the form frees the last-made first, so
    // each entry leaves the menu before the menu goes.
    PopupMenu1 = new TAMPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    mnuAdd = AddMenuItem("mnuAdd", "&Add...", 0, &TfrmEIEditItems::AddClick);
    mnuRename = AddMenuItem("mnuRename", "&Rename...", rt::ShortCut(rt::vk::F2, {}), &TfrmEIEditItems::RenameClick);
    mnuDelete = AddMenuItem("mnuDelete", "&Delete...", rt::ShortCut(rt::vk::Delete, {}), &TfrmEIEditItems::DeleteClick);
    mnuClearList = AddMenuItem("mnuClearList", "&Clear list", 0, &TfrmEIEditItems::ClearListClick);
    N1 = AddMenuItem("N1", "-", 0, nullptr);
    mnuSelectAll = AddMenuItem("mnuSelectAll", "&Select All", 0, &TfrmEIEditItems::SelectAllClick);
    mnuSelectNone = AddMenuItem("mnuSelectNone", "Select &None", 0, &TfrmEIEditItems::SelectNoneClick);
    mnuInvertSelection =
        AddMenuItem("mnuInvertSelection", "&Invert Selection", 0, &TfrmEIEditItems::InvertSelectionClick);
    N2 = AddMenuItem("N2", "-", 0, nullptr);
    mnuSortItems = AddMenuItem("mnuSortItems", "&Sort items", 0, &TfrmEIEditItems::SortItemsClick);
    SetPopupMenu(PopupMenu1);

    const auto showMenuBelow = [this](rt::TObject* sender) {
        foundation::PopupMenuBelow(*PopupMenu1, *static_cast<rt::TControl*>(sender));
    };

    pnlTitle = new rt::TPanel(this);
    pnlTitle->SetName("pnlTitle");
    pnlTitle->SetBevelOuter(rt::TBevelCut::bvNone);
    pnlTitle->SetBounds(0, 0, Width(), 22);
    pnlTitle->SetAlign(rt::TAlign::alTop);
    pnlTitle->SetParent(this);

    SelectedItemsCaption = new rt::TLabel(this);
    SelectedItemsCaption->SetName("SelectedItemsCaption");
    SelectedItemsCaption->SetBounds(8, 5, 180, 13);
    SelectedItemsCaption->SetPopupMenu(PopupMenu1);
    SelectedItemsCaption->OnClick = showMenuBelow;
    SelectedItemsCaption->SetParent(pnlTitle);

    btnSelectedItems = new TFlatButton(this);
    btnSelectedItems->SetName("btnSelectedItems");
    btnSelectedItems->SetCaption("Options");
    btnSelectedItems->SetHint("More options");
    btnSelectedItems->SetShowHint(true);
    btnSelectedItems->SetLayout(TButtonLayout::blGlyphRight);
    btnSelectedItems->SetBounds(pnlTitle->Width() - 64, 1, 60, 20);
    btnSelectedItems->SetAlign(rt::TAlign::alRight);
    btnSelectedItems->OnClick = showMenuBelow;
    btnSelectedItems->SetParent(pnlTitle);

    pnlButtons = new rt::TPanel(this);
    pnlButtons->SetName("pnlButtons");
    pnlButtons->SetBevelOuter(rt::TBevelCut::bvNone);
    pnlButtons->SetBounds(Width() - 88, 22, 88, Height() - 22);
    pnlButtons->SetAlign(rt::TAlign::alRight);
    pnlButtons->SetParent(this);

    btnOK = new rt::TButton(this);
    btnOK->SetName("btnOK");
    btnOK->SetCaption("OK");
    btnOK->SetDefault(true);
    btnOK->SetBounds(7, 2, 75, 25);
    // No modal result of its own: a refusal must leave the editor open.
    btnOK->OnClick = [this](rt::TObject*) { OKClick(); };
    btnOK->SetParent(pnlButtons);

    btnCancel = new rt::TButton(this);
    btnCancel->SetName("btnCancel");
    btnCancel->SetCaption("Cancel");
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(rt::mrCancel);
    btnCancel->SetBounds(7, 33, 75, 25);
    btnCancel->SetParent(pnlButtons);

    lstItems = new rt::TListBox(this);
    lstItems->SetName("lstItems");
    lstItems->SetMultiSelect(true);
    // The font "Small Fonts" with a character height of 9 pixels (7 points at
    // 96 dots per inch), so that its rows of 11 pixels hold the descenders.
    lstItems->Font().SetName("Small Fonts");
    lstItems->Font().SetSize(7);
    lstItems->SetItemHeight(11);
    lstItems->SetPopupMenu(PopupMenu1);
    lstItems->SetAlign(rt::TAlign::alClient);
    lstItems->OnDblClick = [this](rt::TObject*) { RenameClick(); };
    lstItems->OnDragOver = [this](rt::TObject*, rt::TObject*, int x, int y, bool& accept) {
        ItemsDragOver(x, y, accept);
    };
    lstItems->SetParent(this);
    lstItems->SetFocus();
}

TAMMenuItem* TfrmEIEditItems::AddMenuItem(const char* name, const char* caption, rt::TShortCut shortCut,
                                          void (TfrmEIEditItems::*action)()) {
    auto* item = new TAMMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    if (action) item->OnClick = [this, action](rt::TObject*) { (this->*action)(); };
    PopupMenu1->Items()->Add(item);
    return item;
}

void TfrmEIEditItems::CheckName(const std::string& text) const {
    if (RequireNames)
        foundation::RaiseErrorIf(!foundation::IsIdentifier(text), "Please supply a valid name and try again !");
}

void TfrmEIEditItems::AddClick() {
    const std::string text = foundation::AskForString("New item", "");
    CheckName(text);
    lstItems->AddItem(text);
}

void TfrmEIEditItems::RenameClick() {
    foundation::RequireSelection(*lstItems);
    const std::string current = foundation::SelectedItemText(*lstItems);
    const int index = lstItems->ItemIndex();
    const std::string text = foundation::AskForString("Rename item", current);
    CheckName(text);
    lstItems->Items().SetString(index, text);
}

void TfrmEIEditItems::DeleteClick() {
    foundation::RequireSelection(*lstItems);
    foundation::DeleteSelectedItems(*lstItems);
}

void TfrmEIEditItems::ClearListClick() { lstItems->Items().Clear(); }

void TfrmEIEditItems::SelectAllClick() { foundation::SelectAll(*lstItems); }

void TfrmEIEditItems::SelectNoneClick() { foundation::SelectNone(*lstItems); }

void TfrmEIEditItems::InvertSelectionClick() { foundation::InvertSelection(*lstItems); }

void TfrmEIEditItems::SortItemsClick() {
    // Sorted once as the list control sorts, then unsorted again. The marks
    // and the current item travel with their items, so that a later delete or
    // rename acts on what the user selected.
    rt::TStringList& items = lstItems->Items();
    const int count = items.Count();
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&items](int a, int b) { return rt::CompareText(items[a], items[b]) < 0; });
    std::vector<bool> marks(count);
    for (int i = 0; i < count; ++i) marks[i] = lstItems->Selected(i);
    const int current = lstItems->ItemIndex();

    rt::TStringList sorted;
    for (int from : order) sorted.AddObject(items[from], items.Objects(from));
    items.Assign(sorted);  // the same count: the marks stay in place for now
    int newCurrent = -1;
    for (int i = 0; i < count; ++i) {
        if (lstItems->MultiSelect()) lstItems->SetSelected(i, marks[order[i]]);
        if (order[i] == current) newCurrent = i;
    }
    lstItems->SetItemIndex(newCurrent);
}

void TfrmEIEditItems::OKClick() {
    foundation::RaiseErrorFmtIf(lstItems->Items().Count() < MinCount,
                                "You have to have at least %d item%s before you can continue !",
                                {MinCount, MinCount < 2 ? "" : "(s)"});
    SetModalResult(rt::mrOk);
}

void TfrmEIEditItems::ItemsDragOver(int x, int y, bool& accept) {
    accept = true;
    const int target = lstItems->ItemAtPos(rt::TPoint{x, y}, true);
    if (target >= 0) foundation::MoveSelectedItems(*lstItems, target);
}

bool EditItemList(const std::string& caption, rt::TStringList& items, int minCount, const std::string& listCaption,
                  bool requireNames) {
    auto editor = std::make_unique<TfrmEIEditItems>(nullptr);
    editor->SetCaption(caption);
    editor->SelectedItemsCaption->SetCaption(listCaption);
    editor->lstItems->SetItems(items);
    editor->MinCount = minCount;
    editor->RequireNames = requireNames;
    // Item by item rather than as one joined text: an item holding a line
    // break must not compare equal to two items.
    const std::vector<std::string> before = editor->lstItems->Items().ToVector();
    const bool accepted = editor->ShowModal() == rt::mrOk;
    foundation::RaiseAbortIf(!accepted, "Operation cancelled");
    const bool changed = editor->lstItems->Items().ToVector() != before;
    items.Assign(editor->lstItems->Items());
    return changed;
}

}  // namespace toolbar
