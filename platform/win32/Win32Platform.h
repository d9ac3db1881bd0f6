#pragma once
// The Win32 implementations of the platform ports. Every string is 8-bit
// ANSI (the "A" functions). This header stays free of <windows.h> so code
// outside the Windows folders can build the service set.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace platform::win32 {

class Win32ProfileFiles : public IProfileFiles {
public:
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
};

// A named mutex per settings file, shared by every process of the session.
class Win32FileLocks : public IFileLocks {
public:
    // How long Lock waits before going on unlocked.
    explicit Win32FileLocks(unsigned timeoutMilliseconds = 10000);
    // Holds must be released on the thread that took them (mutex ownership is per thread).
    std::unique_ptr<IFileLockHold> Lock(const std::string& file) override;

    // The kernel object name used for `file` (exposed for the tests).
    static std::string MutexName(const std::string& file);

private:
    unsigned timeout_;
};

class Win32Registry : public IRegistry {
public:
    bool KeyExists(RegRoot root, const std::string& path) override;
    bool CreateKey(RegRoot root, const std::string& path) override;
    bool DeleteKey(RegRoot root, const std::string& path) override;
    std::optional<RegValue> ReadValue(RegRoot root, const std::string& path, const std::string& name) override;
    bool WriteValue(RegRoot root, const std::string& path, const std::string& name, const RegValue& value) override;
    bool DeleteValue(RegRoot root, const std::string& path, const std::string& name) override;
    std::vector<std::string> SubKeyNames(RegRoot root, const std::string& path) override;
    std::vector<std::string> ValueNames(RegRoot root, const std::string& path) override;
};

class Win32FileSystem : public IFileSystem {
public:
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool CreateDirectory(const std::string& path) override;
    bool DeleteFile(const std::string& path) override;
    bool CopyFile(const std::string& source, const std::string& target, bool failIfExists) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool IsReadOnly(const std::string& path) override;
    bool SetReadOnly(const std::string& path, bool readOnly) override;
};

class Win32Module : public IModule {
public:
    // The module (DLL or program) this code was linked into.
    std::string FileName() override;
    std::optional<FileVersion> VersionOf(const std::string& fileName) override;
    // Throws std::runtime_error when the system cannot name the executable.
    std::string HostExecutable() override;
};

class Win32Shell : public IShell {
public:
    bool Open(const std::string& file, const std::string& parameters, int showCommand) override;
    bool Exec(const std::string& commandLine, int showCommand) override;
};

class Win32Keyboard : public IKeyboard {
public:
    bool IsKeyDown(int virtualKey) override;
};

class Win32Clock : public IClock {
public:
    std::uint32_t TickCount() override;
    LocalTime Now() override;
    std::string ShortDateFormat() override;
    char DateSeparator() override;
    void Sleep(std::uint32_t milliseconds) override;

    // A Windows short-date picture in the runtime's notation (exposed for the tests).
    static std::string ConvertDatePicture(const std::string& picture);
};

class Win32User : public IUser {
public:
    std::optional<std::string> UserName() override;
};

class Win32Environment : public IEnvironment {
public:
    std::string Expand(const std::string& text) override;
};

class Win32Dialogs : public IDialogs {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;

    // Control ids of the input box (for the tests that drive it).
    static constexpr int kPromptId = 100;
    static constexpr int kEditId = 101;
};

class Win32Windows : public IWindows {
public:
    WindowHandle FindWindow(const std::string& className, const std::string& title) override;
    std::intptr_t SendMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool PostMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void BroadcastSettingChange(const std::string& section) override;
    void ProcessMessages() override;
    void DispatchMessage(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void MessageBeep(unsigned kind) override;
};

class Win32Cursors : public ICursors {
public:
    CursorHandle LoadStandard(int id) override;
    CursorHandle Copy(CursorHandle cursor) override;
    CursorHandle LoadFromFile(const std::string& fileName) override;
    bool SetSystemCursor(CursorHandle cursor, int id) override;
};

// Wave resources of the module this code is linked into.
class Win32Sound : public ISound {
public:
    bool PlayModuleWave(const std::string& name) override;
};

// SetTimer on a hidden message window, made on first use (never under the
// loader lock) by the thread that first starts a timer; its ticks run there.
// Timers started or stopped from another thread are handed to that thread.
class Win32Timers : public ITimers {
public:
    // The module's one instance (its window serves every caller).
    static std::shared_ptr<Win32Timers> Shared();
    Win32Timers();
    ~Win32Timers() override;
    TimerId Start(std::uint32_t interval, std::function<void()> tick) override;
    void Stop(TimerId timer) override;

    struct State;  // the window and the callbacks, shared with the window procedure

private:
    std::shared_ptr<State> state_;
};

// CF_TEXT through a hidden window of our own that owns what we put there.
// Opening the clipboard is retried a bounded number of times while another
// program holds it.
class Win32Clipboard : public IClipboard {
public:
    explicit Win32Clipboard(unsigned attempts = 10, unsigned pauseMilliseconds = 10);
    bool SetText(const std::string& text) override;
    std::optional<std::string> GetText() override;
    bool HasText() override;

private:
    unsigned attempts_;
    unsigned pause_;
};

// GetSaveFileNameA, and FindTextA with an owner window of its own that
// receives the dialog's registered message. Never changes the process's
// current folder (the browser's).
class Win32CommonDialogs : public ICommonDialogs {
public:
    std::optional<SaveFileAnswer> SaveFile(const SaveFileRequest& request) override;
    std::unique_ptr<IFindSession> OpenFind(const FindRequest& request, FindCallbacks callbacks) override;

    // "A|b|C|d" as the dialog wants it: "A\0b\0C\0d\0\0" (exposed for the tests).
    static std::string FilterForDialog(const std::string& filter);
};

// MultiByteToWideChar from the ANSI code page, or from a given one.
class Win32CodePage : public ICodePage {
public:
    explicit Win32CodePage(unsigned codePage = 0 /* CP_ACP */) : codePage_(codePage) {}
    std::u16string ToUtf16(const std::string& text) override;

private:
    unsigned codePage_;  // what MultiByteToWideChar is given
};

// SHGetFolderPathA, GetWindowsDirectoryA.
class Win32SpecialFolders : public ISpecialFolders {
public:
    std::optional<std::string> Personal() override;
    std::string WindowsFolder() override;
};

}  // namespace platform::win32
