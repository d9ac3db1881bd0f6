#include "toolbar/OptionsForm.h"

#include <memory>

#include "foundation/EIFunctionsBase.h"
#include "foundation/EIFunctionsBaseCtrls.h"
#include "foundation/SVCommonIE.h"
#include "toolbar/plgSolvane.h"

namespace toolbar {

namespace {

constexpr int kClientWidth = 333;
constexpr int kClientHeight = 314;

}  // namespace

TfmOptions::TfmOptions(rt::TComponent* owner) : TfmBase(owner) {
    SetName("fmOptions");
    SetCaption("Zephyra Preferences");
    SetBorderStyle(rt::TFormBorderStyle::bsSingle);
    SetBorderIcons(rt::biSystemMenu);
    // The runtime's form has no frame of its own: its bounds are the client area.
    SetBounds(0, 0, kClientWidth, kClientHeight);
    SetShowHint(true);

    // Parents before children: the form frees the last-made first, so every
    // control leaves its page before the page goes.
    pgcOptions = new rt::TPageControl(this);
    pgcOptions->SetName("pgcOptions");
    pgcOptions->SetBounds(6, 6, 321, 266);
    pgcOptions->SetParent(this);

    BuildButtonsPage();
    BuildSearchPage();
    BuildUpdatesPage();
    BuildPopupBlockerPage();
    pgcOptions->SetActivePage(tsButtons);

    btnOK = AddButton(this, "btnOK", "OK", 171, 281, 75, 25);
    btnOK->SetDefault(true);
    // No modal result of its own: an error while applying keeps the dialog open.
    btnOK->OnClick = [this](rt::TObject*) { OKClick(); };
    btnCancel = AddButton(this, "btnCancel", "Cancel", 252, 281, 75, 25);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(rt::mrCancel);
}

// ------------------------------------------------------------------ layout

rt::TTabSheet* TfmOptions::AddPage(const char* name, const char* caption) {
    auto* page = new rt::TTabSheet(this);
    page->SetName(name);
    page->SetCaption(caption);
    page->SetPageControl(pgcOptions);
    return page;
}

rt::TLabel* TfmOptions::AddLabel(rt::TWinControl* parent, const char* name, const std::string& caption, int left,
                                 int top, int width, int height, bool bold) {
    auto* label = new rt::TLabel(this);
    label->SetName(name);
    label->SetCaption(caption);
    label->SetBounds(left, top, width, height);
    if (bold) label->Font().SetStyle({rt::TFontStyle::fsBold});
    label->SetParent(parent);
    return label;
}

rt::TButton* TfmOptions::AddButton(rt::TWinControl* parent, const char* name, const std::string& caption, int left,
                                   int top, int width, int height) {
    auto* button = new rt::TButton(this);
    button->SetName(name);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, height);
    button->SetParent(parent);
    return button;
}

TAMCheckBox* TfmOptions::AddCheckBox(rt::TWinControl* parent, const char* name, const std::string& caption, int left,
                                     int top, int width, int height) {
    auto* box = new TAMCheckBox(this);
    box->SetName(name);
    box->SetCaption(caption);
    box->SetBounds(left, top, width, height);
    box->SetParent(parent);
    return box;
}

void TfmOptions::BuildButtonsPage() {
    tsButtons = AddPage("tsButtons", "Buttons");
    lblButtonsTitle = AddLabel(tsButtons, "lblButtonsTitle", "Toolbar Buttons:", 8, 8, 297, 13, true);
    lblButtonsText = AddLabel(tsButtons, "lblButtonsText", "Use the arrows below to choose buttons for your toolbar.",
                              8, 24, 297, 13);
    lblAvailable = AddLabel(tsButtons, "lblAvailable", "All Buttons:", 8, 44, 120, 13);

    lstAvailable = new rt::TListBox(this);
    lstAvailable->SetName("lstAvailable");
    lstAvailable->SetBounds(8, 60, 120, 134);
    lstAvailable->SetHint("Double click an item to add it to your toolbar");
    lstAvailable->SetShowHint(true);
    lstAvailable->OnClick = [this](rt::TObject*) { AvailableClick(); };
    lstAvailable->OnDblClick = [this](rt::TObject*) { AddClick(); };
    lstAvailable->SetParent(tsButtons);

    // The arrows point to the chosen list and back.
    btnRemove = AddButton(tsButtons, "btnRemove", "<", 138, 96, 33, 25);
    btnRemove->SetHint("Click here to remove a button from your toolbar");
    btnRemove->SetShowHint(true);
    btnRemove->OnClick = [this](rt::TObject*) { RemoveClick(); };
    btnAdd = AddButton(tsButtons, "btnAdd", ">", 138, 128, 33, 25);
    btnAdd->SetHint("Click here to add a button to your toolbar");
    btnAdd->SetShowHint(true);
    btnAdd->OnClick = [this](rt::TObject*) { AddClick(); };

    lblSelected = AddLabel(tsButtons, "lblSelected", "Buttons in your toolbar:", 181, 44, 120, 13);
    lstSelected = new rt::TListBox(this);
    lstSelected->SetName("lstSelected");
    lstSelected->SetMultiSelect(true);
    lstSelected->SetBounds(181, 60, 120, 134);
    lstSelected->SetHint(
        "Double click an item to remove it from your toolbar\r\n\r\nTip: You can drag and drop the items to "
        "rearrange \r\nthe order in which they appear");
    lstSelected->SetShowHint(true);
    lstSelected->OnDblClick = [this](rt::TObject*) { RemoveClick(); };
    lstSelected->OnDragOver = [this](rt::TObject*, rt::TObject*, int x, int y, bool& accept) {
        SelectedDragOver(x, y, accept);
    };
    lstSelected->OnEndDrag = [this](rt::TObject*, rt::TObject*, int, int) { SelectedEndDrag(); };
    lstSelected->SetParent(tsButtons);

    lblHeader = AddLabel(tsButtons, "lblHeader", "", 8, 200, 297, 36);
}

void TfmOptions::BuildSearchPage() {
    tsSearch = AddPage("tsSearch", "Search");
    lblMRUTitle = AddLabel(tsSearch, "lblMRUTitle", "Recently used search list:", 8, 8, 297, 13, true);
    lblMRUText = AddLabel(tsSearch, "lblMRUText",
                          "Some toolbar buttons remember your most recently used searches. Use this option to "
                          "control how many of these entries are displayed.",
                          8, 24, 297, 39);  // three lines in the dialog font

    cboMRUCount = new TAMFlatComboBox(this);
    cboMRUCount->SetName("cboMRUCount");
    cboMRUCount->SetStyle(rt::TComboBoxStyle::csDropDownList);
    cboMRUCount->SetDropDownCount(10);
    cboMRUCount->SetBounds(8, 68, 49, 21);
    for (int i = 0; i <= 20; ++i) cboMRUCount->Items().Add(std::to_string(i));
    cboMRUCount->SetParent(tsSearch);
    lblMRUEntries = AddLabel(tsSearch, "lblMRUEntries", "entries", 63, 71, 60, 13);
    // The texts about the count belong to the count: a click there goes to the
    // list, and changes no other option.
    const auto focusCount = [this](rt::TObject*) { cboMRUCount->SetFocus(); };
    lblMRUText->OnClick = focusCount;
    lblMRUEntries->OnClick = focusCount;

    lblAutoSearchTitle = AddLabel(tsSearch, "lblAutoSearchTitle", "Google Auto Search:", 8, 100, 297, 13, true);
    chkAutoSearch = AddCheckBox(tsSearch, "chkAutoSearch", "", 8, 116, 17, 17);
    lblAutoSearch = AddLabel(tsSearch, "lblAutoSearch",
                             "Check this box if you want to automatically search Google when an item is selected in "
                             "the Search History.",
                             28, 118, 277, 26);
    lblAutoSearch->OnClick = [this](rt::TObject*) { chkAutoSearch->Toggle(); };

    lblHistoryTitle = AddLabel(tsSearch, "lblHistoryTitle", "Search History:", 8, 156, 297, 13, true);
    btnManageSearchHistory = AddButton(tsSearch, "btnManageSearchHistory", "Manage Search History", 8, 174, 140, 25);
    btnManageSearchHistory->OnClick = [this](rt::TObject*) {
        if (OnManageSearchHistory) OnManageSearchHistory();
    };
    btnClearSearchHistory = AddButton(tsSearch, "btnClearSearchHistory", "Clear Search History", 156, 174, 140, 25);
    btnClearSearchHistory->OnClick = [this](rt::TObject*) {
        if (OnClearSearchHistory) OnClearSearchHistory();
    };
}

void TfmOptions::BuildUpdatesPage() {
    tsUpdates = AddPage("tsUpdates", "Updates");
    lblUpdatesTitle =
        AddLabel(tsUpdates, "lblUpdatesTitle", "Automatically install Zephyra updates:", 8, 8, 297, 13, true);
    cboUpdateFrequency = new TAMFlatComboBox(this);
    cboUpdateFrequency->SetName("cboUpdateFrequency");
    cboUpdateFrequency->SetStyle(rt::TComboBoxStyle::csDropDownList);
    cboUpdateFrequency->SetBounds(8, 28, 297, 21);
    // Values: days between update checks.
    cboUpdateFrequency->SetItems(rt::TStringList{"Whenever an update is released (Recommended)", "Once a week",
                                                 "Once a month", "Never"});
    cboUpdateFrequency->SetValues(rt::TStringList{"1", "7", "30", "10000"});
    cboUpdateFrequency->SetParent(tsUpdates);
}

void TfmOptions::BuildPopupBlockerPage() {
    tsPopupBlocker = AddPage("tsPopupBlocker", "Popup Blocker");
    lblPopupTitle = AddLabel(tsPopupBlocker, "lblPopupTitle", "Popup Blocker:", 8, 8, 297, 13, true);
    lblPopupText = AddLabel(tsPopupBlocker, "lblPopupText", "Block unwanted popup windows now!", 8, 24, 297, 13);
    chkBlockingPopups = AddCheckBox(tsPopupBlocker, "chkBlockingPopups", "Enabled", 8, 42, 120, 17);
    chkBlockingPopups->OnClick = [this](rt::TObject*) { BlockingPopupsClick(); };

    lblWhenBlockingTitle =
        AddLabel(tsPopupBlocker, "lblWhenBlockingTitle", "When blocking a popup:", 8, 72, 297, 13, true);
    const char* soundHint = "Plays a \"popping\" sound whenever a popup is blocked";
    chkPlaySoundWhenBlockingPopup = AddCheckBox(tsPopupBlocker, "chkPlaySoundWhenBlockingPopup", "", 8, 90, 17, 17);
    chkPlaySoundWhenBlockingPopup->SetHint(soundHint);
    chkPlaySoundWhenBlockingPopup->SetShowHint(true);
    lblPlaySound = AddLabel(tsPopupBlocker, "lblPlaySound", "Play a sound", 28, 92, 200, 13);
    lblPlaySound->SetHint(soundHint);
    lblPlaySound->SetShowHint(true);
    lblPlaySound->OnClick = [this](rt::TObject*) { chkPlaySoundWhenBlockingPopup->Toggle(); };

    const char* cursorHint = "Displays a \"blocked\" icon next to your cursor whenever a popup is blocked";
    chkShowBlockedCursorWhenBlockingPopup =
        AddCheckBox(tsPopupBlocker, "chkShowBlockedCursorWhenBlockingPopup", "", 8, 110, 17, 17);
    chkShowBlockedCursorWhenBlockingPopup->SetHint(cursorHint);
    chkShowBlockedCursorWhenBlockingPopup->SetShowHint(true);
    lblShowBlockedCursor = AddLabel(tsPopupBlocker, "lblShowBlockedCursor", "Flash the cursor ", 28, 112, 200, 13);
    lblShowBlockedCursor->SetHint(cursorHint);
    lblShowBlockedCursor->SetShowHint(true);
    lblShowBlockedCursor->OnClick = [this](rt::TObject*) { chkShowBlockedCursorWhenBlockingPopup->Toggle(); };

    lblTipTitle = AddLabel(tsPopupBlocker, "lblTipTitle", "Tip:", 8, 142, 297, 13, true);
    lblTip = AddLabel(tsPopupBlocker, "lblTip",
                      "You can temporarily disable the popup blocker by holding down the \"Ctrl\" key while clicking "
                      "on a link, or while a page is loading. This will cause any popups to display normally.",
                      8, 158, 297, 52);
}

// --------------------------------------------------------------- bindings

void TfmOptions::CopyBoundValues(bool load) {
    if (!Form || !Bindings) return;
    rt::TStringList parts;
    for (int i = 0; i < Bindings->Count(); ++i) {
        foundation::SplitAtChars((*Bindings)[i], ".,", parts);
        if (parts.Count() != 4) continue;
        rt::TComponent* formComponent = Form->FindComponent(parts[0]);
        rt::TComponent* control = FindComponent(parts[2]);
        if (!formComponent || !control) continue;
        if (load) foundation::CopyPropertyValue(formComponent, parts[1], control, parts[3]);
        else foundation::CopyPropertyValue(control, parts[3], formComponent, parts[1]);
    }
}

void TfmOptions::LoadFromForm() { CopyBoundValues(true); }

void TfmOptions::SaveToForm() { CopyBoundValues(false); }

void TfmOptions::Apply() {
    SaveToForm();
    if (OnApply) OnApply(this);
}

// ----------------------------------------------------------------- events

void TfmOptions::AddClick() {
    foundation::RequireSelection(*lstAvailable);
    foundation::SelectNone(*lstSelected);
    const std::string text = foundation::SelectedItemText(*lstAvailable);
    if (foundation::AddUnique(lstSelected->Items(), text)) Apply();
    foundation::SelectItemByText(*lstSelected, text);
}

void TfmOptions::RemoveClick() {
    foundation::RequireSelection(*lstSelected);
    foundation::DeleteSelectedItems(*lstSelected);
    Apply();
}

void TfmOptions::AvailableClick() {
    const int index = lstAvailable->ItemIndex();
    lblHeader->SetCaption(Descriptions && index >= 0 && index < Descriptions->Count() ? (*Descriptions)[index] : "");
}

void TfmOptions::SelectedDragOver(int x, int y, bool& accept) {
    accept = true;
    const int target = lstSelected->ItemAtPos(rt::TPoint{x, y}, true);
    if (target >= 0 && foundation::MoveSelectedItems(*lstSelected, target)) DragMoved = true;
}

void TfmOptions::SelectedEndDrag() {
    if (!DragMoved) return;
    DragMoved = false;
    Apply();
}

void TfmOptions::BlockingPopupsClick() {
    if (!chkBlockingPopups->Checked()) return;
    DisableScriptErrors = Browser && Browser->GetDisplayScriptErrors() && foundation::AskDisableScriptWarnings();
}

void TfmOptions::OKClick() {
    if (DisableScriptErrors && Browser) Browser->SetDisplayScriptErrors(false);
    Apply();
    SetModalResult(rt::mrOk);
}

// ------------------------------------------------------------ entry point

bool ExecutePreferences(const rt::TStringList& allButtons, const rt::TStringList* descriptions, rt::TComponent* form,
                        bool& disableScriptErrors, const rt::TStringList* bindings, rt::TNotifyEvent onApply,
                        TSolvane* browser, std::function<void()> manageSearchHistory,
                        std::function<void()> clearSearchHistory) {
    disableScriptErrors = false;
    auto dialog = std::make_unique<TfmOptions>(nullptr);
    dialog->lstAvailable->SetItems(allButtons);
    dialog->Form = form;
    dialog->Bindings = bindings;
    dialog->Descriptions = descriptions;
    dialog->OnApply = std::move(onApply);
    dialog->Browser = browser;
    dialog->OnManageSearchHistory = std::move(manageSearchHistory);
    dialog->OnClearSearchHistory = std::move(clearSearchHistory);
    dialog->LoadFromForm();
    const bool accepted = dialog->ShowModal() == rt::mrOk;
    // Only OK touches the browser's settings; after Cancel there is nothing to report.
    disableScriptErrors = accepted && dialog->DisableScriptErrors;
    return accepted;
}

}  // namespace toolbar
