#pragma once
// The save-file and find dialogs as components over the platform's
// common-dialog port (the system's dialogs in the modules, scripted answers
// on the host).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/CommonDialogs.h"
#include "runtime/Controls.h"

namespace rt {

class TCommonDialog : public TComponent {
    RT_CLASS_SAME_PROPS(TCommonDialog, TComponent)
public:
    using TComponent::TComponent;

protected:
    // The window the dialog belongs to: that of the form owning this
    // component when it has one, else the application's.
    std::uintptr_t OwnerWindow() const;
};

enum class TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
    ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden
};
// A set of TOpenOption as a mask of bits by ordinal.
using TOpenOptions = std::uint32_t;
constexpr TOpenOptions OpenOption(TOpenOption option) { return 1u << static_cast<unsigned>(option); }

// The save-file dialog. Of the options, ofOverwritePrompt, ofHideReadOnly and
// ofPathMustExist reach the system's dialog; the process's current folder
// is never changed.
class TSaveDialog : public TCommonDialog {
    RT_CLASS(TSaveDialog)
public:
    using TCommonDialog::TCommonDialog;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& v) { title_ = v; }
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& v) { defaultExt_ = v; }
    // "All Files|*.*|HTML Files|*.html;*.htm": descriptions and patterns.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& v) { filter_ = v; }
    int FilterIndex() const { return filterIndex_; }  // 1-based
    void SetFilterIndex(int v) { filterIndex_ = v; }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& v) { fileName_ = v; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& v) { initialDir_ = v; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions v) { options_ = v; }

    // Runs the dialog modally: true with FileName and FilterIndex set when
    // the user chose a file, false when they cancelled.
    bool Execute();

private:
    std::string title_, defaultExt_, filter_, fileName_, initialDir_;
    int filterIndex_ = 1;
    TOpenOptions options_ = OpenOption(TOpenOption::ofHideReadOnly) | OpenOption(TOpenOption::ofEnableSizing);
};

enum class TFindOption {
    frDown, frFindNext, frHideMatchCase, frHideWholeWord, frHideUpDown, frMatchCase, frDisableMatchCase,
    frDisableUpDown, frDisableWholeWord, frReplace, frReplaceAll, frWholeWord, frShowHelp
};
using TFindOptions = std::uint32_t;
constexpr TFindOptions FindOption(TFindOption option) { return 1u << static_cast<unsigned>(option); }

// The non-modal find dialog. When the user presses Find Next, FindText and
// the options frDown, frMatchCase and frWholeWord take what the dialog
// shows, frFindNext is set and OnFind runs (an error it raises goes to
// Application().HandleException, as every event from a native window does).
class TFindDialog : public TCommonDialog {
    RT_CLASS(TFindDialog)
public:
    using TCommonDialog::TCommonDialog;
    ~TFindDialog() override;

    const std::string& FindText() const { return findText_; }
    void SetFindText(const std::string& v) { findText_ = v; }
    TFindOptions Options() const { return options_; }
    void SetOptions(TFindOptions v) { options_ = v; }
    // Top left corner on the screen; -1, -1 (the default): the system places it.
    TPoint Position() const { return position_; }
    void SetPosition(TPoint v);
    int Left() const { return position_.X; }
    void SetLeft(int v) { SetPosition(TPoint{v, position_.Y}); }
    int Top() const { return position_.Y; }
    void SetTop(int v) { SetPosition(TPoint{position_.X, v}); }

    // Opens the dialog (or brings the open one to the front) and returns at
    // once; false when no find dialog can be opened.
    bool Execute();
    // Closes the dialog (no OnClose); nothing when it is not open.
    void CloseDialog();
    bool Showing() const { return session_ != nullptr; }
    // The dialog's window, for a message loop (0 when closed or on the host).
    std::uintptr_t Handle() const { return session_ ? session_->Handle() : 0; }

    TNotifyEvent OnFind;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;  // the user closed the dialog

private:
    void Found(const platform::FindEvent& event);
    void ClosedByUser();

    std::string findText_;
    TFindOptions options_ = FindOption(TFindOption::frDown);
    TPoint position_{-1, -1};
    std::unique_ptr<platform::IFindSession> session_;
};

// The simple message box: `text` with an OK button, the application's
// title as its caption.
void ShowMessage(const std::string& text);

}  // namespace rt
