#pragma once
// The preferences dialog: chooses and orders the toolbar's buttons and sets
// the search, update and popup-blocker options. It knows no option itself:
// a binding map pairs each saved value of the toolbar form with a property
// of one of its controls ("FormComponent.Property,DialogControl.Property").
// Every change of the button list and OK copy all bound values back to the
// form and run the apply action; undoing them on Cancel is the caller's.
#include <functional>
#include <string>

#include "runtime/ComCtrls.h"
#include "runtime/StdCtrls.h"
#include "toolbar/BaseForm.h"
#include "toolbar/controls/AMFlatComboBox.h"
#include "toolbar/controls/AMStdCtrls.h"

namespace toolbar {

class TSolvane;

class TfmOptions : public TfmBase {
    RT_CLASS_SAME_PROPS(TfmOptions, TfmBase)
public:
    explicit TfmOptions(rt::TComponent* owner);

    rt::TComponent* Form = nullptr;                 // the toolbar form whose components are bound (not owned)
    const rt::TStringList* Bindings = nullptr;      // the binding map (not owned)
    const rt::TStringList* Descriptions = nullptr;  // parallel to lstAvailable (not owned)
    rt::TNotifyEvent OnApply;                       // run with the dialog as sender after each copy-out
    bool DragMoved = false;                         // a drag in lstSelected has moved items
    bool DisableScriptErrors = false;               // the user agreed to switch the browser's script errors off
    // The browser controller whose DisplayScriptErrors the dialog reads and
    // clears (not owned); without one the script-warnings question is never asked.
    TSolvane* Browser = nullptr;
    // The toolbar form's ManageSearchHistory and ClearSearchHistory.
    std::function<void()> OnManageSearchHistory;
    std::function<void()> OnClearSearchHistory;

    void LoadFromForm();
    void SaveToForm();
    // SaveToForm, then OnApply.
    void Apply();

    rt::TPageControl* pgcOptions;

    rt::TTabSheet* tsButtons;
    rt::TLabel* lblButtonsTitle;
    rt::TLabel* lblButtonsText;
    rt::TLabel* lblAvailable;
    rt::TListBox* lstAvailable;
    rt::TButton* btnRemove;
    rt::TButton* btnAdd;
    rt::TLabel* lblSelected;
    rt::TListBox* lstSelected;
    rt::TLabel* lblHeader;

    rt::TTabSheet* tsSearch;
    rt::TLabel* lblMRUTitle;
    rt::TLabel* lblMRUText;
    TAMFlatComboBox* cboMRUCount;
    rt::TLabel* lblMRUEntries;
    rt::TLabel* lblAutoSearchTitle;
    TAMCheckBox* chkAutoSearch;
    rt::TLabel* lblAutoSearch;
    rt::TLabel* lblHistoryTitle;
    rt::TButton* btnManageSearchHistory;
    rt::TButton* btnClearSearchHistory;

    rt::TTabSheet* tsUpdates;
    rt::TLabel* lblUpdatesTitle;
    TAMFlatComboBox* cboUpdateFrequency;

    rt::TTabSheet* tsPopupBlocker;
    rt::TLabel* lblPopupTitle;
    rt::TLabel* lblPopupText;
    TAMCheckBox* chkBlockingPopups;
    rt::TLabel* lblWhenBlockingTitle;
    TAMCheckBox* chkPlaySoundWhenBlockingPopup;
    rt::TLabel* lblPlaySound;
    TAMCheckBox* chkShowBlockedCursorWhenBlockingPopup;
    rt::TLabel* lblShowBlockedCursor;
    rt::TLabel* lblTipTitle;
    rt::TLabel* lblTip;

    rt::TButton* btnOK;
    rt::TButton* btnCancel;

private:
    void BuildButtonsPage();
    void BuildSearchPage();
    void BuildUpdatesPage();
    void BuildPopupBlockerPage();
    rt::TTabSheet* AddPage(const char* name, const char* caption);
    rt::TLabel* AddLabel(rt::TWinControl* parent, const char* name, const std::string& caption, int left, int top,
                         int width, int height, bool bold = false);
    rt::TButton* AddButton(rt::TWinControl* parent, const char* name, const std::string& caption, int left, int top,
                           int width, int height);
    TAMCheckBox* AddCheckBox(rt::TWinControl* parent, const char* name, const std::string& caption, int left, int top,
                             int width, int height);

    // The binding walk; `load` copies form -> dialog, otherwise dialog -> form.
    void CopyBoundValues(bool load);

    void AddClick();
    void RemoveClick();
    void AvailableClick();
    void SelectedDragOver(int x, int y, bool& accept);
    void SelectedEndDrag();
    void BlockingPopupsClick();
    void OKClick();
};

// Runs the preferences dialog over `form`'s components through `bindings`,
// offering `allButtons` (with `descriptions` in the same order). True when
// the user closed it with OK. `disableScriptErrors` tells whether the
// dialog switched the browser's script errors off; false after Cancel, when
// the browser was left alone.
//
// The toolbar form is not a dependency of this unit: what the dialog needs
// of it and of its browser controller comes in as `browser` (for
// DisplayScriptErrors) and the two Search-page callbacks, so the dialog runs
// over any form and in tests.
bool ExecutePreferences(const rt::TStringList& allButtons, const rt::TStringList* descriptions, rt::TComponent* form,
                        bool& disableScriptErrors, const rt::TStringList* bindings, rt::TNotifyEvent onApply,
                        TSolvane* browser = nullptr, std::function<void()> manageSearchHistory = {},
                        std::function<void()> clearSearchHistory = {});

}  // namespace toolbar
