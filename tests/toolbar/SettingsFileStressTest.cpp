// Everything that writes a user's settings file, at once: four browser
// windows on threads of this process, two more windows in processes of their
// own, the settings merge of an upgrade and the popup helper taking its
// first-block flag. The file's lock must keep every write of every one: no
// lost history entry, no lost merged key, no torn line, one first block.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "BandFormMenus.h"
#include "EventSinkFakes.h"
#include "HostPlatformTest.h"
#include "foundation/EIIniFilesUnit1.h"
#include "foundation/SVCommon.h"
#include "merge/MergeState.h"
#include "platform/host/HostBrowser.h"
#include "toolbar/BandForm.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

constexpr int kThreadWindows = 4;
constexpr int kProcessWindows = 2;
constexpr int kSearchesEach = 20;
constexpr int kFlagTakes = 20;
constexpr int kMergedDomains = 40;
constexpr const char* kRootVariable = "ZR_STRESS_ROOT";
constexpr const char* kPrefixVariable = "ZR_STRESS_PREFIX";
constexpr const char* kChildTest = "SettingsFileStressChild.DISABLED_OneWindowOfItsOwnProcess";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    ::SetEnvironmentVariableA(name, value.c_str());
#else
    ::setenv(name, value.c_str(), 1);
#endif
}

// This test program run again with one test of it: one more browser window,
// in a process of its own, over the same folder.
class ChildWindow {
public:
    ChildWindow(const std::string& root, const std::string& prefix) {
        SetVariable(kRootVariable, root);
        SetVariable(kPrefixVariable, prefix);
        const std::string filter = std::string("--gtest_filter=") + kChildTest;
#ifdef _WIN32
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command = std::string("\"") + self + "\" --gtest_also_run_disabled_tests " + filter;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessA(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &process_) != 0;
#else
        std::string self = "/proc/self/exe", also = "--gtest_also_run_disabled_tests";
        char* argv[] = {self.data(), also.data(), const_cast<char*>(filter.c_str()), nullptr};
        started_ = ::posix_spawn(&pid_, self.c_str(), nullptr, nullptr, argv, environ) == 0;
#endif
        SetVariable(kRootVariable, "");
    }

    // True when the child ran its window to the end and its test passed.
    bool Succeeded() {
        if (!started_) return false;
#ifdef _WIN32
        DWORD code = 1;
        const bool ended = ::WaitForSingleObject(process_.hProcess, 120000) == WAIT_OBJECT_0 &&
                           ::GetExitCodeProcess(process_.hProcess, &code);
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
        started_ = false;
        return ended && code == 0;
#else
        int status = 0;
        started_ = false;
        return ::waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
    }

private:
    bool started_ = false;
#ifdef _WIN32
    PROCESS_INFORMATION process_{};
#else
    pid_t pid_ = 0;
#endif
};

// The module as a browser window finds it, over a fresh folder or, in a child
// process, over the parent's.
class SettingsFileStress : public HostPlatformTest {
protected:
    explicit SettingsFileStress(const std::string& sharedRoot = "")
        : HostPlatformTest(RegistryUse::StandIn, sharedRoot) {
        previous_ = rt::SetUiBackend(std::make_shared<rt::THeadlessBackend>());
        foundation::ChooseUserSettingsFile();
        toolbar::BandModuleLoaded();
        toolbar::SetBrowserEventSourceProvider(
            [](const std::shared_ptr<platform::IBrowser>&) { return std::make_shared<zrtest::TestEventSource>(); });
    }
    ~SettingsFileStress() override {
        toolbar::SetBrowserEventSourceProvider(nullptr);
        toolbar::BandModuleUnloading();
        rt::SetUiBackend(previous_);
    }

    // One browser window searching for "<prefix>0", "<prefix>1", ...
    static void RunWindow(const std::string& prefix) {
        rt::THeadlessBackend::SetMenuScript(nullptr);
        auto browser = std::make_shared<platform::host::HostBrowser>();
        browser->Show("http://www.example.com/", "x", platform::host::HostDocumentWith("<p>x</p>"));
        toolbar::TBandForm form(nullptr);
        form.SetBrowser(browser);
        form.RestoreState();
        for (int i = 0; i < kSearchesEach; ++i) {
            form.Activate();
            form.edtSearch->TypeText(prefix + std::to_string(i));
            form.KeyDown(rt::vk::Return, {}, form.edtSearch);
        }
    }

    std::string UserFile() const { return foundation::CurrentUserSettingsFileName(); }

    std::vector<std::string> History() {
        foundation::TEIIniFile ini(UserFile());
        std::vector<std::string> items;
        const int count = ini.ReadInteger("TBandForm.edtSearch_Items", "Count", 0);
        for (int i = 0; i < count; ++i) items.push_back(ini.ReadString("TBandForm.edtSearch_Items", "Item" + std::to_string(i), ""));
        return items;
    }

private:
    std::shared_ptr<rt::IUiBackend> previous_;
};

// The window of a child process; run only by the test below, which names it.
class SettingsFileStressChild : public SettingsFileStress {
protected:
    SettingsFileStressChild() : SettingsFileStress(Variable(kRootVariable)) {}
};

TEST_F(SettingsFileStressChild, DISABLED_OneWindowOfItsOwnProcess) {
    ASSERT_FALSE(Variable(kRootVariable).empty()) << "started by SettingsFileStress only";
    RunWindow(Variable(kPrefixVariable));
}

// Lines of a settings file that are neither blank, a section header nor a
// key=value pair: what a write cut by another leaves behind.
std::vector<std::string> TornLines(const std::string& bytes) {
    std::vector<std::string> torn;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool header = !line.empty() && line.front() == '[' && line.back() == ']';
        if (!line.empty() && !header && line.find('=') == std::string::npos) torn.push_back(line);
    }
    return torn;
}

TEST_F(SettingsFileStress, EveryWriterKeepsEveryWriteOfTheUsersFile) {
    WriteBytes(InModule("Data\\google.xml"), zrtest::kGoogleXml);
    WriteBytes(InModule("Data\\Tools.xml"), zrtest::kToolsXml);
    // An older user file and a newer template: the upgrade's merge has work to do.
    {
        foundation::TEIIniFile user(UserFile());
        user.WriteString("TBandForm", "StateVersion_Value", "1");
        foundation::TEIIniFile templ(InModule("settings_template.ini"));
        templ.WriteString("TBandForm", "StateVersion_Value", "2");
        for (int d = 0; d < kMergedDomains; ++d)
            templ.WriteString("DomainsAllowedPopups", "site" + std::to_string(d) + ".example", "1");
    }

    std::vector<std::unique_ptr<ChildWindow>> children;
    for (int p = 0; p < kProcessWindows; ++p)
        children.push_back(std::make_unique<ChildWindow>(root_, "process" + std::to_string(p) + "-"));

    std::atomic<int> firsts{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < kThreadWindows; ++w) writers.emplace_back(RunWindow, "thread" + std::to_string(w) + "-");
    writers.emplace_back([] { merge::RunStartupMerge(); });
    writers.emplace_back([&firsts] {
        for (int i = 0; i < kFlagTakes; ++i) firsts += foundation::TakeFirstTimeBlockingPopup() ? 1 : 0;
    });
    for (auto& writer : writers) writer.join();
    for (auto& child : children) EXPECT_TRUE(child->Succeeded()) << "a window of another process failed";

    const std::vector<std::string> history = History();
    const std::set<std::string> kept(history.begin(), history.end());
    int attempted = 0, missing = 0;
    for (const std::string kind : {"thread", "process"}) {
        for (int w = 0; w < (kind == "thread" ? kThreadWindows : kProcessWindows); ++w) {
            for (int i = 0; i < kSearchesEach; ++i, ++attempted) {
                const std::string entry = kind + std::to_string(w) + "-" + std::to_string(i);
                if (!kept.count(entry)) {
                    ++missing;
                    ADD_FAILURE() << "history entry lost: " << entry;
                }
            }
        }
    }
    EXPECT_EQ(history.size(), kept.size()) << "an entry is in the history twice";

    foundation::TEIIniFile user(UserFile());
    EXPECT_EQ(user.ReadString("TBandForm", "StateVersion_Value", ""), "2");
    int mergedKept = 0;
    for (int d = 0; d < kMergedDomains; ++d)
        mergedKept += user.ReadString("DomainsAllowedPopups", "site" + std::to_string(d) + ".example", "") == "1";
    EXPECT_EQ(mergedKept, kMergedDomains);
    EXPECT_EQ(firsts.load(), 1) << "the first-block notice must come exactly once";
    EXPECT_EQ(user.ReadString("TBandForm", "FirstTimeBlockingPopup_Value", ""), "False");
    EXPECT_EQ(TornLines(FileBytes(UserFile())), std::vector<std::string>{});

    std::printf("[ stress ] history entries: %d attempted, %d kept; merged keys: %d of %d; first blocks: %d\n",
                attempted, attempted - missing, mergedKept, kMergedDomains, firsts.load());
    RecordProperty("HistoryAttempted", attempted);
    RecordProperty("HistoryKept", attempted - missing);
}

}  // namespace
