#pragma once
// The module's trace sink as users get it: every operation does nothing, so
// trace calls cost nothing outside debug mode. TEIBugWatcher (EIDebugger.h)
// sends the same calls to the debug viewer.
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/DateUtils.h"
#include "runtime/Format.h"
#include "runtime/Streams.h"
#include "runtime/Types.h"

namespace foundation {

class TEIBugWatcherAbstract : public rt::TPersistent {
    RT_CLASS_SAME_PROPS(TEIBugWatcherAbstract, rt::TPersistent)
public:
    virtual std::string IndentText(int count) { return ""; }
    virtual void WriteLine(const std::string& text) {}
    virtual void LogError(const std::string& text) {}
    virtual void Check(bool condition, const std::string& text) {}
    virtual void LogMessage(const std::string& name, const rt::TMessage& message) {}
    virtual void LogTickFmt(const std::string& format, const rt::FormatArgs& args) {}
    virtual void LogTick(const std::string& text) {}
    virtual void LogFmt(const std::string& format, const rt::FormatArgs& args) {}
    virtual void TraceFmt(const std::string& format, const rt::FormatArgs& args) {}
    virtual void LogStrings(const rt::TStringList& list) {}
    virtual void LogObjectList(const std::string& title, const std::vector<rt::TObject*>* list) {}
    virtual void LogIndexedList(const std::string& title) {}
    virtual void LogClass(const std::string& title, const std::string& className) {}
    virtual void LogClassByName(const std::string& title, const std::string& className) {}
    virtual void LogFlag(const std::string& name, bool value) {}
    virtual void LogRect(const std::string& name, const rt::TRect& rect) {}
    virtual void LogValue(const std::string& name, int value) {}
    virtual void LogChoice(bool condition, const std::string& ifTrue, const std::string& ifFalse) {}
    virtual void LogException(const std::string& note, const std::exception* error) {}
    virtual void LogListGroup(const std::string& title) {}
    virtual void LogStream(const std::string& title, rt::TStream& stream) {}
    virtual void BeginGroup(const std::string& title) {}
    virtual void BeginGroupFmt(const std::string& format, const rt::FormatArgs& args) {}
    virtual void EndGroup() {}
    virtual bool NotifyViewer9() { return false; }
    virtual std::string ChooseText(bool condition, const std::string& ifTrue, const std::string& ifFalse) {
        return "";
    }
    virtual void StartTimer() {}
    virtual void LogElapsed(const std::string& name) {}
    virtual void LogErrorLine(const std::string& text) {}
    virtual void LogErrorLineFmt(const std::string& format, const rt::FormatArgs& args) {}
    virtual void Beep(unsigned kind) {}
    virtual void Start() {}
    virtual void Log(const std::string& text) {}
    virtual void LogEmptyLine() {}
    virtual void NotifyViewer1() {}
    virtual void NotifyViewer5() {}
    virtual void NotifyViewer6() {}
    virtual void SendStatus(int code) {}
    virtual bool NotifyViewer7() { return false; }
    virtual bool NotifyViewer10(bool flag) { return false; }
    virtual std::intptr_t SendToViewer(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) { return 0; }
    virtual bool SendToViewerMessage(rt::TMessage& message) { return false; }
    virtual void LogStringsGroup(const std::string& title, const rt::TStringList& list) {}
    virtual void LogStringsGroupFmt(const std::string& format, const rt::FormatArgs& args, const rt::TStringList& list) {}

protected:
    rt::TDateTime startTime_ = 0;  // of the last StartTimer
};

}  // namespace foundation
