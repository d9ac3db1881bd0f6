// The clipboard, common dialogs and special folders of the host stand-ins.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/host/HostPlatform.h"
#include "support/TempFolder.h"

using namespace platform;
using namespace platform::host;

TEST(HostClipboard, RoundTripAndABusyClipboard) {
    HostClipboard clipboard;
    EXPECT_FALSE(clipboard.HasText());
    EXPECT_FALSE(clipboard.GetText());
    EXPECT_TRUE(clipboard.SetText("first\r\nsecond"));
    EXPECT_TRUE(clipboard.HasText());
    EXPECT_EQ(clipboard.GetText(), "first\r\nsecond");
    EXPECT_TRUE(clipboard.SetText(""));  // empty text is text
    EXPECT_EQ(clipboard.GetText(), "");
    clipboard.SetText("kept");
    clipboard.SetBusy(true);
    EXPECT_FALSE(clipboard.SetText("lost"));
    EXPECT_FALSE(clipboard.GetText());
    EXPECT_TRUE(clipboard.HasText());
    clipboard.SetBusy(false);
    EXPECT_EQ(clipboard.GetText(), "kept");
    clipboard.Clear();
    EXPECT_FALSE(clipboard.HasText());
    EXPECT_EQ(clipboard.SetTextCalls(), 4);
}

TEST(HostSpecialFolders, PersonalIsConfigurableAndMadeWhenAsked) {
    TempFolder temp;
    HostPlatform host(temp.Path());
    const std::string standard = "c:\\Documents and Settings\\tester\\My Documents";
    EXPECT_FALSE(host.files->DirectoryExists(standard));
    EXPECT_EQ(host.specialFolders->Personal(), standard);
    EXPECT_TRUE(host.files->DirectoryExists(standard));
    host.specialFolders->SetPersonal("d:\\Users\\someone\\Documents\\\\");
    EXPECT_EQ(host.specialFolders->Personal(), "d:\\Users\\someone\\Documents");
    host.specialFolders->SetPersonal(std::nullopt);
    EXPECT_FALSE(host.specialFolders->Personal());
    // The set the platform hands out carries the new services.
    ServiceSet set = host.Set();
    EXPECT_EQ(set.clipboard, host.clipboard);
    EXPECT_EQ(set.commonDialogs, host.commonDialogs);
    EXPECT_EQ(set.specialFolders, host.specialFolders);
    ScopedServices scoped(set);
    EXPECT_EQ(&Clipboard(), host.clipboard.get());
}

TEST(HostCommonDialogs, SaveAnswersComeInOrderAndCancelWhenNoneIsLeft) {
    HostCommonDialogs dialogs;
    SaveFileRequest request;
    request.filterIndex = 2;
    dialogs.PushSaveAnswer("c:\\a.html");
    dialogs.PushSaveAnswer(std::nullopt);
    dialogs.PushSaveAnswer("c:\\b.txt", 1);
    auto first = dialogs.SaveFile(request);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->fileName, "c:\\a.html");
    EXPECT_EQ(first->filterIndex, 2);  // 0: the request's filter stays
    EXPECT_FALSE(dialogs.SaveFile(request));
    EXPECT_EQ(dialogs.SaveFile(request)->filterIndex, 1);
    EXPECT_FALSE(dialogs.SaveFile(request));
    EXPECT_EQ(dialogs.SaveRequests().size(), 4u);
}

TEST(HostCommonDialogs, FindSessionsAreDrivenLastOpenedFirst) {
    HostCommonDialogs dialogs;
    std::vector<std::string> log;
    auto open = [&](const std::string& name, FindRequest request) {
        FindCallbacks callbacks;
        callbacks.onFind = [&log, name](const FindEvent& e) {
            log.push_back(name + ":" + e.findText + (e.down ? ":down" : ":up") + (e.matchCase ? ":case" : "") +
                          (e.wholeWord ? ":word" : ""));
        };
        callbacks.onClose = [&log, name] { log.push_back(name + ":closed"); };
        return dialogs.OpenFind(request, std::move(callbacks));
    };
    FindRequest plain;
    plain.findText = "one";
    FindRequest locked = plain;
    locked.hideMatchCase = true;
    locked.disableWholeWord = true;
    auto a = open("a", plain);
    auto b = open("b", locked);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(dialogs.FindDialogsOpened(), 2);
    dialogs.SetFindOptions(false, true, true);  // b: only the direction can change
    dialogs.PressFindNext();
    a->Activate();  // a comes to the front
    dialogs.TypeFindText("two");
    dialogs.SetFindOptions(true, true, true);
    dialogs.PressFindNext();
    a->MoveTo(3, 4);
    EXPECT_EQ(dialogs.OpenFindDialog()->left, 3);
    EXPECT_EQ(a->Handle(), 0u);
    EXPECT_TRUE(dialogs.CloseFindDialog());  // a, by the user
    b.reset();                                // b, by the program: no callback
    EXPECT_FALSE(dialogs.OpenFindDialog());
    EXPECT_FALSE(dialogs.PressFindNext());
    EXPECT_FALSE(dialogs.CloseFindDialog());
    a.reset();  // a closed session goes quietly
    EXPECT_EQ(log, (std::vector<std::string>{"b:one:up", "a:two:down:case:word", "a:closed"}));
    dialogs.SetFindUnavailable(true);
    EXPECT_EQ(open("c", plain), nullptr);
}
