#pragma once
// Port: the system's common dialogs that the toolbar's windows open: the
// modal save-file dialog and the non-modal find dialog.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

struct SaveFileRequest {
    std::uintptr_t owner = 0;  // HWND of the owner window; 0: none
    std::string title;         // empty: the system's "Save As"
    std::string defaultExtension;  // without the dot ("html"); added to a name typed without one
    // Pairs of description and patterns separated by "|":
    // "All Files|*.*|HTML Files|*.html;*.htm".
    std::string filter;
    int filterIndex = 1;       // 1-based, as the dialog counts
    std::string initialFolder;
    std::string fileName;      // proposed name, may include a folder
    bool overwritePrompt = false;  // asks before replacing an existing file
    bool hideReadOnly = false;     // no "open as read-only" box
    bool pathMustExist = false;    // the folder of the chosen name must exist
};

struct SaveFileAnswer {
    std::string fileName;  // full path
    int filterIndex = 1;   // the filter chosen at the end
};

struct FindRequest {
    std::uintptr_t owner = 0;
    std::string findText;
    bool down = true;
    bool matchCase = false;
    bool wholeWord = false;
    bool hideUpDown = false, hideMatchCase = false, hideWholeWord = false;
    bool disableUpDown = false, disableMatchCase = false, disableWholeWord = false;
    // Top left corner of the dialog in screen coordinates; nullopt: the system places it.
    std::optional<int> left, top;
};

// What the dialog shows when the user presses Find Next.
struct FindEvent {
    std::string findText;
    bool down = true;
    bool matchCase = false;
    bool wholeWord = false;
};

struct FindCallbacks {
    std::function<void(const FindEvent&)> onFind;  // Find Next pressed
    std::function<void()> onClose;                 // the user closed the dialog
};

// An open find dialog; the dialog closes when this goes (without onClose).
class IFindSession {
public:
    virtual ~IFindSession() = default;
    // Moves the dialog's top left corner (screen coordinates).
    virtual void MoveTo(int left, int top) = 0;
    // Brings the dialog to the front.
    virtual void Activate() = 0;
    // The dialog's window (HWND), for a message loop's IsDialogMessage; 0 on the host.
    virtual std::uintptr_t Handle() const = 0;
};

class ICommonDialogs {
public:
    virtual ~ICommonDialogs() = default;
    // Runs the save-file dialog modally; nullopt when the user cancels (or the
    // dialog cannot be shown).
    virtual std::optional<SaveFileAnswer> SaveFile(const SaveFileRequest& request) = 0;
    // Opens the find dialog and returns at once. The callbacks run on the
    // calling thread while its messages are dispatched; they may destroy the
    // session. Null when no find dialog can be opened.
    virtual std::unique_ptr<IFindSession> OpenFind(const FindRequest& request, FindCallbacks callbacks) = 0;
};

}  // namespace platform
