#include "runtime/Dialogs.h"

#include "platform/Services.h"
#include "runtime/Forms.h"

namespace rt {

namespace {
const std::vector<std::string> openOptionNames{
    "ofReadOnly",        "ofOverwritePrompt",  "ofHideReadOnly",     "ofNoChangeDir",        "ofShowHelp",
    "ofNoValidate",      "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",    "ofFileMustExist",
    "ofCreatePrompt",    "ofShareAware",       "ofNoReadOnlyReturn", "ofNoTestFileCreate",   "ofNoNetworkButton",
    "ofNoLongNames",     "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
    "ofDontAddToRecent", "ofForceShowHidden"};
const std::vector<std::string> findOptionNames{
    "frDown",          "frFindNext",         "frHideMatchCase", "frHideWholeWord", "frHideUpDown",
    "frMatchCase",     "frDisableMatchCase", "frDisableUpDown", "frDisableWholeWord", "frReplace",
    "frReplaceAll",    "frWholeWord",        "frShowHelp"};

template <class C, class G, class S>
TPropInfo SetProp(const char* name, const char* typeName, const std::vector<std::string>& names, G get, S set) {
    TPropInfo p = props::Set<C>(name, typeName, get, set);
    p.EnumNames = names;
    return p;
}
}  // namespace

std::uintptr_t TCommonDialog::OwnerWindow() const {
    if (auto* control = dynamic_cast<const TControl*>(Owner())) {
        const TControl* form = dynamic_cast<const TCustomForm*>(control) ? control : control->ParentForm();
        if (form)
            if (std::uintptr_t window = UiBackend().HandleOf(*form)) return window;
    }
    return Application().Handle;
}

// ------------------------------------------------------------ TSaveDialog

const TPropList& TSaveDialog::ClassProperties() {
    static const TPropList list(
        TCommonDialog::ClassProperties(),
        {
            props::String<TSaveDialog>("Title", &TSaveDialog::Title, &TSaveDialog::SetTitle),
            props::String<TSaveDialog>("DefaultExt", &TSaveDialog::DefaultExt, &TSaveDialog::SetDefaultExt),
            props::String<TSaveDialog>("Filter", &TSaveDialog::Filter, &TSaveDialog::SetFilter),
            props::Integer<TSaveDialog>("FilterIndex", &TSaveDialog::FilterIndex, &TSaveDialog::SetFilterIndex),
            props::String<TSaveDialog>("FileName", &TSaveDialog::FileName, &TSaveDialog::SetFileName),
            props::String<TSaveDialog>("InitialDir", &TSaveDialog::InitialDir, &TSaveDialog::SetInitialDir),
            SetProp<TSaveDialog>("Options", "TOpenOptions", openOptionNames, &TSaveDialog::Options,
                                 &TSaveDialog::SetOptions),
        });
    return list;
}

bool TSaveDialog::Execute() {
    platform::SaveFileRequest request;
    request.owner = OwnerWindow();
    request.title = title_;
    request.defaultExtension = defaultExt_;
    request.filter = filter_;
    request.filterIndex = filterIndex_;
    request.initialFolder = initialDir_;
    request.fileName = fileName_;
    request.overwritePrompt = (options_ & OpenOption(TOpenOption::ofOverwritePrompt)) != 0;
    request.hideReadOnly = (options_ & OpenOption(TOpenOption::ofHideReadOnly)) != 0;
    request.pathMustExist = (options_ & OpenOption(TOpenOption::ofPathMustExist)) != 0;
    const std::optional<platform::SaveFileAnswer> answer = platform::CommonDialogs().SaveFile(request);
    if (!answer) return false;
    fileName_ = answer->fileName;
    filterIndex_ = answer->filterIndex;
    return true;
}

// ------------------------------------------------------------ TFindDialog

const TPropList& TFindDialog::ClassProperties() {
    static const TPropList list(
        TCommonDialog::ClassProperties(),
        {
            props::String<TFindDialog>("FindText", &TFindDialog::FindText, &TFindDialog::SetFindText),
            SetProp<TFindDialog>("Options", "TFindOptions", findOptionNames, &TFindDialog::Options,
                                 &TFindDialog::SetOptions),
            props::Integer<TFindDialog>("Left", &TFindDialog::Left, &TFindDialog::SetLeft),
            props::Integer<TFindDialog>("Top", &TFindDialog::Top, &TFindDialog::SetTop),
            props::Method("OnFind"),
            props::Method("OnShow"),
            props::Method("OnClose"),
        });
    return list;
}

TFindDialog::~TFindDialog() {
    OnFind = nullptr;
    OnClose = nullptr;
    session_.reset();
}

void TFindDialog::SetPosition(TPoint v) {
    position_ = v;
    if (session_ && v.X >= 0 && v.Y >= 0) session_->MoveTo(v.X, v.Y);
}

bool TFindDialog::Execute() {
    if (session_) {
        session_->Activate();
        return true;
    }
    const auto has = [this](TFindOption option) { return (options_ & FindOption(option)) != 0; };
    platform::FindRequest request;
    request.owner = OwnerWindow();
    request.findText = findText_;
    request.down = has(TFindOption::frDown);
    request.matchCase = has(TFindOption::frMatchCase);
    request.wholeWord = has(TFindOption::frWholeWord);
    request.hideUpDown = has(TFindOption::frHideUpDown);
    request.hideMatchCase = has(TFindOption::frHideMatchCase);
    request.hideWholeWord = has(TFindOption::frHideWholeWord);
    request.disableUpDown = has(TFindOption::frDisableUpDown);
    request.disableMatchCase = has(TFindOption::frDisableMatchCase);
    request.disableWholeWord = has(TFindOption::frDisableWholeWord);
    if (position_.X >= 0 && position_.Y >= 0) {
        request.left = position_.X;
        request.top = position_.Y;
    }
    platform::FindCallbacks callbacks;
    callbacks.onFind = [this](const platform::FindEvent& event) { Found(event); };
    callbacks.onClose = [this] { ClosedByUser(); };
    session_ = platform::CommonDialogs().OpenFind(request, std::move(callbacks));
    if (!session_) return false;
    if (OnShow) OnShow(this);
    return true;
}

void TFindDialog::CloseDialog() { session_.reset(); }

void TFindDialog::Found(const platform::FindEvent& event) {
    findText_ = event.findText;
    const auto put = [this](TFindOption option, bool on) {
        if (on) options_ |= FindOption(option);
        else options_ &= ~FindOption(option);
    };
    put(TFindOption::frDown, event.down);
    put(TFindOption::frMatchCase, event.matchCase);
    put(TFindOption::frWholeWord, event.wholeWord);
    put(TFindOption::frFindNext, true);
    try {
        if (OnFind) OnFind(this);
    } catch (const std::exception& error) {
        Application().HandleException(error);
    }
}

void TFindDialog::ClosedByUser() {
    // The dialog is gone; the session may be dropped here (its callback has
    // taken what it needs).
    session_.reset();
    try {
        if (OnClose) OnClose(this);
    } catch (const std::exception& error) {
        Application().HandleException(error);
    }
}

void ShowMessage(const std::string& text) {
    platform::Dialogs().MessageBox(text, Application().Title, platform::mb::Ok);
}

}  // namespace rt
