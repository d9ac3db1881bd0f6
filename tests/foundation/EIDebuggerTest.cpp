#include "foundation/EIDebugger.h"

#include <stdexcept>

#include "HostPlatformTest.h"
#include "ViewerRecorder.h"
#include "foundation/EIFunctionsBase.h"
#include "foundation/SVDebug.h"
#include "runtime/ClassRegistry.h"
#include "runtime/Streams.h"
#include "runtime/SysUtils.h"

using namespace foundation;
namespace v = foundation::viewer;

class BugWatcherTest : public HostPlatformTest {
protected:
    // The marker and the line buffer stay inside the test's own drive c:.
    BugWatcherTest() : hostFiles_(HostFilesOnly()) { ResetDebugMode(); }
    ~BugWatcherTest() override {
        FinalizeBugWatcher();
        ResetDebugMode();
    }
    void SwitchDebugOn() { host_.files->WriteFile(DebugMarkerFile, ""); }
    bool LineBufferExists() { return host_.files->FileExists("c:\\windows\\EIDEBUG.INI"); }

    platform::ScopedServices hostFiles_;
};

TEST_F(BugWatcherTest, SilentWithoutTheMarker) {
    ViewerRecorder viewer(*host_.windows);
    InitializeBugWatcher();
    BugWatcher().BeginGroup("x");
    BugWatcher().Log("y");
    BugWatcher().LogError("z");
    FinalizeBugWatcher();
    EXPECT_TRUE(viewer.received.empty());
    EXPECT_FALSE(LineBufferExists());
    EXPECT_TRUE(host_.shell->Starts().empty());
}

TEST_F(BugWatcherTest, StartsTheViewerOnceWhenNoneRuns) {
    SwitchDebugOn();
    InitializeBugWatcher();
    InitializeBugWatcher();
    BugWatcher().Log("written without a viewer");
    ASSERT_EQ(host_.shell->Starts().size(), 1u);
    EXPECT_EQ(host_.shell->Starts()[0].file, InModule("EIDEBUG.EXE"));
    EXPECT_EQ(host_.shell->Starts()[0].showCommand, platform::show::Normal);
    EXPECT_EQ(host_.profiles->ReadString("EIDEBUG.INI", "Data", "Line1", ""), "written without a viewer");
    EXPECT_TRUE(LineBufferExists());
    EXPECT_EQ(BugWatcher().SendToViewer(v::Notify1, 0, 0), -1);
}

TEST_F(BugWatcherTest, LifecycleAndLinesReachTheViewerInOrder) {
    SwitchDebugOn();
    ViewerRecorder viewer(*host_.windows);
    InitializeBugWatcher();
    EXPECT_TRUE(host_.shell->Starts().empty());  // a viewer is already there

    auto& watcher = BugWatcher();
    watcher.BeginGroup("Group");
    watcher.LogFmt("%s=%d", {"a", 1});
    watcher.LogFlag("Flag", true);
    watcher.LogValue("Count", 3);
    watcher.LogRect("Bounds", {1, 2, 3, 4});
    watcher.LogMessage("WM", {16, 2, -3, 4});
    watcher.LogChoice(false, "yes", "no");
    watcher.EndGroup();
    FinalizeBugWatcher();

    using R = ViewerRecorder::Received;
    const std::vector<R> expected{
        {v::Status, 1, ""},
        {v::BeginGroup, 0, "Group"},
        {v::NewLine, 0, "a=1"},
        {v::NewLine, 0, "Flag: True"},
        {v::NewLine, 0, "Count: , Value: 3"},
        {v::NewLine, 0, "Bounds: 1,2,3,4"},
        {v::NewLine, 0, "WM: Msg:16, wParam:2, lParam:-3, Result: 4"},
        {v::NewLine, 0, "no"},
        {v::EndGroup, 0, "no"},
        {v::Status, 6, "no"},
        {v::EndGroup, 0, "no"},
    };
    EXPECT_EQ(viewer.received, expected);
}

TEST_F(BugWatcherTest, ErrorsBeepAndAreSentTwice) {
    SwitchDebugOn();
    ViewerRecorder viewer(*host_.windows);
    InitializeBugWatcher();
    BugWatcher().Check(true, "fine");
    BugWatcher().Check(false, "broken");
    EXPECT_EQ(viewer.Lines(v::NewLine), (std::vector<std::string>{"broken"}));
    EXPECT_EQ(viewer.Lines(v::ErrorLine), (std::vector<std::string>{"broken"}));
    EXPECT_EQ(host_.windows->Beeps(), (std::vector<unsigned>{1}));

    BugWatcher().LogException("while merging", nullptr);
    EXPECT_EQ(viewer.Lines(v::ErrorLine).back(), "Please supply a non nil Exception !!!");
    try {
        RaiseError("disk full");
    } catch (const std::exception& e) {
        BugWatcher().LogException("while merging", &e);
    }
    EXPECT_EQ(viewer.Lines(v::BeginGroup).back(), "Exception: disk full");
    const auto lines = viewer.Lines(v::NewLine);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"Note: while merging", "HelpContextID: 0", "Class: EIIgniteError"}));

    // Library errors and errors of a namespace are named without it.
    const std::out_of_range library("index");
    BugWatcher().LogException("while reading", &library);
    EXPECT_EQ(viewer.Lines(v::NewLine).back(), "Class: out_of_range");
    const rt::EConvertError converting("bad number");
    BugWatcher().LogException("while reading", &converting);
    EXPECT_EQ(viewer.Lines(v::NewLine).back(), "Class: EConvertError");
}

TEST_F(BugWatcherTest, GroupsListsStreamsAndTimes) {
    SwitchDebugOn();
    ViewerRecorder viewer(*host_.windows);
    InitializeBugWatcher();
    auto& watcher = BugWatcher();

    rt::TComponent owner(nullptr);
    rt::TComponent named(&owner), unnamed(&owner);
    named.SetName("btnUp");
    std::vector<rt::TObject*> objects{&named, &unnamed};
    watcher.LogObjectList("Objects", &objects);
    watcher.LogStringsGroupFmt("Strings %d", {2}, rt::TStringList{"s1", "s2"});
    rt::TStringStream stream("one\r\ntwo\n");
    stream.SetPosition(4);
    watcher.LogStream("Stream", stream);
    EXPECT_EQ(stream.Position(), 0);
    watcher.LogIndexedList("Indexed");
    EXPECT_THROW(watcher.LogClassByName("Class", "TNoSuchClass"), rt::EClassNotFound);
    rt::RegisterClass("TBandForm");
    watcher.LogClassByName("Class", "tbandform");
    watcher.StartTimer();
    watcher.LogElapsed("Quick");

    EXPECT_EQ(viewer.Lines(v::BeginGroup),
              (std::vector<std::string>{"Objects", "Strings 2", "Stream", "Indexed", "Class"}));
    EXPECT_EQ(viewer.Lines(v::EndGroup).size(), 5u);
    EXPECT_EQ(viewer.Lines(v::NewLine), (std::vector<std::string>{"btnUp", "TComponent", "s1", "s2", "one", "two",
                                                                   "Quick => ElapsedTime: 0.00 sec"}));
    EXPECT_EQ(watcher.IndentText(3), "      ");
    EXPECT_EQ(watcher.ChooseText(true, "a", "b"), "a");
    EXPECT_TRUE(watcher.NotifyViewer10(true));
    EXPECT_EQ(viewer.received.back().wParam, 1u);
    rt::TMessage message{v::Notify5, 0, 0, 0};
    EXPECT_TRUE(watcher.SendToViewerMessage(message));
    EXPECT_EQ(message.Result, 7);
}

TEST_F(BugWatcherTest, LogWaitsForStartButGroupsDoNot) {
    SwitchDebugOn();
    ViewerRecorder viewer(*host_.windows);
    TEIBugWatcher watcher;
    watcher.Log("before start");
    watcher.BeginGroup("group before start");
    watcher.LogEmptyLine();
    EXPECT_EQ(viewer.Lines(v::NewLine), (std::vector<std::string>{""}));
    EXPECT_EQ(viewer.Lines(v::BeginGroup), (std::vector<std::string>{"group before start"}));
    watcher.Start();
    watcher.Log("after start");
    EXPECT_EQ(viewer.Lines(v::NewLine).back(), "after start");
}
