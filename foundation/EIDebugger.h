#pragma once
// The debug watcher: in debug mode every trace line goes to the viewer
// program through a line buffer (a profile file in the Windows folder) and a
// synchronous message to the viewer's window, found before every message.
#include <memory>
#include <mutex>

#include "foundation/EIDebugger_Abstract.h"

namespace foundation {

// The channel to the viewer.
inline constexpr const char* ViewerWindowClass = "TEIBugWatcherForm";
inline constexpr const char* ViewerProgram = "EIDEBUG.EXE";
inline constexpr const char* LineBufferFile = "EIDEBUG.INI";  // no folder: the Windows folder
inline constexpr const char* LineBufferSection = "Data";
inline constexpr const char* LineBufferKey = "Line1";

// Notifications: the user-message base plus the offset.
namespace viewer {
constexpr unsigned UserBase = 1024;
constexpr unsigned Notify1 = UserBase + 1, NewLine = UserBase + 2, BeginGroup = UserBase + 3,
                   EndGroup = UserBase + 4, Notify5 = UserBase + 5, Notify6 = UserBase + 6,
                   Notify7 = UserBase + 7, Status = UserBase + 8, Notify9 = UserBase + 9,
                   Notify10 = UserBase + 10, ErrorLine = UserBase + 11;
constexpr int StatusStarted = 1;
constexpr int StatusUnloading = 6;
}  // namespace viewer

class TEIBugWatcher : public TEIBugWatcherAbstract {
    RT_CLASS_SAME_PROPS(TEIBugWatcher, TEIBugWatcherAbstract)
public:
    bool Active() const { return active_; }

    std::string IndentText(int count) override;
    void WriteLine(const std::string& text) override;
    void LogError(const std::string& text) override;
    void Check(bool condition, const std::string& text) override;
    void LogMessage(const std::string& name, const rt::TMessage& message) override;
    void LogTickFmt(const std::string& format, const rt::FormatArgs& args) override;
    void LogTick(const std::string& text) override;
    void LogFmt(const std::string& format, const rt::FormatArgs& args) override;
    void TraceFmt(const std::string& format, const rt::FormatArgs& args) override;
    void LogStrings(const rt::TStringList& list) override;
    void LogObjectList(const std::string& title, const std::vector<rt::TObject*>* list) override;
    void LogIndexedList(const std::string& title) override;
    void LogClass(const std::string& title, const std::string& className) override;
    void LogClassByName(const std::string& title, const std::string& className) override;
    void LogFlag(const std::string& name, bool value) override;
    void LogRect(const std::string& name, const rt::TRect& rect) override;
    void LogValue(const std::string& name, int value) override;
    void LogChoice(bool condition, const std::string& ifTrue, const std::string& ifFalse) override;
    void LogException(const std::string& note, const std::exception* error) override;
    void LogListGroup(const std::string& title) override;
    void LogStream(const std::string& title, rt::TStream& stream) override;
    void BeginGroup(const std::string& title) override;
    void BeginGroupFmt(const std::string& format, const rt::FormatArgs& args) override;
    void EndGroup() override;
    bool NotifyViewer9() override;
    std::string ChooseText(bool condition, const std::string& ifTrue, const std::string& ifFalse) override;
    void StartTimer() override;
    void LogElapsed(const std::string& name) override;
    void LogErrorLine(const std::string& text) override;
    void LogErrorLineFmt(const std::string& format, const rt::FormatArgs& args) override;
    void Beep(unsigned kind) override;
    void Start() override;
    void Log(const std::string& text) override;
    void LogEmptyLine() override;
    void NotifyViewer1() override;
    void NotifyViewer5() override;
    void NotifyViewer6() override;
    void SendStatus(int code) override;
    bool NotifyViewer7() override;
    bool NotifyViewer10(bool flag) override;
    std::intptr_t SendToViewer(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool SendToViewerMessage(rt::TMessage& message) override;
    void LogStringsGroup(const std::string& title, const rt::TStringList& list) override;
    void LogStringsGroupFmt(const std::string& format, const rt::FormatArgs& args, const rt::TStringList& list) override;

private:
    // Writing a line and announcing it is one step, so lines of two threads
    // never overwrite each other in the buffer before the viewer reads them.
    void Deliver(const std::string& text, unsigned notification);

    bool active_ = false;
    std::recursive_mutex mutex_;
};

// The module's watcher: a TEIBugWatcher in debug mode, else the silent one.
// Before InitializeBugWatcher (and after FinalizeBugWatcher) it is silent.
TEIBugWatcherAbstract& BugWatcher();
// Module load: create the watcher, Start, SendStatus(1).
void InitializeBugWatcher();
// Module unload: SendStatus(6), EndGroup, free the watcher.
void FinalizeBugWatcher();

}  // namespace foundation
