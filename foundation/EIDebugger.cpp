#include "foundation/EIDebugger.h"

#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "foundation/EIFunctionsBase.h"
#include "foundation/SVDebug.h"
#include "platform/Services.h"
#include "runtime/ClassRegistry.h"

namespace foundation {
namespace {

// Tracing must never be the reason an operation fails: a format that does
// not fit its arguments is traced as it stands.
std::string SafeFormat(const std::string& format, const rt::FormatArgs& args) {
    try {
        return rt::Format(format, args);
    } catch (const std::exception&) {
        return format;
    }
}

// The class name of an error without its namespace ("EIIgniteError"), read
// straight off the mangled type name ("12EIIgniteError", "N2rt9ExceptionE",
// "St13runtime_error"): the general demangler would weigh more than all of
// this module's tracing.
std::string ErrorClassName(const std::exception& error) {
    const char* mangled = typeid(error).name();
    const char* at = mangled;
    if (*at == 'N') ++at;
    if (at[0] == 'S' && at[1] == 't') at += 2;
    std::string name;
    while (*at >= '0' && *at <= '9') {
        std::size_t length = 0;
        for (; *at >= '0' && *at <= '9' && length < 4096; ++at) length = length * 10 + static_cast<std::size_t>(*at - '0');
        const std::size_t available = std::strlen(at);
        if (length == 0 || length > available) break;
        name.assign(at, length);
        at += length;
    }
    return name.empty() ? mangled : name;
}

std::string ErrorMessage(const std::exception& error) {
    if (auto own = dynamic_cast<const rt::Exception*>(&error)) return own->Message();
    return error.what();
}

std::mutex watcherMutex;
std::unique_ptr<TEIBugWatcherAbstract> watcher;

}  // namespace

std::string TEIBugWatcher::IndentText(int count) { return std::string(count > 0 ? count * 2 : 0, ' '); }

void TEIBugWatcher::WriteLine(const std::string& text) {
    try {
        platform::Profiles().WriteString(LineBufferFile, LineBufferSection, LineBufferKey, text);
    } catch (...) {
    }
}

void TEIBugWatcher::Deliver(const std::string& text, unsigned notification) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    WriteLine(text);
    SendToViewer(notification, 0, 0);
}

void TEIBugWatcher::LogError(const std::string& text) {
    Log(text);
    LogErrorLine(text);
}

void TEIBugWatcher::Check(bool condition, const std::string& text) {
    if (!condition) LogError(text);
}

void TEIBugWatcher::LogMessage(const std::string& name, const rt::TMessage& message) {
    LogFmt("%s: Msg:%s, wParam:%s, lParam:%s, Result: %s",
           {name, rt::IntToStr(message.Msg), rt::IntToStr(static_cast<std::int64_t>(message.WParam)),
            rt::IntToStr(message.LParam), rt::IntToStr(message.Result)});
}

void TEIBugWatcher::LogTickFmt(const std::string& format, const rt::FormatArgs& args) {
    LogTick(SafeFormat(format, args));
}

void TEIBugWatcher::LogTick(const std::string& text) {
    LogFmt("%s: %d", {text, static_cast<std::int64_t>(platform::Clock().TickCount())});
}

void TEIBugWatcher::LogFmt(const std::string& format, const rt::FormatArgs& args) { Log(SafeFormat(format, args)); }
void TEIBugWatcher::TraceFmt(const std::string& format, const rt::FormatArgs& args) { LogFmt(format, args); }

void TEIBugWatcher::LogStrings(const rt::TStringList& list) {
    for (int i = 0; i < list.Count(); ++i) Log(list[i]);
}

void TEIBugWatcher::LogObjectList(const std::string& title, const std::vector<rt::TObject*>* list) {
    Check(list != nullptr, "Please supply a non nil ObjectList !!!");
    if (!list) return;
    BeginGroup(title);
    try {
        for (rt::TObject* object : *list) Log(ComponentDisplayName(object));
    } catch (...) {
        EndGroup();
        throw;
    }
    EndGroup();
}

void TEIBugWatcher::LogIndexedList(const std::string& title) {
    // The working list starts empty, so only the group reaches the viewer.
    rt::TStringList list;
    BeginGroup(title);
    for (int i = 0; i < list.Count(); ++i) LogFmt("[%2d] = \"%s\"", {i, list[i]});
    EndGroup();
}

void TEIBugWatcher::LogClass(const std::string& title, const std::string& className) { LogIndexedList(title); }

void TEIBugWatcher::LogClassByName(const std::string& title, const std::string& className) {
    LogClass(title, rt::FindClass(className));
}

void TEIBugWatcher::LogFlag(const std::string& name, bool value) { LogFmt(value ? "%s: True" : "%s: False", {name}); }

void TEIBugWatcher::LogRect(const std::string& name, const rt::TRect& rect) {
    LogFmt("%s: %d,%d,%d,%d", {name, rect.Left, rect.Top, rect.Right, rect.Bottom});
}

void TEIBugWatcher::LogValue(const std::string& name, int value) { LogFmt("%s: %s, Value: %d", {name, "", value}); }

void TEIBugWatcher::LogChoice(bool condition, const std::string& ifTrue, const std::string& ifFalse) {
    Log(condition ? ifTrue : ifFalse);
}

void TEIBugWatcher::LogException(const std::string& note, const std::exception* error) {
    Check(error != nullptr, "Please supply a non nil Exception !!!");
    if (!error) return;
    BeginGroup(SafeFormat("Exception: %s", {ErrorMessage(*error)}));
    try {
        LogFmt("Note: %s", {note});
        LogFmt("HelpContextID: %d", {0});
        LogFmt("Class: %s", {ErrorClassName(*error)});
    } catch (...) {
        EndGroup();
        throw;
    }
    EndGroup();
}

void TEIBugWatcher::LogListGroup(const std::string& title) {
    rt::TStringList list;
    BeginGroup(title);
    LogStrings(list);
    EndGroup();
}

void TEIBugWatcher::LogStream(const std::string& title, rt::TStream& stream) {
    BeginGroup(title);
    try {
        stream.SetPosition(0);
        rt::TStringList lines;
        lines.SetText(rt::ReadRest(stream));
        for (int i = 0; i < lines.Count(); ++i) Log(lines[i]);
    } catch (...) {
        stream.SetPosition(0);
        EndGroup();
        throw;
    }
    stream.SetPosition(0);
    EndGroup();
}

void TEIBugWatcher::BeginGroup(const std::string& title) { Deliver(title, viewer::BeginGroup); }

void TEIBugWatcher::BeginGroupFmt(const std::string& format, const rt::FormatArgs& args) {
    BeginGroup(SafeFormat(format, args));
}

void TEIBugWatcher::EndGroup() { SendToViewer(viewer::EndGroup, 0, 0); }

bool TEIBugWatcher::NotifyViewer9() {
    SendToViewer(viewer::Notify9, 0, 0);
    return true;
}

std::string TEIBugWatcher::ChooseText(bool condition, const std::string& ifTrue, const std::string& ifFalse) {
    return condition ? ifTrue : ifFalse;
}

void TEIBugWatcher::StartTimer() { startTime_ = rt::Now(); }

void TEIBugWatcher::LogElapsed(const std::string& name) {
    LogFmt("%s => ElapsedTime: %s", {name, ElapsedTimeText(rt::Now() - startTime_)});
}

void TEIBugWatcher::LogErrorLine(const std::string& text) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    Beep(1);
    Deliver(text, viewer::ErrorLine);
}

void TEIBugWatcher::LogErrorLineFmt(const std::string& format, const rt::FormatArgs& args) {
    LogErrorLine(SafeFormat(format, args));
}

void TEIBugWatcher::Beep(unsigned kind) {
    try {
        platform::Windows().MessageBeep(kind);
    } catch (...) {
    }
}

void TEIBugWatcher::Start() {
    try {
        if (platform::Windows().FindWindow(ViewerWindowClass, "") == 0)
            // The viewer shipped beside the module; by bare name the browser's
            // current folder would be searched first.
            RunProgram(PathInModuleFolder(ViewerProgram), "", platform::show::Normal);
    } catch (...) {
    }
    active_ = true;
}

void TEIBugWatcher::Log(const std::string& text) {
    if (active_) Deliver(text, viewer::NewLine);
}

void TEIBugWatcher::LogEmptyLine() { Deliver("", viewer::NewLine); }

void TEIBugWatcher::NotifyViewer1() { SendToViewer(viewer::Notify1, 0, 0); }
void TEIBugWatcher::NotifyViewer5() { SendToViewer(viewer::Notify5, 0, 0); }
void TEIBugWatcher::NotifyViewer6() { SendToViewer(viewer::Notify6, 0, 0); }
void TEIBugWatcher::SendStatus(int code) { SendToViewer(viewer::Status, static_cast<std::uintptr_t>(code), 0); }

bool TEIBugWatcher::NotifyViewer7() {
    SendToViewer(viewer::Notify7, 0, 0);
    return true;
}

bool TEIBugWatcher::NotifyViewer10(bool flag) {
    SendToViewer(viewer::Notify10, flag ? 1 : 0, 0);
    return true;
}

std::intptr_t TEIBugWatcher::SendToViewer(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    try {
        auto& windows = platform::Windows();
        const platform::WindowHandle viewerWindow = windows.FindWindow(ViewerWindowClass, "");
        if (viewerWindow == 0) return -1;
        return windows.SendMessage(viewerWindow, message, wParam, lParam);
    } catch (...) {
        return -1;
    }
}

bool TEIBugWatcher::SendToViewerMessage(rt::TMessage& message) {
    try {
        message.Result = SendToViewer(message.Msg, message.WParam, message.LParam);
        return true;
    } catch (...) {
        return false;
    }
}

void TEIBugWatcher::LogStringsGroup(const std::string& title, const rt::TStringList& list) {
    BeginGroup(title);
    try {
        LogStrings(list);
    } catch (...) {
        EndGroup();
        throw;
    }
    EndGroup();
}

void TEIBugWatcher::LogStringsGroupFmt(const std::string& format, const rt::FormatArgs& args,
                                       const rt::TStringList& list) {
    LogStringsGroup(SafeFormat(format, args), list);
}

TEIBugWatcherAbstract& BugWatcher() {
    static TEIBugWatcherAbstract silent;
    std::lock_guard<std::mutex> lock(watcherMutex);
    return watcher ? *watcher : silent;
}

void InitializeBugWatcher() {
    {
        std::lock_guard<std::mutex> lock(watcherMutex);
        if (watcher) return;
        if (IsDebugMode()) watcher = std::make_unique<TEIBugWatcher>();
        else watcher = std::make_unique<TEIBugWatcherAbstract>();
    }
    BugWatcher().Start();
    BugWatcher().SendStatus(viewer::StatusStarted);
}

void FinalizeBugWatcher() {
    BugWatcher().SendStatus(viewer::StatusUnloading);
    BugWatcher().EndGroup();
    std::lock_guard<std::mutex> lock(watcherMutex);
    watcher.reset();
}

}  // namespace foundation
