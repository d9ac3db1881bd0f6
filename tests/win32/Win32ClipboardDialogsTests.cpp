// The clipboard, the personal folder and the common dialogs of the Win32
// services. The tests that need windows skip without a desktop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "Win32TestSupport.h"
#include <commdlg.h>
#include <dlgs.h>

#include "platform/win32/Win32Platform.h"

using namespace platform;
using namespace platform::win32;

namespace {

bool HaveDesktop() {
    HWND probe = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!probe) return false;
    ::DestroyWindow(probe);
    return true;
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

}  // namespace

TEST(Win32Clipboard, TextRoundTrips) {
    if (!HaveDesktop()) GTEST_SKIP() << "no desktop";
    Win32Clipboard clipboard;
    ASSERT_TRUE(clipboard.SetText("first line\r\nsecond \xE9 line"));
    EXPECT_TRUE(clipboard.HasText());
    EXPECT_EQ(clipboard.GetText(), "first line\r\nsecond \xE9 line");
    // What we put there stays after our owner window has gone, for a second reader.
    EXPECT_EQ(Win32Clipboard().GetText(), "first line\r\nsecond \xE9 line");
    ASSERT_TRUE(clipboard.SetText(""));
    EXPECT_EQ(clipboard.GetText(), "");
    // CF_TEXT ends at a NUL.
    ASSERT_TRUE(clipboard.SetText(std::string("before\0after", 12)));
    EXPECT_EQ(clipboard.GetText(), "before");
    const std::string big(300000, 'z');
    ASSERT_TRUE(clipboard.SetText(big));
    EXPECT_EQ(clipboard.GetText(), big);
}

TEST(Win32Clipboard, ABusyClipboardIsWaitedForABoundedTime) {
    if (!HaveDesktop()) GTEST_SKIP() << "no desktop";
    Win32Clipboard patient(50, 10), impatient(3, 10);
    ASSERT_TRUE(patient.SetText("before"));
    std::atomic<bool> opened{false}, release{false};
    std::thread holder([&] {
        if (!::OpenClipboard(nullptr)) return;
        opened = true;
        while (!release) ::Sleep(5);
        ::CloseClipboard();
    });
    while (!opened) ::Sleep(5);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(impatient.SetText("refused"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(impatient.GetText());
    // Released while the patient one retries: it gets through.
    std::thread releaser([&] {
        ::Sleep(60);
        release = true;
    });
    EXPECT_TRUE(patient.SetText("after"));
    releaser.join();
    holder.join();
    EXPECT_EQ(patient.GetText(), "after");
}

TEST(Win32SpecialFolders, PersonalIsAnExistingFolder) {
    const std::optional<std::string> personal = Win32SpecialFolders().Personal();
    ASSERT_TRUE(personal);
    EXPECT_FALSE(personal->empty());
    EXPECT_NE(personal->back(), '\\');
    const DWORD attributes = ::GetFileAttributesA(personal->c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << *personal;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Win32CommonDialogs, FiltersAreNulSeparated) {
    EXPECT_EQ(Win32CommonDialogs::FilterForDialog("All Files|*.*|HTML Files|*.html;*.htm"),
              std::string("All Files\0*.*\0HTML Files\0*.html;*.htm\0\0", 39));
    EXPECT_EQ(Win32CommonDialogs::FilterForDialog(""), "");
}

namespace {

// Answers the save dialog titled `title` from another thread: types `file`
// and presses Save, or presses Cancel when `file` is empty.
class SaveDialogDriver {
public:
    SaveDialogDriver(std::string title, std::string file)
        : thread_([this, title = std::move(title), file = std::move(file)] { Run(title, file); }) {}
    ~SaveDialogDriver() { thread_.join(); }
    bool Found() const { return found_; }

private:
    void Run(const std::string& title, const std::string& file) {
        for (int i = 0; i < 400 && !found_; ++i) {
            HWND dialog = ::FindWindowA("#32770", title.c_str());
            if (!dialog) {
                ::Sleep(50);
                continue;
            }
            found_ = true;
            ::Sleep(200);  // let it finish setting up
            if (file.empty()) {
                ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            if (!::SetDlgItemTextA(dialog, cmb13, file.c_str())) ::SetDlgItemTextA(dialog, edt1, file.c_str());
            ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
    }
    std::atomic<bool> found_{false};
    std::thread thread_;
};

}  // namespace

TEST(Win32CommonDialogs, TheSaveDialogAnswersTheUsersChoice) {
    if (!HaveDesktop()) GTEST_SKIP() << "no desktop";
    zrtest::TempDir folder;
    const std::string title = "Zephyra save test " + std::to_string(::GetCurrentProcessId());
    SaveFileRequest request;
    request.title = title;
    request.defaultExtension = "html";
    request.filter = "All Files|*.*|HTML Files|*.html;*.htm";
    request.filterIndex = 2;
    request.initialFolder = folder.Path();
    request.overwritePrompt = true;
    request.hideReadOnly = true;
    request.pathMustExist = true;

    char before[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, before);
    Win32CommonDialogs dialogs;
    std::optional<SaveFileAnswer> answer;
    {
        SaveDialogDriver driver(title, folder / "page");
        answer = dialogs.SaveFile(request);
    }
    ASSERT_TRUE(answer);
    EXPECT_TRUE(_stricmp(answer->fileName.c_str(), (folder / "page.html").c_str()) == 0) << answer->fileName;
    EXPECT_EQ(answer->filterIndex, 2);
    char after[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after);  // the current folder is left alone

    {
        SaveDialogDriver driver(title, "");
        EXPECT_FALSE(dialogs.SaveFile(request));
    }
}

TEST(Win32CommonDialogs, TheFindDialogReportsFindNextAndItsEnd) {
    if (!HaveDesktop()) GTEST_SKIP() << "no desktop";
    Win32CommonDialogs dialogs;
    std::vector<FindEvent> found;
    int closed = 0;
    FindRequest request;
    request.findText = "start";
    request.down = true;
    request.disableUpDown = true;
    request.left = 40;
    request.top = 50;
    FindCallbacks callbacks;
    callbacks.onFind = [&](const FindEvent& event) { found.push_back(event); };
    callbacks.onClose = [&] { ++closed; };
    std::unique_ptr<IFindSession> session = dialogs.OpenFind(request, callbacks);
    ASSERT_TRUE(session);
    HWND dialog = reinterpret_cast<HWND>(session->Handle());
    ASSERT_TRUE(::IsWindow(dialog));
    RECT where{};
    ::GetWindowRect(dialog, &where);
    EXPECT_EQ(where.left, 40);
    EXPECT_EQ(where.top, 50);
    char shown[64] = {};
    ::GetDlgItemTextA(dialog, edt1, shown, sizeof shown);
    EXPECT_STREQ(shown, "start");

    ::SetDlgItemTextA(dialog, edt1, "needle");
    ::CheckDlgButton(dialog, chx2, BST_CHECKED);  // match case
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].findText, "needle");
    EXPECT_TRUE(found[0].matchCase);
    EXPECT_FALSE(found[0].wholeWord);
    EXPECT_TRUE(found[0].down);

    // The user closes it: onClose, and the dialog is gone.
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpMessages();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(::IsWindow(dialog));
    session.reset();

    // Dropping the session inside its own callback closes the dialog once the callback is over.
    callbacks.onFind = [&](const FindEvent& event) {
        found.push_back(event);
        session.reset();
    };
    session = dialogs.OpenFind(request, callbacks);
    ASSERT_TRUE(session);
    dialog = reinterpret_cast<HWND>(session->Handle());
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(found.size(), 2u);
    EXPECT_FALSE(session);
    for (int i = 0; i < 20 && ::IsWindow(dialog); ++i) {
        PumpMessages();
        ::Sleep(10);
    }
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(closed, 1);  // closed by the program: no onClose
}
