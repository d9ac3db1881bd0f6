#pragma once
// The source viewer: a modal window showing a page's HTML, coloured, one tab
// per document (the top document, then each frame). The shown tab can be
// edited (unless read-only), searched, saved as plain text and wrapped.
#include <map>
#include <string>

#include "runtime/ComCtrls.h"
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/Menus.h"
#include "runtime/RichEdit.h"
#include "runtime/StdCtrls.h"

namespace toolbar {

class TEIShowHtmlMessageForm : public rt::TForm {
    RT_CLASS_SAME_PROPS(TEIShowHtmlMessageForm, rt::TForm)
public:
    explicit TEIShowHtmlMessageForm(rt::TComponent* owner);

    rt::TMainMenu* MainMenu1;
    rt::TMenuItem* File1;
    rt::TMenuItem* Close1;
    rt::TMenuItem* N1;
    rt::TMenuItem* SaveAs1;
    rt::TMenuItem* Edit1;
    rt::TMenuItem* Cut1;
    rt::TMenuItem* Copy1;
    rt::TMenuItem* Paste1;
    rt::TMenuItem* Delete1;
    rt::TMenuItem* N2;
    rt::TMenuItem* Find1;
    rt::TMenuItem* mnuWordWrap;
    rt::TPopupMenu* PopupMenu1;
    rt::TMenuItem* Cut2;
    rt::TMenuItem* Copy2;
    rt::TMenuItem* Paste2;
    rt::TMenuItem* Delete2;
    rt::TPanel* Panel1;
    rt::TPanel* Panel3;
    rt::TTabControl* tabHtml;
    rt::TRichEdit* memHtml;
    rt::TSaveDialog* dlgSave;
    rt::TFindDialog* dlgFind;

    // Keeps `sources` (not owned; it must outlive the form), makes one tab
    // per entry and shows entry 0. An empty list raises EListError.
    void SetSources(const rt::TStringList& sources);
    // Shows entry `index` coloured (with the edits made in it earlier).
    void ShowSource(int index);

    void tabHtmlChange(rt::TObject* sender);
    void Cut1Click(rt::TObject* sender);
    void Copy1Click(rt::TObject* sender);
    void Paste1Click(rt::TObject* sender);
    void Delete1Click(rt::TObject* sender);
    void SaveAs1Click(rt::TObject* sender);
    void Close1Click(rt::TObject* sender);
    void Find1Click(rt::TObject* sender);
    void dlgFindFind(rt::TObject* sender);
    void mnuWordWrapClick(rt::TObject* sender);

private:
    rt::TMenuItem* AddItem(rt::TMenuItem* parent, const char* name, const char* caption, const char* shortCut,
                           void (TEIShowHtmlMessageForm::*handler)(rt::TObject*));
    void LayOutPanel3();
    // Keeps what the user changed in the shown tab before another is shown.
    void KeepEdits();

    const rt::TStringList* sources_ = nullptr;  // the caller's page sources
    int shown_ = -1;                            // the entry memHtml holds
    bool loading_ = false;                      // memHtml is being filled by ShowSource
    bool edited_ = false;                       // the user changed the shown entry
    std::map<int, std::string> edits_;          // changed entries' texts, by entry
};

// Shows `sources` (the top document, then its frames) in a modal viewer
// titled `caption`; `readOnly` forbids editing. Raises EListError without
// showing anything when `sources` is empty.
void ShowHtmlSource(const std::string& caption, const rt::TStringList& sources, bool readOnly);

}  // namespace toolbar
