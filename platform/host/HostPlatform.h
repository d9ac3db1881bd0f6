#pragma once
// The host stand-ins of every platform service, for Linux and the tests.
// A HostPlatform works in a folder of its own: Windows paths map onto it
// ("c:\x\y.ini" becomes <root>/c/x/y.ini, every "\" a "/").
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace platform::host {

// Windows path -> path on this machine.
using PathMapper = std::function<std::string(const std::string&)>;

class HostFileSystem : public IFileSystem {
public:
    // Drive letters map to `root`/<letter in lower case>; other paths keep
    // their place with "\" turned into "/". An empty root maps only the separators.
    explicit HostFileSystem(std::string root);
    std::string NativePath(const std::string& path) const;
    PathMapper Mapper() const;

    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool DeleteFile(const std::string& path) override;
    bool CopyFile(const std::string& source, const std::string& target, bool failIfExists) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool IsReadOnly(const std::string& path) override;
    bool SetReadOnly(const std::string& path, bool readOnly) override;

private:
    std::string root_;
};

// Our own profile-file engine with the semantics of the Windows one.
class HostProfileFiles : public IProfileFiles {
public:
    explicit HostProfileFiles(PathMapper mapper);

    std::string ReadString(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    std::vector<std::string> ReadKeys(const std::string& file, const std::string& section) override;
    std::vector<std::string> ReadSectionNames(const std::string& file) override;
    std::vector<std::string> ReadSectionLines(const std::string& file, const std::string& section) override;
    bool WriteString(const std::string& file, const std::string& section,
                     const std::string& key, const std::string& value) override;
    bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override;
    bool EraseSection(const std::string& file, const std::string& section) override;
    bool WriteSectionLines(const std::string& file, const std::string& section,
                           const std::vector<std::string>& lines) override;
    void Flush(const std::string& file) override;

private:
    PathMapper mapper_;
};

// Cross-process file locks (flock on a lock file kept outside the settings folder).
class HostFileLocks : public IFileLocks {
public:
    explicit HostFileLocks(PathMapper mapper);
    std::unique_ptr<IFileLockHold> Lock(const std::string& file) override;

private:
    PathMapper mapper_;
};

// An in-memory registry; names match ignoring case.
class HostRegistry : public IRegistry {
public:
    HostRegistry();
    ~HostRegistry() override;
    bool KeyExists(RegRoot root, const std::string& path) override;
    bool CreateKey(RegRoot root, const std::string& path) override;
    bool DeleteKey(RegRoot root, const std::string& path) override;
    std::optional<RegValue> ReadValue(RegRoot root, const std::string& path, const std::string& name) override;
    bool WriteValue(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) override;
    bool DeleteValue(RegRoot root, const std::string& path, const std::string& name) override;
    std::vector<std::string> SubKeyNames(RegRoot root, const std::string& path) override;
    std::vector<std::string> ValueNames(RegRoot root, const std::string& path) override;
    // Makes every later write fail (a key the user may not change).
    void SetReadOnly(bool readOnly);

private:
    struct Key;
    Key* Find(RegRoot root, const std::string& path, bool create);
    std::mutex mutex_;
    std::map<RegRoot, std::unique_ptr<Key>> roots_;
    bool readOnly_ = false;
};

class HostModule : public IModule {
public:
    std::string FileName() override;
    std::optional<FileVersion> VersionOf(const std::string& fileName) override;
    std::string HostExecutable() override;

    void SetFileName(std::string fileName);
    // The version of a file; an empty name sets the module's own.
    void SetVersion(const std::string& fileName, FileVersion version);
    void SetHostExecutable(std::string path);
    // Makes HostExecutable raise (as when the path cannot be taken).
    void SetHostExecutableFails(bool fails);

private:
    std::mutex mutex_;
    std::string fileName_ = "c:\\Program Files\\Zephyra\\Solvane.dll";
    std::string hostExecutable_ = "C:\\Program Files\\Internet Explorer\\iexplore.exe";
    bool hostFails_ = false;
    std::map<std::string, FileVersion> versions_;  // keys in lower case
};

class HostShell : public IShell {
public:
    struct Start {
        bool viaExec = false;      // WinExec rather than ShellExecute "open"
        std::string file;          // the file, or the command line for WinExec
        std::string parameters;
        int showCommand = 0;
    };
    bool Open(const std::string& file, const std::string& parameters, int showCommand) override;
    bool Exec(const std::string& commandLine, int showCommand) override;

    std::vector<Start> Starts();
    void ClearStarts();
    void SetResult(bool accepted);  // what later starts return

private:
    std::mutex mutex_;
    std::vector<Start> starts_;
    bool result_ = true;
};

class HostKeyboard : public IKeyboard {
public:
    bool IsKeyDown(int virtualKey) override;
    void SetKeyDown(int virtualKey, bool down);

private:
    std::mutex mutex_;
    std::map<int, bool> down_;
};

class HostClock : public IClock {
public:
    std::uint32_t TickCount() override;
    LocalTime Now() override;
    std::string ShortDateFormat() override;
    char DateSeparator() override;
    void Sleep(std::uint32_t milliseconds) override;  // advances the tick count and the time

    void SetTickCount(std::uint32_t ticks);
    void Advance(std::uint32_t milliseconds);
    void SetNow(LocalTime now);
    void SetShortDateFormat(std::string format, char separator);

private:
    std::mutex mutex_;
    std::uint32_t ticks_ = 1000;
    LocalTime now_{2026, 12, 8, 12, 0, 0, 0};
    std::string shortDateFormat_ = "M/d/yyyy";
    char dateSeparator_ = '/';
};

class HostUser : public IUser {
public:
    std::optional<std::string> UserName() override;
    void SetUserName(std::optional<std::string> name);  // nullopt: the call fails

private:
    std::mutex mutex_;
    std::optional<std::string> name_ = std::string("tester");
};

class HostEnvironment : public IEnvironment {
public:
    std::string Expand(const std::string& text) override;  // names match ignoring case
    void Set(const std::string& name, const std::string& value);

private:
    std::mutex mutex_;
    std::map<std::string, std::string> values_;  // keys in lower case
};

class HostDialogs : public IDialogs {
public:
    struct Shown {
        bool inputBox = false;
        std::string text;     // message text, or the input box's prompt
        std::string caption;
        unsigned flags = 0;
        std::string initialValue;
    };
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;

    // Answers given in order; with none left a message box answers IdOk for
    // an OK box and IdNo otherwise, an input box is cancelled.
    void PushAnswer(int button);
    void PushInput(std::optional<std::string> typed);  // nullopt: Cancel
    std::vector<Shown> ShownDialogs();

private:
    std::mutex mutex_;
    std::vector<int> answers_;
    std::vector<std::optional<std::string>> inputs_;
    std::vector<Shown> shown_;
};

class HostWindows : public IWindows {
public:
    using Handler = std::function<std::intptr_t(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;
    struct Message {
        WindowHandle window = 0;
        unsigned message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
        bool posted = false;
        bool dispatched = false;  // through DispatchMessage
    };

    WindowHandle FindWindow(const std::string& className, const std::string& title) override;
    std::intptr_t SendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void BroadcastSettingChange(const std::string& section) override;
    void ProcessMessages() override;
    void DispatchMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void MessageBeep(unsigned kind) override;

    // A top-level window of our own; its handler answers sent messages.
    WindowHandle AddWindow(const std::string& className, const std::string& title, Handler handler = {});
    void RemoveWindow(WindowHandle window);
    std::vector<Message> Messages();
    std::vector<std::string> Broadcasts();
    int ProcessMessagesCalls();
    std::vector<unsigned> Beeps();

private:
    struct Window {
        std::string className, title;
        Handler handler;
    };
    std::mutex mutex_;
    std::map<WindowHandle, Window> windows_;
    WindowHandle next_ = 0x1000;
    std::vector<Message> messages_;
    std::vector<std::string> broadcasts_;
    int processMessagesCalls_ = 0;
    std::vector<unsigned> beeps_;
};

// System cursors kept in memory. Standard cursors are handles 0x10000 + id;
// every copy and every file loaded gets a new handle whose origin is kept.
class HostCursors : public ICursors {
public:
    explicit HostCursors(PathMapper mapper);
    CursorHandle LoadStandard(int id) override;
    CursorHandle Copy(CursorHandle cursor) override;
    CursorHandle LoadFromFile(const std::string& fileName) override;  // any existing file loads
    bool SetSystemCursor(CursorHandle cursor, int id) override;

    // The system cursor of `id` (its standard handle until something is set).
    CursorHandle Current(int id);
    // What a handle is: "standard 32512", "copy of standard 32512", "file c:\x.cur", "" if unknown.
    std::string Origin(CursorHandle cursor);
    int SetCalls();
    void SetFailing(bool failing);  // SetSystemCursor refuses every cursor

private:
    std::mutex mutex_;
    PathMapper mapper_;
    std::map<int, CursorHandle> current_;
    std::map<CursorHandle, std::string> origins_;
    CursorHandle next_ = 0x20000;
    int setCalls_ = 0;
    bool failing_ = false;
};

class HostSound : public ISound {
public:
    bool PlayModuleWave(const std::string& name) override;
    std::vector<std::string> Played();
    void SetResult(bool played);

private:
    std::mutex mutex_;
    std::vector<std::string> played_;
    bool result_ = true;
};

// Timers that tick only when the test says so.
class HostTimers : public ITimers {
public:
    TimerId Start(std::uint32_t interval, std::function<void()> tick) override;
    void Stop(TimerId timer) override;

    // The running timers and their intervals.
    std::map<TimerId, std::uint32_t> Running();
    // Runs one tick of every running timer; false when none runs.
    bool TickAll();

private:
    struct Timer {
        std::uint32_t interval = 0;
        std::function<void()> tick;
    };
    std::mutex mutex_;
    std::map<TimerId, Timer> timers_;
    TimerId next_ = 1;
};

// The clipboard's text in memory. A busy clipboard (another program holds
// it open) refuses to be set or read.
class HostClipboard : public IClipboard {
public:
    bool SetText(const std::string& text) override;
    std::optional<std::string> GetText() override;
    bool HasText() override;

    void SetBusy(bool busy);
    void Clear();            // no text, as after another program emptied it
    int SetTextCalls();

private:
    std::mutex mutex_;
    std::optional<std::string> text_;
    bool busy_ = false;
    int setCalls_ = 0;
};

// The save-file and find dialogs as a test scripts them: save answers are
// queued; the find dialog is "typed into" and its buttons "pressed".
class HostCommonDialogs : public ICommonDialogs {
public:
    HostCommonDialogs();
    std::optional<SaveFileAnswer> SaveFile(const SaveFileRequest& request) override;
    std::unique_ptr<IFindSession> OpenFind(const FindRequest& request, FindCallbacks callbacks) override;

    // The user's answers to the save dialog, in order: a file name (with the
    // filter chosen, 0 keeping the request's) or nullopt for Cancel. With
    // none left the user cancels.
    void PushSaveAnswer(std::optional<std::string> fileName, int filterIndex = 0);
    std::vector<SaveFileRequest> SaveRequests();

    // The find dialog opened last and still open: its request as shown (with
    // where it was moved to and what was typed since); nullopt when none is open.
    std::optional<FindRequest> OpenFindDialog();
    int FindDialogsOpened();
    // Makes OpenFind fail (no dialog can be opened).
    void SetFindUnavailable(bool unavailable);
    // The user types into the open find dialog, sets its boxes, presses
    // Find Next (false when no find dialog is open; with an empty find text
    // nothing happens, as the real button is disabled then) or closes it (onClose).
    void TypeFindText(const std::string& text);
    void SetFindOptions(bool down, bool matchCase, bool wholeWord);
    bool PressFindNext();
    bool CloseFindDialog();

    struct FindState;  // one open dialog
    struct Core;       // shared with the sessions

private:
    std::shared_ptr<Core> core_;
};

// The user's personal folder, created (on the mapped drive) when first asked
// for, as it exists on every Windows machine.
class HostSpecialFolders : public ISpecialFolders {
public:
    explicit HostSpecialFolders(std::shared_ptr<IFileSystem> files);
    std::optional<std::string> Personal() override;
    // nullopt: the shell cannot name the folder.
    void SetPersonal(std::optional<std::string> folder);
    std::string WindowsFolder() override;
    void SetWindowsFolder(std::string folder);

private:
    std::mutex mutex_;
    std::shared_ptr<IFileSystem> files_;
    std::optional<std::string> personal_ = std::string("c:\\Documents and Settings\\tester\\My Documents");
    std::string windows_ = "c:\\windows";  // where the line buffer of the debug viewer lives too
};

// Code pages 1252 (all of it) and 932 (Shift-JIS): 932's single bytes (ASCII,
// half-width katakana) are decoded fully and every lead byte takes its trail
// byte with it, as Windows reads them, but only the double-byte characters of
// a small table map to their own character; any other pair gives the code
// page's default character U+30FB. Other code pages are read as 1252.
class HostCodePage : public ICodePage {
public:
    std::u16string ToUtf16(const std::string& text) override;
    void SetCodePage(unsigned codePage);
    unsigned CodePageNumber();

private:
    std::mutex mutex_;
    unsigned codePage_ = 1252;
};

// Every stand-in, over one folder. Tests configure the members directly.
struct HostPlatform {
    explicit HostPlatform(const std::string& root);

    std::shared_ptr<HostFileSystem> files;
    std::shared_ptr<HostProfileFiles> profiles;
    std::shared_ptr<HostFileLocks> locks;
    std::shared_ptr<HostRegistry> registry;
    std::shared_ptr<HostModule> module;
    std::shared_ptr<HostShell> shell;
    std::shared_ptr<HostKeyboard> keyboard;
    std::shared_ptr<HostClock> clock;
    std::shared_ptr<HostUser> user;
    std::shared_ptr<HostEnvironment> environment;
    std::shared_ptr<HostDialogs> dialogs;
    std::shared_ptr<HostWindows> windows;
    std::shared_ptr<HostCursors> cursors;
    std::shared_ptr<HostSound> sound;
    std::shared_ptr<HostTimers> timers;
    std::shared_ptr<HostClipboard> clipboard;
    std::shared_ptr<HostCommonDialogs> commonDialogs;
    std::shared_ptr<HostSpecialFolders> specialFolders;
    std::shared_ptr<HostCodePage> codePage;

    ServiceSet Set() const;
};

}  // namespace platform::host
