#include "toolbar/BandForm.h"

#include <memory>
#include <mutex>

#include "foundation/EIFunctionsBase.h"
#include "foundation/EIFunctionsBaseCtrls.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "foundation/SVCommonIE.h"
#include "foundation/SVDebug.h"
#include "platform/Services.h"
#include "runtime/RichEdit.h"
#include "runtime/SysUtils.h"
#include "toolbar/EIEditItemsForm.h"
#include "toolbar/OptionsForm.h"
#include "toolbar/plgBrowserTools.h"
#include "toolbar/plgPopupBlocker.h"

namespace toolbar {

// ------------------------------------------------------------ the process

namespace {

// Every browser window of the process has its form on its own thread.
std::mutex processMutex;
std::string sharedSearchText;
TBrowserEventSourceProvider eventSourceProvider;

constexpr int kButtonHeight = 21;

}  // namespace

std::string SharedSearchText() {
    std::lock_guard<std::mutex> lock(processMutex);
    return sharedSearchText;
}

void SetSharedSearchText(const std::string& text) {
    std::lock_guard<std::mutex> lock(processMutex);
    sharedSearchText = text;
}

void SetBrowserEventSourceProvider(TBrowserEventSourceProvider provider) {
    std::lock_guard<std::mutex> lock(processMutex);
    eventSourceProvider = std::move(provider);
}

void BandModuleLoaded() {
    SetSharedSearchText("");
    SetFirstRunPending(true);
    // Once for the process rather than per form: every window's thread shares
    // the application object.
    rt::Application().OnException = [](const std::exception& error) { ShowApplicationError(error); };
    foundation::SetFormStorageIniFileProvider([] { return foundation::CurrentUserSettingsFileName(); });
}

void BandModuleUnloading() { SetSharedSearchText(""); }

void ShowApplicationError(const std::exception& error) {
    if (dynamic_cast<const rt::EAbort*>(&error)) return;
    // Outside debug mode the user sees the system's own errors and the page
    // that is still loading (what a browser tool answers for any failure).
    const bool forTheUser = dynamic_cast<const foundation::EIException*>(&error) ||
                            dynamic_cast<const foundation::EPageStillLoading*>(&error);
    if (!foundation::IsDebugMode() && !forTheUser) return;
    platform::Dialogs().MessageBox(error.what(), "Zephyra", platform::mb::Ok | platform::mb::IconInformation);
}

// ------------------------------------------------------------ construction

TBandForm::TBandForm(rt::TComponent* owner, std::uintptr_t parentWindow) : rt::TForm(owner) {
    SetParentWindow(parentWindow);
    controller_ = new TSolvane(this);
    controller_->SetName("Zephyra");
    browserTools_ = new TplgBrowserTools(controller_);
    popupBlocker_ = new TplgPopupBlocker(controller_);
    eventsConnected_ = false;
    SyncUpdaterVersion();

    // What the form resource holds.
    SetName("BandForm");
    SetCaption("Zephyra");
    SetBorderStyle(rt::TFormBorderStyle::bsNone);
    SetBounds(0, 0, 1144, 122);
    Font().SetName("MS Sans Serif");
    Font().SetSize(8);  // a character height of 11 pixels at 96 dots per inch
    BuildSavedValues();
    BuildMenus();
    BuildBar();
    BuildButtons();
    BuildHousekeeping();
    SetVisible(true);

    // The resource's creation handler.
    controller_->OnGetSearchText = [this] { return GetSearchText(); };
    controller_->OnGotoUrl = [this](rt::TObject*) { AddSearchToHistory(); };
    OnActivate = [this](rt::TObject*) { State->ReloadIfStale(); };
    RestoreState();
}

TBandForm::~TBandForm() {
    if (eventsConnected_) DisconnectBrowserEvents();
    delete browserTools_;
    browserTools_ = nullptr;
    delete popupBlocker_;
    popupBlocker_ = nullptr;
    delete controller_;
    controller_ = nullptr;
}

namespace {

rt::TPanel* NewPanel(rt::TComponent* owner, rt::TWinControl* parent, const char* name, rt::TAlign align,
                     int size) {
    auto* panel = new rt::TPanel(owner);
    panel->SetName(name);
    panel->SetBevelOuter(rt::TBevelCut::bvNone);
    panel->SetCaption("");
    if (align == rt::TAlign::alTop) panel->SetHeight(size);
    else if (align == rt::TAlign::alLeft) panel->SetWidth(size);
    panel->SetParent(parent);
    panel->SetAlign(align);
    return panel;
}

}  // namespace

void TBandForm::BuildBar() {
    Panel2 = NewPanel(this, this, "Panel2", rt::TAlign::alTop, 1);
    Panel1 = NewPanel(this, this, "Panel1", rt::TAlign::alTop, kButtonHeight);
    barMain = NewPanel(this, Panel1, "barMain", rt::TAlign::alLeft, 137);

    btnMain = new TAMFlatButton(this);
    btnMain->SetName("btnMain");
    btnMain->SetBounds(0, 0, 101, kButtonHeight);
    btnMain->SetColor(0xFFFFFF);
    btnMain->SetColorBorder(0x000000);
    btnMain->SetColorHighLight(0xFF0000);
    btnMain->SetColorShadow(0xFF0000);
    btnMain->SetDropDownMenu(mnuMain);
    btnMain->SetGlyphResource("BTNMAIN");
    btnMain->SetParent(barMain);
    btnMain->SetAlign(rt::TAlign::alLeft);

    btnWhatsNew = new TAMFlatButton(this);
    btnWhatsNew->SetName("btnWhatsNew");
    btnWhatsNew->SetBounds(101, 0, 35, kButtonHeight);
    btnWhatsNew->SetGlyphResource("BTNWHATSNEW");
    btnWhatsNew->SetVisible(false);
    btnWhatsNew->OnClick = [this](rt::TObject*) { ShowWhatsNew(); };
    btnWhatsNew->SetParent(barMain);
    btnWhatsNew->SetAlign(rt::TAlign::alLeft);

    barPlugins = NewPanel(this, Panel1, "barPlugins", rt::TAlign::alClient, 0);
    barPlugins->OnClick = [this](rt::TObject*) { ButtonPanelClick(); };

    SearchPanel = new TAMSizePanel(this);
    SearchPanel->SetName("SearchPanel");
    SearchPanel->SetBevelOuter(rt::TBevelCut::bvNone);
    SearchPanel->SetWidth(132);
    SearchPanel->SetSizeBarWidth(7);
    SearchPanel->SetSizeBarStyle(TSizeBarStyle::sbsBump);
    SearchPanel->SetHotSpotHighlight(12615808);
    SearchPanel->SetLiveSizing(true);
    SearchPanel->SetMinWidth(100);
    SearchPanel->OnResized = [this](rt::TObject*) { SaveState(); };
    SearchPanel->SetParent(barPlugins);
    SearchPanel->SetAlign(rt::TAlign::alLeft);

    Bevel3 = new rt::TBevel(this);
    Bevel3->SetName("Bevel3");
    Bevel3->SetShape(rt::TBevelShape::bsSpacer);
    Bevel3->SetWidth(2);
    Bevel3->SetParent(SearchPanel);
    Bevel3->SetAlign(rt::TAlign::alLeft);

    edtSearch = new TAMFlatComboBox(this);
    edtSearch->SetName("edtSearch");
    edtSearch->SetDropDownCount(15);
    edtSearch->SetMaxLength(100);
    edtSearch->SetPopupMenu(mnuSearch);
    edtSearch->OnKeyDown = [this](rt::TObject*, unsigned short& key, rt::TShiftState) { SearchBoxKeyDown(key); };
    edtSearch->OnCloseUp = [this](rt::TObject*) { SearchBoxCloseUp(); };
    edtSearch->SetParent(SearchPanel);
    edtSearch->SetAlign(rt::TAlign::alClient);

    ButtonPanel = NewPanel(this, barPlugins, "ButtonPanel", rt::TAlign::alClient, 0);
    ButtonPanel->SetPopupMenu(mnuSearch);
    ButtonPanel->OnClick = [this](rt::TObject*) { ButtonPanelClick(); };
}

TAMFlatButton* TBandForm::AddButton(const char* name, int width, const char* caption, const char* category) {
    auto* button = new TAMFlatButton(this);
    button->SetName(name);
    button->SetCaption(caption);
    button->SetCategory(category);
    button->SetBounds(0, 0, width, kButtonHeight);
    button->SetVisible(false);
    button->SetGlyphResource(rt::UpperCase(name));
    button->SetParent(ButtonPanel);
    button->SetAlign(rt::TAlign::alLeft);
    if (*category) {
        button->OnMenuItemClick = [this](TAMFlatButton*, const std::string&, const std::string& url,
                                         const std::string&, const std::string& id) {
            SearchButtonMenuItemClick(url, id);
        };
        button->OnAddItemToMRU = [this](TAMFlatButton*, const std::string&, const std::string&) { SaveState(); };
    }
    return button;
}

void TBandForm::BuildButtons() {
    btnSearchTheWeb = AddButton("btnSearchTheWeb", 68, "", "");
    btnSearchTheWeb->OnClick = [this](rt::TObject*) { SearchTheWebClick(); };
    btnGoogle = AddButton("btnGoogle", 58, "", "google");
    btnAmazon = AddButton("btnAmazon", 56, "", "amazon");
    btnEbay = AddButton("btnEbay", 44, "", "ebay");
    btnEbayCa = AddButton("btnEbayCa", 54, "", "ebay.ca");
    btneBaycouk = AddButton("btneBaycouk", 74, "", "ebay.co.uk");
    btnOthers = AddButton("btnOthers", 54, "Others", "others");

    btnUp = AddButton("btnUp", 44, "Up", "");
    btnUp->OnMenuItemClick = [this](TAMFlatButton*, const std::string&, const std::string& url, const std::string&,
                                    const std::string& id) { SearchButtonMenuItemClick(url, id); };
    btnUp->OnAssignXml = [this](TAMFlatButton*, std::string& xml) { Controller().AssignUpUrlsAsXml(xml); };

    btnHighlight = AddButton("btnHighlight", 71, "Highlight", "");
    btnHighlight->SetGroupIndex(2);
    btnHighlight->SetAllowAllUp(true);
    btnHighlight->OnClick = [this](rt::TObject*) { HighlightClick(); };

    btnTools = AddButton("btnTools", 60, "Tools", "Tools");
    btnTools->SetNumGlyphs(2);
    btnOptions = AddButton("btnOptions", 62, "Options", "");
    btnOptions->OnClick = [this](rt::TObject*) { ShowPreferences(); };
    btnPopupBlocker = AddButton("btnPopupBlocker", 25, "", "");
    btnPopupBlocker->SetDropDownMenu(mnuBlockPopups);
}

void TBandForm::BuildSavedValues() {
    State = new foundation::TAMState(this);
    State->SetName("State");
    State->StoredProps().SetStrings(
        {"edtSearch.Items", "btnGoogle.MRUItems", "btnOthers.MRUItems", "btnEbay.MRUItems", "btnAmazon.MRUItems",
         "SearchPanel.Width", "AMToolbarOptions.Items", "MRUItemCount.Value", "AutoSearchOnMRUSelect.Value",
         "StateVersion.Value", "UpdateFrequency.Value", "PlaySoundWhenBlockingPopup.Value",
         "ShowBlockedCursorWhenBlockingPopup.Value", "BlockingPopups.Value"});
    State->SetActive(true);
    State->OnRestorePlacement = [this](rt::TObject*) { ApplyRestoredState(); };

    auto value = [this](const char* name, const char* initial) {
        auto* v = new foundation::TAMSaveValue(this);
        v->SetName(name);
        v->SetValue(initial);
        return v;
    };
    MRUItemCount = value("MRUItemCount", "10");
    AutoSearchOnMRUSelect = value("AutoSearchOnMRUSelect", "True");
    StateVersion = value("StateVersion", "1");
    UpdateFrequency = value("UpdateFrequency", "1");
    PlaySoundWhenBlockingPopup = value("PlaySoundWhenBlockingPopup", "");
    ShowBlockedCursorWhenBlockingPopup = value("ShowBlockedCursorWhenBlockingPopup", "");
    BlockingPopups = value("BlockingPopups", "");

    auto holder = [this](const char* name, std::initializer_list<std::string> items) {
        auto* h = new foundation::TAMStringsHolder(this);
        h->SetName(name);
        h->Items().SetStrings(items);
        return h;
    };
    const std::string ebay = "Search eBay, by title, category, bidder, etc! ";
    auto ebayOf = [&ebay](const std::string& site) {
        std::string text = ebay;
        foundation::ReplaceAllText(text, "eBay", site);
        return text;
    };
    AMToolbarAllOptions = holder("AMToolbarAllOptions", {"Google", "Amazon", "eBay", "eBay.ca", "eBay.co.uk", "Others",
                                                         "Up", "Highlight", "Tools", "Options", "PopupBlocker",
                                                         "SearchTheWeb"});
    AMToolbarAllOptionsDesc = holder(
        "AMToolbarAllOptionsDesc",
        {"Like the Google toolbar, but in a single button", "Search all of Amazon, or search Amazon by category", ebay,
         ebayOf("eBay.ca"), ebayOf("eBay.co.uk"),
         "Over 70 popular searches in a single button. Includes Google, Amazon, and eBay searches as well",
         "Quickly navigate to different places in the current website",
         "Use this tool to highlight the words you searched for in the current page ",
         "Power Tools like Source QuickViewer and Disable Images", "Displays the Preferences dialog for Zephyra",
         "Use this tool to quickly enable or disable the popup blocker",
         "Search the web using Zephyra's search engine!"});
    AMToolbarOptions = holder("AMToolbarOptions", {});
    AMOptions = holder("AMOptions",
                       {"AMToolbarOptions.Items,lstSelected.Items", "MRUItemCount.Value,cboMRUCount.selectedItem",
                        "AutoSearchOnMRUSelect.AsBoolean,chkAutoSearch.CheckedNoEvent",
                        "UpdateFrequency.Value,cboUpdateFrequency.selectedValue",
                        "BlockingPopups.AsBoolean,chkBlockingPopups.CheckedNoEvent",
                        "PlaySoundWhenBlockingPopup.AsBoolean,chkPlaySoundWhenBlockingPopup.CheckedNoEvent",
                        "ShowBlockedCursorWhenBlockingPopup.AsBoolean,"
                        "chkShowBlockedCursorWhenBlockingPopup.CheckedNoEvent"});

    BrowserEvents = new TDWebBrowserEvents2(this);
    BrowserEvents->SetName("BrowserEvents");
    BrowserEvents->NavigateComplete2 = [](rt::TObject*, const TDispatch&, rt::Variant&) {};
    BrowserEvents->DocumentComplete = [this](rt::TObject*, const TDispatch& frame, rt::Variant&) { PageLoaded(frame); };
}

// ------------------------------------------------------------ the band's calls

void TBandForm::SetBrowser(std::shared_ptr<platform::IBrowser> browser) {
    controller_->SetIE(std::move(browser));
    ConnectBrowserEvents();
}

void TBandForm::RestoreState() { State->Reload(); }

namespace {

// The form's active control as the key pass-through sees it.
class TActiveControl final : public IFocusedControl {
public:
    explicit TActiveControl(rt::TWinControl* control) : control_(control) {}
    TKind ControlKind() const override {
        if (dynamic_cast<rt::TComboBox*>(control_)) return TKind::ComboBox;
        if (dynamic_cast<rt::TListBox*>(control_)) return TKind::ListBox;
        if (dynamic_cast<rt::TRichEdit*>(control_)) return TKind::EditBox;
        return TKind::Other;
    }
    void TranslateAndDispatch(const TMsg& msg) override {
        platform::Windows().DispatchMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }

private:
    rt::TWinControl* control_;
};

}  // namespace

int TBandForm::FilterAccelerator(const TMsg& msg) {
    TActiveControl active(ActiveControl());
    return controller_->TranslateAcceleratorIO(msg, &active);
}

// ------------------------------------------------------------ layout and state

void TBandForm::ApplyRestoredState() {
    ApplyToolbarOptions();
    ApplyMRUItemCount();
    for (TAMFlatButton* button : {btnGoogle, btnAmazon, btnOthers, btnTools}) button->MenuDirty = true;
    edtSearch->SetText(SharedSearchText());
    UpdatePopupBlockerGlyph();
    UpdateWhatsNewButton();
}

TAMFlatButton* TBandForm::FindToolbarButton(const std::string& name) {
    std::string bare = name;
    foundation::ReplaceAllText(bare, ".", "");
    return dynamic_cast<TAMFlatButton*>(FindComponent("btn" + bare));
}

void TBandForm::ApplyToolbarOptions() {
    try {
        for (int i = 0; i < AMToolbarAllOptions->Items().Count(); ++i)
            if (TAMFlatButton* button = FindToolbarButton(AMToolbarAllOptions->Items()[i])) button->SetVisible(false);
        for (int i = 0; i < AMToolbarOptions->Items().Count(); ++i) {
            TAMFlatButton* button = FindToolbarButton(AMToolbarOptions->Items()[i]);
            if (!button) continue;
            // Out of the alignment, far right, then back in: it lands right of
            // the buttons shown so far.
            button->SetAlign(rt::TAlign::alNone);
            button->SetLeft(3000);
            button->SetAlign(rt::TAlign::alLeft);
            button->SetVisible(true);
        }
    } catch (const std::exception&) {
    }
}

void TBandForm::ApplyMRUItemCount() {
    try {
        MaxMRUItems = foundation::DigitsToIntDef(MRUItemCount->Value(), MaxMRUItems.load());
    } catch (const std::exception&) {
    }
}

void TBandForm::SaveState() {
    State->Save();
    SetSharedSearchText(edtSearch->Text());
}

// ------------------------------------------------------------ search

std::string TBandForm::GetSearchText() {
    const int index = edtSearch->ItemIndex();
    if (index >= 0 && index < edtSearch->Items().Count()) edtSearch->SetText(edtSearch->Items()[index]);
    return edtSearch->Text();
}

void TBandForm::SearchWeb() {
    controller_->GotoUrl(std::string("http://") + WebSearchHost + "/search?q=%%SEARCH%%");
}

void TBandForm::SearchTheWebClick() {
    controller_->GotoUrl(std::string("http://") + MetaSearchHost +
                         "/searchresultsSBS.asp?AffID=zephyra&IsBlank=False&keyword=%%SEARCH%%&PageTheme=bluedesign");
}

void TBandForm::SearchBoxKeyDown(unsigned short& key) {
    if (key != rt::vk::Return) return;
    key = 0;
    // Enter searches for the entry the list shows; the list must not stay over the page.
    edtSearch->CloseList();
    SearchWeb();
}

void TBandForm::SearchBoxCloseUp() {
    // Only a chosen entry searches; a cancelled list leaves the page alone.
    if (edtSearch->ClosedOnPick() && controller_->SearchTextHasChanged() && AutoSearchOnMRUSelect->AsBoolean())
        SearchWeb();
}

void TBandForm::SearchButtonMenuItemClick(const std::string& url, const std::string& id) {
    if (RunToolCommand(id)) return;
    controller_->GotoUrl(url);
}

void TBandForm::AddSearchToHistory() {
    const std::string text = GetSearchText();
    if (text.empty()) return;
    // Another window may have saved since this one last loaded: take its
    // history first, under the file's lock, so that neither loses an entry.
    std::unique_ptr<foundation::ScopedIniLock> lock;
    try {
        const std::string file = State->StorageFileName();
        if (!file.empty()) lock = std::make_unique<foundation::ScopedIniLock>(file);
    } catch (const std::exception&) {
    }
    if (State->ReloadIfStale()) edtSearch->SetText(text);
    rt::TStringList& history = edtSearch->Items();
    const int existing = history.IndexOf(text);
    if (existing >= 0) history.Delete(existing);
    history.Insert(0, text);
    edtSearch->SetItemIndex(0);
    SaveState();
}

void TBandForm::ManageSearchHistory() {
    rt::TStringList& history = edtSearch->Items();
    if (EditItemList("Manage Search History", history, 0, "History List", false) && history.Count() > 0 &&
        !rt::SameText(history[0], edtSearch->Text()))
        edtSearch->SetText(history[0]);
    SaveState();
}

void TBandForm::ClearSearchHistory() {
    foundation::ConfirmOrAbort("Are you sure you want to clear the search history ?");
    edtSearch->Items().Clear();
    edtSearch->SetText("");
    SaveState();
}

void TBandForm::ShowPreferences() {
    bool changedBrowserSettings = false;
    const bool confirmed = ExecutePreferences(
        AMToolbarAllOptions->Items(), &AMToolbarAllOptionsDesc->Items(), this, changedBrowserSettings,
        &AMOptions->Items(), [this](rt::TObject*) { ApplyToolbarOptions(); }, controller_,
        [this] { ManageSearchHistory(); }, [this] { ClearSearchHistory(); });
    if (!confirmed) {
        RestoreState();
        return;
    }
    ApplyMRUItemCount();
    for (TAMFlatButton* button : {btnGoogle, btnAmazon, btnEbay, btnOthers, btnTools}) button->TrimMRU();
    SaveState();
    UpdatePopupBlockerGlyph();
    if (changedBrowserSettings) foundation::BroadcastSettingChange();
}

// ------------------------------------------------------------ browser events

void TBandForm::ConnectBrowserEvents() {
    TBrowserEventSourceProvider provider;
    {
        std::lock_guard<std::mutex> lock(processMutex);
        provider = eventSourceProvider;
    }
    // A band site that gives no browser would keep this loop going for ever:
    // after a bounded number of tries it waits for the next SetBrowser.
    for (int attempt = 0; attempt < MaxConnectAttempts; ++attempt) {
        platform::Windows().ProcessMessages();
        bool connected = false;
        try {
            std::shared_ptr<IEventSource> source = provider && controller_->IE() ? provider(controller_->IE()) : nullptr;
            if (source) {
                BrowserEvents->Connect(std::move(source));
                connected = true;
            }
        } catch (const std::exception&) {
        }
        platform::Clock().Sleep(100);
        if (connected) {
            eventsConnected_ = true;
            return;
        }
    }
}

void TBandForm::DisconnectBrowserEvents() {
    eventsConnected_ = false;
    BrowserEvents->Disconnect();
}

}  // namespace toolbar
