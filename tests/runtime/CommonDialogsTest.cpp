// The save and find dialog components over the scripted host dialogs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostPlatformTest.h"
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/RichEdit.h"

using namespace rt;

class CommonDialogsTest : public HostPlatformTest {};

TEST_F(CommonDialogsTest, SaveDialogPassesItsSettingsAndTakesTheAnswer) {
    TForm form(nullptr);
    auto* save = new TSaveDialog(&form);
    save->SetTitle("Save HTML as");
    save->SetDefaultExt("html");
    save->SetFilter("All Files|*.*|HTML Files|*.html;*.htm");
    save->SetFilterIndex(2);
    save->SetOptions(OpenOption(TOpenOption::ofOverwritePrompt) | OpenOption(TOpenOption::ofHideReadOnly) |
                     OpenOption(TOpenOption::ofPathMustExist) | OpenOption(TOpenOption::ofEnableSizing));
    ASSERT_EQ(save->InitialDir(), "");
    save->SetInitialDir(platform::SpecialFolders().Personal().value_or(""));

    host_.commonDialogs->PushSaveAnswer("c:\\Documents and Settings\\tester\\My Documents\\page.html", 1);
    host_.commonDialogs->PushSaveAnswer(std::nullopt);
    ASSERT_TRUE(save->Execute());
    EXPECT_EQ(save->FileName(), "c:\\Documents and Settings\\tester\\My Documents\\page.html");
    EXPECT_EQ(save->FilterIndex(), 1);
    EXPECT_FALSE(save->Execute());  // cancelled: what was chosen before stays
    EXPECT_EQ(save->FileName(), "c:\\Documents and Settings\\tester\\My Documents\\page.html");
    EXPECT_FALSE(save->Execute());  // no answer left: cancelled

    const auto requests = host_.commonDialogs->SaveRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].title, "Save HTML as");
    EXPECT_EQ(requests[0].defaultExtension, "html");
    EXPECT_EQ(requests[0].filter, "All Files|*.*|HTML Files|*.html;*.htm");
    EXPECT_EQ(requests[0].filterIndex, 2);
    EXPECT_EQ(requests[0].initialFolder, "c:\\Documents and Settings\\tester\\My Documents");
    EXPECT_TRUE(requests[0].overwritePrompt && requests[0].hideReadOnly && requests[0].pathMustExist);
    EXPECT_EQ(requests[1].fileName, save->FileName());
    EXPECT_EQ(requests[1].filterIndex, 1);
    // The personal folder exists once asked for, as on Windows.
    EXPECT_TRUE(Files().DirectoryExists("c:\\Documents and Settings\\tester\\My Documents"));

    SetPropText(*save, "Options", std::to_string(OpenOption(TOpenOption::ofFileMustExist)));
    EXPECT_EQ(save->Options(), OpenOption(TOpenOption::ofFileMustExist));
    EXPECT_EQ(GetPropText(*save, "Filter"), "All Files|*.*|HTML Files|*.html;*.htm");
}

TEST_F(CommonDialogsTest, FindDialogReportsEachFindNextAndItsClose) {
    TFindDialog find(nullptr);
    find.SetOptions(FindOption(TFindOption::frDown) | FindOption(TFindOption::frDisableUpDown) |
                    FindOption(TFindOption::frReplace));
    find.SetPosition(TPoint{160, 120});
    std::vector<std::string> found;
    find.OnFind = [&](TObject* sender) {
        auto* dialog = static_cast<TFindDialog*>(sender);
        found.push_back(dialog->FindText() + ((dialog->Options() & FindOption(TFindOption::frMatchCase)) ? "/case" : ""));
        EXPECT_TRUE(dialog->Options() & FindOption(TFindOption::frFindNext));
    };
    int closed = 0;
    find.OnClose = [&](TObject*) { ++closed; };

    EXPECT_FALSE(host_.commonDialogs->PressFindNext());  // nothing open yet
    ASSERT_TRUE(find.Execute());
    EXPECT_TRUE(find.Showing());
    auto shown = host_.commonDialogs->OpenFindDialog();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->left, 160);
    EXPECT_EQ(shown->top, 120);
    EXPECT_TRUE(shown->down);
    EXPECT_TRUE(shown->disableUpDown);

    host_.commonDialogs->PressFindNext();  // an empty text: the button does nothing
    EXPECT_TRUE(found.empty());
    host_.commonDialogs->TypeFindText("Table");
    host_.commonDialogs->PressFindNext();
    host_.commonDialogs->SetFindOptions(false, true, false);  // direction is disabled
    host_.commonDialogs->PressFindNext();
    EXPECT_EQ(found, (std::vector<std::string>{"Table", "Table/case"}));
    EXPECT_TRUE(find.Options() & FindOption(TFindOption::frDown));

    // Executing again brings the open dialog forward; moving it moves it.
    EXPECT_TRUE(find.Execute());
    EXPECT_EQ(host_.commonDialogs->FindDialogsOpened(), 1);
    find.SetPosition(TPoint{5, 6});
    EXPECT_EQ(host_.commonDialogs->OpenFindDialog()->left, 5);

    // The user closes it; it may be opened again with the last text.
    EXPECT_TRUE(host_.commonDialogs->CloseFindDialog());
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(find.Showing());
    EXPECT_FALSE(host_.commonDialogs->OpenFindDialog());
    ASSERT_TRUE(find.Execute());
    EXPECT_EQ(host_.commonDialogs->OpenFindDialog()->findText, "Table");
    find.CloseDialog();
    EXPECT_EQ(closed, 1);  // closed by the program: no OnClose
    EXPECT_FALSE(host_.commonDialogs->OpenFindDialog());

    host_.commonDialogs->SetFindUnavailable(true);
    EXPECT_FALSE(find.Execute());
    EXPECT_FALSE(find.Showing());
}

TEST_F(CommonDialogsTest, FindHandlersMayCloseTheDialogAndTheirErrorsGoToTheApplication) {
    std::vector<std::string> errors;
    Application().OnException = [&](const std::exception& e) { errors.push_back(e.what()); };
    {
        TFindDialog find(nullptr);
        find.OnFind = [&](TObject*) {
            find.CloseDialog();
            throw Exception("search failed");
        };
        ASSERT_TRUE(find.Execute());
        host_.commonDialogs->TypeFindText("x");
        host_.commonDialogs->PressFindNext();
        EXPECT_FALSE(find.Showing());
        EXPECT_FALSE(host_.commonDialogs->OpenFindDialog());
        // A dialog freed while open closes it.
        TFindDialog* other = new TFindDialog(nullptr);
        ASSERT_TRUE(other->Execute());
        EXPECT_TRUE(host_.commonDialogs->OpenFindDialog());
        delete other;
        EXPECT_FALSE(host_.commonDialogs->OpenFindDialog());
    }
    Application().OnException = nullptr;
    EXPECT_EQ(errors, (std::vector<std::string>{"search failed"}));
}

TEST_F(CommonDialogsTest, TheSourceViewersFindWalksTheMatchesAndKeepsThemInView) {
    // What dlgFindFind does, over these components.
    TForm form(nullptr);
    auto* memo = new TRichEdit(&form);
    memo->SetParent(&form);
    std::string text;
    for (int i = 0; i < 40; ++i) text += (i % 10 == 3 ? "<Table>" : "line") + std::string("\r\n");
    memo->SetText(text);
    auto* find = new TFindDialog(&form);
    find->OnFind = [&](TObject*) {
        const int start = memo->SelLength() > 0 ? memo->SelStart() + memo->SelLength() : 0;
        const int at = memo->FindText(find->FindText(), start, -1, true);
        if (at < 0) return;
        memo->SetSelStart(at);
        memo->SetSelLength(static_cast<int>(find->FindText().size()));
        memo->SetFocus();
        memo->ScrollLines(memo->LineFromChar(at) - memo->FirstVisibleLine());
    };
    ASSERT_TRUE(find->Execute());
    host_.commonDialogs->TypeFindText("Table");
    std::vector<int> lines;
    for (int i = 0; i < 6; ++i) {
        host_.commonDialogs->PressFindNext();
        lines.push_back(memo->FirstVisibleLine());
    }
    EXPECT_EQ(lines, (std::vector<int>{3, 13, 23, 33, 33, 33}));  // no wrap-around
    EXPECT_EQ(memo->SelText(), "Table");
    EXPECT_EQ(form.ActiveControl(), memo);
    host_.commonDialogs->TypeFindText("table");
    memo->SetSelStart(0);
    host_.commonDialogs->PressFindNext();
    EXPECT_EQ(memo->SelLength(), 0);  // case always matched: nothing found
}
