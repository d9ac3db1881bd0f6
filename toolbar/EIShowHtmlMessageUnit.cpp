#include "toolbar/EIShowHtmlMessageUnit.h"

#include <algorithm>
#include <memory>

#include "foundation/EIFunctionsBase.h"
#include "platform/Services.h"
#include "toolbar/HtmlToRtf.h"

namespace toolbar {

namespace {
constexpr int kPanel3BorderWidth = 4;
constexpr int kTabHeight = 22;
}  // namespace

TEIShowHtmlMessageForm::TEIShowHtmlMessageForm(rt::TComponent* owner) : rt::TForm(owner) {
    SetName("EIShowHtmlMessageForm");
    SetCaption("EIShowHtmlMessage");
    SetBorderIcons(rt::biSystemMenu | rt::biMaximize);
    SetPosition(rt::TPosition::poScreenCenter);
    SetBounds(0, 0, 640, 480);

    // Menus before their entries and before the controls that use them: the
    // form frees the last-made first, so every user leaves a menu before it goes.
    MainMenu1 = new rt::TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    rt::TMenuItem* bar = MainMenu1->Items();
    File1 = AddItem(bar, "File1", "&File", "", nullptr);
    Close1 = AddItem(File1, "Close1", "&Close", "", &TEIShowHtmlMessageForm::Close1Click);
    N1 = AddItem(File1, "N1", "-", "", nullptr);
    SaveAs1 = AddItem(File1, "SaveAs1", "Save Page &As...", "Ctrl+S", &TEIShowHtmlMessageForm::SaveAs1Click);
    Edit1 = AddItem(bar, "Edit1", "&Edit", "", nullptr);
    Cut1 = AddItem(Edit1, "Cut1", "Cu&t", "Ctrl+X", &TEIShowHtmlMessageForm::Cut1Click);
    Copy1 = AddItem(Edit1, "Copy1", "&Copy", "Ctrl+C", &TEIShowHtmlMessageForm::Copy1Click);
    Paste1 = AddItem(Edit1, "Paste1", "&Paste", "Ctrl+V", &TEIShowHtmlMessageForm::Paste1Click);
    Delete1 = AddItem(Edit1, "Delete1", "&Delete", "Del", &TEIShowHtmlMessageForm::Delete1Click);
    N2 = AddItem(Edit1, "N2", "-", "", nullptr);
    Find1 = AddItem(Edit1, "Find1", "&Find", "Ctrl+F", &TEIShowHtmlMessageForm::Find1Click);
    mnuWordWrap = AddItem(Edit1, "mnuWordWrap", "&Word Wrap", "", &TEIShowHtmlMessageForm::mnuWordWrapClick);
    SetMenu(MainMenu1);

    PopupMenu1 = new rt::TPopupMenu(this);
    PopupMenu1->SetName("PopupMenu1");
    rt::TMenuItem* popup = PopupMenu1->Items();
    Cut2 = AddItem(popup, "Cut2", "Cu&t", "Ctrl+X", &TEIShowHtmlMessageForm::Cut1Click);
    Copy2 = AddItem(popup, "Copy2", "&Copy", "Ctrl+C", &TEIShowHtmlMessageForm::Copy1Click);
    Paste2 = AddItem(popup, "Paste2", "&Paste", "Ctrl+V", &TEIShowHtmlMessageForm::Paste1Click);
    Delete2 = AddItem(popup, "Delete2", "&Delete", "Del", &TEIShowHtmlMessageForm::Delete1Click);

    dlgSave = new rt::TSaveDialog(this);
    dlgSave->SetName("dlgSave");
    dlgSave->SetTitle("Save HTML as");
    dlgSave->SetDefaultExt("html");
    dlgSave->SetFilter("All Files|*.*|HTML Files|*.html;*.htm");
    dlgSave->SetFilterIndex(2);
    dlgSave->SetOptions(dlgSave->Options() | rt::OpenOption(rt::TOpenOption::ofOverwritePrompt) |
                        rt::OpenOption(rt::TOpenOption::ofHideReadOnly) |
                        rt::OpenOption(rt::TOpenOption::ofPathMustExist));

    dlgFind = new rt::TFindDialog(this);
    dlgFind->SetName("dlgFind");
    dlgFind->SetOptions(rt::FindOption(rt::TFindOption::frDown) | rt::FindOption(rt::TFindOption::frFindNext) |
                        rt::FindOption(rt::TFindOption::frDisableUpDown) |
                        rt::FindOption(rt::TFindOption::frReplace) | rt::FindOption(rt::TFindOption::frReplaceAll));
    dlgFind->OnFind = [this](rt::TObject* sender) { dlgFindFind(sender); };

    Panel1 = new rt::TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetBevelOuter(rt::TBevelCut::bvNone);
    Panel1->SetParent(this);
    Panel1->SetAlign(rt::TAlign::alClient);

    // The runtime's panels have no border width: Panel3 keeps its margin by
    // placing its two children itself whenever it is resized.
    Panel3 = new rt::TPanel(this);
    Panel3->SetName("Panel3");
    Panel3->SetBevelOuter(rt::TBevelCut::bvNone);
    Panel3->OnResize = [this](rt::TObject*) { LayOutPanel3(); };

    tabHtml = new rt::TTabControl(this);
    tabHtml->SetName("tabHtml");
    tabHtml->SetTabHeight(kTabHeight);
    tabHtml->Tabs().Add("Source");
    tabHtml->OnChange = [this](rt::TObject* sender) { tabHtmlChange(sender); };
    tabHtml->SetParent(Panel3);

    memHtml = new rt::TRichEdit(this);
    memHtml->SetName("memHtml");
    memHtml->SetBorderStyle(rt::TBorderStyle::bsNone);
    memHtml->Font().SetName("MS Sans Serif");
    memHtml->Font().SetSize(8);
    memHtml->Font().SetColor(rt::clBlack);
    memHtml->SetHideSelection(false);
    memHtml->SetScrollBars(rt::TScrollStyle::ssBoth);
    memHtml->SetWordWrap(false);
    memHtml->SetReadOnly(true);
    memHtml->SetPopupMenu(PopupMenu1);
    memHtml->OnChange = [this](rt::TObject*) {
        if (!loading_) edited_ = true;
    };
    memHtml->SetParent(Panel3);

    Panel3->SetParent(Panel1);
    Panel3->SetAlign(rt::TAlign::alClient);
    LayOutPanel3();
    memHtml->SetFocus();
}

rt::TMenuItem* TEIShowHtmlMessageForm::AddItem(rt::TMenuItem* parent, const char* name, const char* caption,
                                               const char* shortCut,
                                               void (TEIShowHtmlMessageForm::*handler)(rt::TObject*)) {
    auto* item = new rt::TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetShortCut(rt::TextToShortCut(shortCut));
    if (handler) item->OnClick = [this, handler](rt::TObject* sender) { (this->*handler)(sender); };
    parent->Add(item);
    return item;
}

void TEIShowHtmlMessageForm::LayOutPanel3() {
    const int inner = Panel3->Width() - 2 * kPanel3BorderWidth;
    const int below = Panel3->Height() - 2 * kPanel3BorderWidth - kTabHeight;
    tabHtml->SetBounds(kPanel3BorderWidth, kPanel3BorderWidth, std::max(0, inner), kTabHeight);
    memHtml->SetBounds(kPanel3BorderWidth, kPanel3BorderWidth + kTabHeight, std::max(0, inner), std::max(0, below));
}

// ------------------------------------------------------------------ sources

void TEIShowHtmlMessageForm::SetSources(const rt::TStringList& sources) {
    sources_ = &sources;
    shown_ = -1;
    edited_ = false;
    edits_.clear();
    rt::TStringList& tabs = tabHtml->Tabs();
    tabs.BeginUpdate();
    tabs.Clear();
    tabs.Add("Source");
    for (int frame = 1; frame < sources.Count(); ++frame) tabs.Add(rt::Format("Frame %d", {frame}));
    tabs.EndUpdate();
    tabHtml->SetTabIndex(0);
    ShowSource(0);
}

void TEIShowHtmlMessageForm::KeepEdits() {
    if (shown_ >= 0 && edited_) edits_[shown_] = memHtml->Text();
    edited_ = false;
}

void TEIShowHtmlMessageForm::ShowSource(int index) {
    static const rt::TStringList none;
    // Raises the list-index error for an entry that does not exist, before
    // anything of the shown one is given up.
    const std::string& page = (sources_ ? *sources_ : none).Strings(index);
    KeepEdits();
    const auto edited = edits_.find(index);
    const std::string rtf = HtmlToRtf(edited != edits_.end() ? edited->second : page);

    // Whatever happens, the update ends and the control goes back to plain
    // text, so that saving never writes rich text.
    loading_ = true;
    rt::TStringList& lines = memHtml->Lines();
    lines.BeginUpdate();
    struct Restore {
        TEIShowHtmlMessageForm& form;
        rt::TStringList& lines;
        ~Restore() {
            form.memHtml->SetPlainText(true);
            lines.EndUpdate();
            form.loading_ = false;
        }
    } restore{*this, lines};
    memHtml->SetPlainText(false);
    memHtml->LoadRichText(rtf);
    memHtml->SetScrollBars(rt::TScrollStyle::ssBoth);
    shown_ = index;
}

void TEIShowHtmlMessageForm::tabHtmlChange(rt::TObject*) { ShowSource(tabHtml->TabIndex()); }

// -------------------------------------------------------------- edit menu

void TEIShowHtmlMessageForm::Cut1Click(rt::TObject*) {
    if (memHtml->SelLength() > 0) memHtml->CutToClipboard();
}

void TEIShowHtmlMessageForm::Copy1Click(rt::TObject*) {
    if (memHtml->SelLength() > 0) memHtml->CopyToClipboard();
}

void TEIShowHtmlMessageForm::Paste1Click(rt::TObject*) {
    if (memHtml->SelLength() > 0) memHtml->PasteFromClipboard();
}

void TEIShowHtmlMessageForm::Delete1Click(rt::TObject*) { memHtml->ClearSelection(); }

void TEIShowHtmlMessageForm::mnuWordWrapClick(rt::TObject*) {
    mnuWordWrap->SetChecked(!mnuWordWrap->Checked());
    memHtml->SetWordWrap(mnuWordWrap->Checked());
}

// -------------------------------------------------------------- file menu

void TEIShowHtmlMessageForm::SaveAs1Click(rt::TObject*) {
    if (dlgSave->InitialDir().empty())
        dlgSave->SetInitialDir(platform::SpecialFolders().Personal().value_or(""));
    foundation::RaiseAbortIf(!dlgSave->Execute(), "Cancelled save");
    try {
        memHtml->SaveToFile(dlgSave->FileName());
    } catch (const rt::Exception&) {
        foundation::RaiseError("The source couldn't be saved to a file. Please try again");
    }
}

void TEIShowHtmlMessageForm::Close1Click(rt::TObject*) { Close(); }

// ------------------------------------------------------------------- find

void TEIShowHtmlMessageForm::Find1Click(rt::TObject*) {
    dlgFind->SetPosition(memHtml->ClientToScreen(rt::TPoint{memHtml->Width() / 4, memHtml->Height() / 4}));
    dlgFind->Execute();
}

void TEIShowHtmlMessageForm::dlgFindFind(rt::TObject*) {
    const std::string& text = dlgFind->FindText();
    const int start = memHtml->SelLength() > 0 ? memHtml->SelStart() + memHtml->SelLength() : 0;
    const int found = memHtml->FindText(text, start, -1, true);
    if (found < 0) return;
    memHtml->SetSelStart(found);
    memHtml->SetSelLength(static_cast<int>(text.size()));
    memHtml->SetFocus();
    memHtml->ScrollLines(memHtml->LineFromChar(found) - memHtml->FirstVisibleLine());
}

// ------------------------------------------------------------------- unit

void ShowHtmlSource(const std::string& caption, const rt::TStringList& sources, bool readOnly) {
    auto form = std::make_unique<TEIShowHtmlMessageForm>(nullptr);
    form->SetCaption(caption);
    form->memHtml->SetReadOnly(readOnly);
    form->SetSources(sources);
    form->ShowModal();
}

}  // namespace toolbar
