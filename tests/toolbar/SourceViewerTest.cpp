// The source viewer used as a person does: tabs clicked, menu entries and
// shortcut keys, the find dialog typed into, the save dialog answered.
#include "toolbar/EIShowHtmlMessageUnit.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "HostPlatformTest.h"
#include "RtfText.h"
#include "foundation/EIFunctionsBase.h"
#include "runtime/RtfReader.h"
#include "toolbar/HtmlToRtf.h"

using toolbar::TEIShowHtmlMessageForm;
using Strings = std::vector<std::string>;

namespace {

struct Reported {
    std::string message;
    bool silent;  // an abort, which the caller's handler swallows
};

class SourceViewerTest : public HostPlatformTest {
protected:
    SourceViewerTest() : HostPlatformTest(RegistryUse::StandIn) {
        previous_ = rt::SetUiBackend(backend_);
        rt::Application().OnException = [this](const std::exception& e) {
            reported.push_back({e.what(), dynamic_cast<const rt::EAbort*>(&e) != nullptr});
        };
    }
    ~SourceViewerTest() override {
        rt::Application().OnException = nullptr;
        rt::SetUiBackend(previous_);
    }

    // Opens the viewer on `sources`; `person` acts while it is shown. False
    // when the window was never shown.
    bool View(const rt::TStringList& sources, std::function<void(TEIShowHtmlMessageForm&)> person,
              bool readOnly = false) {
        bool shown = false;
        backend_->SetModalScript([&](rt::TCustomForm& form) {
            shown = true;
            person(dynamic_cast<TEIShowHtmlMessageForm&>(form));
        });
        toolbar::ShowHtmlSource("View Source", sources, readOnly);
        return shown;
    }

    // An action dispatched by the message loop: its error goes to the
    // application's handler and the window stays.
    static void Do(const std::function<void()>& action) {
        try {
            action();
        } catch (const std::exception& e) {
            rt::Application().HandleException(e);
        }
    }
    static void Pick(rt::TMenuItem* item) { Do([item] { item->Click(); }); }
    // A shortcut key pressed in the text.
    static void Press(TEIShowHtmlMessageForm& form, const std::string& shortCut) {
        unsigned short key = 0;
        rt::TShiftState shift;
        rt::ShortCutToKey(rt::TextToShortCut(shortCut), key, shift);
        Do([&] { form.KeyDown(key, shift, form.memHtml); });
    }
    static void Select(TEIShowHtmlMessageForm& form, int start, int length) {
        form.memHtml->SetSelStart(start);
        form.memHtml->SetSelLength(length);
    }
    // Ctrl+F, then the text typed into the find dialog and Find Next pressed.
    void Find(TEIShowHtmlMessageForm& form, const std::string& text) {
        Press(form, "Ctrl+F");
        host_.commonDialogs->TypeFindText(text);
        ASSERT_TRUE(host_.commonDialogs->PressFindNext());
    }

    std::vector<Reported> reported;

private:
    std::shared_ptr<rt::THeadlessBackend> backend_ = std::make_shared<rt::THeadlessBackend>();
    std::shared_ptr<rt::IUiBackend> previous_;
};

TEST_F(SourceViewerTest, OneTabPerDocumentShowingThatDocumentsText) {
    const rt::TStringList page{"<html>\n<body>Top</body>\r\n</html>"};
    EXPECT_TRUE(View(page, [&](TEIShowHtmlMessageForm& form) {
        EXPECT_EQ(form.Caption(), "View Source");
        EXPECT_EQ(form.tabHtml->Tabs().ToVector(), Strings{"Source"});
        EXPECT_EQ(form.tabHtml->TabIndex(), 0);
        EXPECT_EQ(form.memHtml->Text(), "<html>\r\n<body>Top</body>\r\n</html>");
        // The coloured document is what a window gets to show.
        EXPECT_EQ(form.memHtml->RichText(), toolbar::HtmlToRtf(page[0]));
        EXPECT_TRUE(form.memHtml->PlainText());
        EXPECT_EQ(form.memHtml->SelStart(), 0);
    }));

    const rt::TStringList frames{"<frameset>", "<p>one</p>", "<p>two</p>\rend"};
    EXPECT_TRUE(View(frames, [&](TEIShowHtmlMessageForm& form) {
        EXPECT_EQ(form.tabHtml->Tabs().ToVector(), (Strings{"Source", "Frame 1", "Frame 2"}));
        EXPECT_EQ(form.memHtml->Text(), "<frameset>");
        form.tabHtml->SelectTab(2);
        EXPECT_EQ(form.memHtml->Text(), "<p>two</p>\r\nend");
        form.tabHtml->SelectTab(1);
        EXPECT_EQ(form.memHtml->Text(), "<p>one</p>");
        EXPECT_EQ(form.memHtml->RichText(), toolbar::HtmlToRtf(frames[1]));
        EXPECT_TRUE(form.memHtml->PlainText());
    }));
    EXPECT_TRUE(reported.empty());
}

TEST_F(SourceViewerTest, AnEmptyListFailsWithTheListIndexErrorAndShowsNothing) {
    const rt::TStringList none;
    EXPECT_THROW(View(none, [](TEIShowHtmlMessageForm&) { ADD_FAILURE() << "shown"; }), rt::EListError);
}

TEST_F(SourceViewerTest, PagesOfAnyBytesArriveWhole) {
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
    const rt::TStringList pages{bytes + "<a href='\\{x}'>&amp;</a>", zrtest::SamplePage(200000, 7)};
    EXPECT_TRUE(View(pages, [&](TEIShowHtmlMessageForm& form) {
        EXPECT_EQ(form.memHtml->Text(), rt::WithCrLf(pages[0]));
        form.tabHtml->SelectTab(1);
        EXPECT_TRUE(form.memHtml->Text() == rt::WithCrLf(pages[1]));  // too long to print
    }));
}

TEST_F(SourceViewerTest, FindWalksTheMatchesDownwardMatchingCaseAndStopsAtTheLast) {
    const rt::TStringList page{"<table>\r\n<td>Table</td>\r\n<td>table</td>\r\n</table>"};
    EXPECT_TRUE(View(page, [&](TEIShowHtmlMessageForm& form) {
        const std::string& text = form.memHtml->Text();
        form.tabHtml->SetFocus();
        Press(form, "Ctrl+F");
        host_.commonDialogs->SetFindOptions(true, false, false);  // match case off in the dialog: still matched
        host_.commonDialogs->TypeFindText("table");
        ASSERT_TRUE(host_.commonDialogs->PressFindNext());
        EXPECT_EQ(form.memHtml->SelStart(), 1);
        EXPECT_EQ(form.memHtml->SelText(), "table");
        EXPECT_TRUE(form.memHtml->Focused());
        std::vector<int> starts{form.memHtml->SelStart()};
        for (int press = 0; press < 4; ++press) {
            ASSERT_TRUE(host_.commonDialogs->PressFindNext());
            starts.push_back(form.memHtml->SelStart());
        }
        const int second = static_cast<int>(text.find("table", 2));
        const int last = static_cast<int>(text.rfind("table"));
        EXPECT_EQ(starts, (std::vector<int>{1, second, last, last, last}));
        EXPECT_EQ(form.memHtml->SelText(), "table");

        Select(form, 0, 0);
        host_.commonDialogs->TypeFindText("Table");
        ASSERT_TRUE(host_.commonDialogs->PressFindNext());
        EXPECT_EQ(form.memHtml->SelStart(), static_cast<int>(text.find("Table")));
        ASSERT_TRUE(host_.commonDialogs->PressFindNext());  // no second one, no wrap
        EXPECT_EQ(form.memHtml->SelStart(), static_cast<int>(text.find("Table")));

        Select(form, 3, 0);  // a caret without a selection searches from the top
        host_.commonDialogs->TypeFindText("<");
        ASSERT_TRUE(host_.commonDialogs->PressFindNext());
        EXPECT_EQ(form.memHtml->SelStart(), 0);

        Press(form, "Ctrl+F");
        host_.commonDialogs->TypeFindText("TABLE");
        ASSERT_TRUE(host_.commonDialogs->PressFindNext());
        EXPECT_EQ(form.memHtml->SelStart(), 0);
        EXPECT_EQ(form.memHtml->SelLength(), 1);
    }));
    EXPECT_EQ(host_.commonDialogs->FindDialogsOpened(), 1);  // Ctrl+F again brings the same one forward
    EXPECT_TRUE(reported.empty());
}

TEST_F(SourceViewerTest, TheFindDialogOpensAtAQuarterOfTheTextOnTheScreen) {
    EXPECT_TRUE(View({"x"}, [&](TEIShowHtmlMessageForm& form) {
        form.SetBounds(100, 50, 640, 480);
        // Inside Panel3's 4-pixel border, below the 22-pixel tabs.
        EXPECT_EQ(form.memHtml->Left(), 4);
        EXPECT_EQ(form.memHtml->Top(), 26);
        EXPECT_EQ(form.memHtml->Width(), 632);
        EXPECT_EQ(form.memHtml->Height(), 450);
        Pick(form.Find1);
        const std::optional<platform::FindRequest> shown = host_.commonDialogs->OpenFindDialog();
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->left, 100 + 4 + 632 / 4);
        EXPECT_EQ(shown->top, 50 + 26 + 450 / 4);
        EXPECT_TRUE(shown->down);
        EXPECT_TRUE(shown->disableUpDown);
    }));
    EXPECT_FALSE(host_.commonDialogs->OpenFindDialog());  // closed with the window
}

TEST_F(SourceViewerTest, AMatchFarDownIsScrolledIntoView) {
    std::string page;
    for (int line = 0; line < 500; ++line) page += rt::Format("<p>line %d</p>\n", {line});
    EXPECT_TRUE(View({page}, [&](TEIShowHtmlMessageForm& form) {
        Find(form, "line 420<");
        EXPECT_EQ(form.memHtml->LineFromChar(form.memHtml->SelStart()), 420);
        EXPECT_EQ(form.memHtml->FirstVisibleLine(), 420);
        form.memHtml->SetFirstVisibleLine(480);  // the user scrolled past it
        Select(form, 0, 0);
        host_.commonDialogs->TypeFindText("line 7<");
        ASSERT_TRUE(host_.commonDialogs->PressFindNext());
        EXPECT_EQ(form.memHtml->FirstVisibleLine(), 7);
    }));
}

TEST_F(SourceViewerTest, CutCopyPasteAndDeleteGoThroughTheClipboard) {
    EXPECT_TRUE(View({"<b>bold</b> and <i>it</i>"}, [&](TEIShowHtmlMessageForm& form) {
        host_.clipboard->SetText("kept");
        Press(form, "Ctrl+V");  // nothing selected: nothing pasted
        Pick(form.Paste1);
        EXPECT_EQ(form.memHtml->Text(), "<b>bold</b> and <i>it</i>");
        Press(form, "Ctrl+C");
        EXPECT_EQ(host_.clipboard->GetText(), "kept");

        Select(form, 3, 4);
        Pick(form.Copy2);  // the pop-up menu's entry
        EXPECT_EQ(host_.clipboard->GetText(), "bold");
        Select(form, 19, 2);
        Press(form, "Ctrl+V");
        EXPECT_EQ(form.memHtml->Text(), "<b>bold</b> and <i>bold</i>");

        Select(form, 12, 4);
        Press(form, "Ctrl+X");
        EXPECT_EQ(host_.clipboard->GetText(), "and ");
        EXPECT_EQ(form.memHtml->Text(), "<b>bold</b> <i>bold</i>");
        Select(form, 0, 3);
        Press(form, "Del");
        EXPECT_EQ(form.memHtml->Text(), "bold</b> <i>bold</i>");

        host_.clipboard->Clear();  // pasting nothing leaves the selection
        Select(form, 0, 4);
        Pick(form.Paste2);
        EXPECT_EQ(form.memHtml->Text(), "bold</b> <i>bold</i>");
    }));
    EXPECT_TRUE(reported.empty());
}

TEST_F(SourceViewerTest, AReadOnlyViewerOnlyCopies) {
    EXPECT_TRUE(View(
        {"<p>fixed</p>"},
        [&](TEIShowHtmlMessageForm& form) {
            host_.clipboard->SetText("x");
            Select(form, 3, 5);
            Press(form, "Ctrl+X");
            Press(form, "Ctrl+V");
            Press(form, "Del");
            form.memHtml->TypeText("typed");
            EXPECT_EQ(form.memHtml->Text(), "<p>fixed</p>");
            Press(form, "Ctrl+C");
            EXPECT_EQ(host_.clipboard->GetText(), "fixed");
        },
        true));
}

TEST_F(SourceViewerTest, SaveWritesTheShownTabsEditedPlainText) {
    // A personal folder the test owns (on Windows the files are real ones).
    const std::string folder = InModule("My Documents");
    Files().CreateDirectory(folder);
    host_.specialFolders->SetPersonal(folder);
    const rt::TStringList pages{"<p>top</p>\n<p>more</p>", "<p>frame</p>"};
    host_.commonDialogs->PushSaveAnswer(folder + "\\page.html");
    EXPECT_TRUE(View(pages, [&](TEIShowHtmlMessageForm& form) {
        Select(form, 3, 3);
        form.memHtml->TypeText("TOP");
        Press(form, "Ctrl+S");
        EXPECT_EQ(form.ModalResult(), rt::mrNone);
    }));
    EXPECT_EQ(FileBytes(folder + "\\page.html"), "<p>TOP</p>\r\n<p>more</p>");
    const auto requests = host_.commonDialogs->SaveRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Save HTML as");
    EXPECT_EQ(requests[0].defaultExtension, "html");
    EXPECT_EQ(requests[0].filter, "All Files|*.*|HTML Files|*.html;*.htm");
    EXPECT_EQ(requests[0].filterIndex, 2);
    EXPECT_EQ(requests[0].initialFolder, folder);
    EXPECT_TRUE(requests[0].overwritePrompt);
    EXPECT_TRUE(requests[0].hideReadOnly);
    EXPECT_TRUE(requests[0].pathMustExist);

    // Only the tab shown is saved.
    host_.commonDialogs->PushSaveAnswer(InModule("frame.htm"));
    EXPECT_TRUE(View(pages, [&](TEIShowHtmlMessageForm& form) {
        form.tabHtml->SelectTab(1);
        Pick(form.SaveAs1);
    }));
    EXPECT_EQ(FileBytes(InModule("frame.htm")), "<p>frame</p>");
    EXPECT_TRUE(reported.empty());
}

TEST_F(SourceViewerTest, CancelledOrFailedSavesAndThePersonalFolderTakenOnce) {
    host_.commonDialogs->PushSaveAnswer(std::nullopt);
    host_.commonDialogs->PushSaveAnswer("c:\\no such folder\\page.html");
    host_.commonDialogs->PushSaveAnswer(InModule("page.html"));
    EXPECT_TRUE(View({"<p>x</p>"}, [&](TEIShowHtmlMessageForm& form) {
        Press(form, "Ctrl+S");
        host_.specialFolders->SetPersonal("c:\\Elsewhere");
        Press(form, "Ctrl+S");
        EXPECT_EQ(form.ModalResult(), rt::mrNone);  // still open after the failure
        Press(form, "Ctrl+S");
    }));
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].message, "Cancelled save");
    EXPECT_TRUE(reported[0].silent);
    EXPECT_EQ(reported[1].message, "The source couldn't be saved to a file. Please try again");
    EXPECT_FALSE(reported[1].silent);
    EXPECT_EQ(FileBytes(InModule("page.html")), "<p>x</p>");
    const auto requests = host_.commonDialogs->SaveRequests();
    ASSERT_EQ(requests.size(), 3u);
    for (const auto& request : requests)
        EXPECT_EQ(request.initialFolder, "c:\\Documents and Settings\\tester\\My Documents");

    // A shell that cannot name the folder leaves the choice to the dialog.
    host_.specialFolders->SetPersonal(std::nullopt);
    EXPECT_TRUE(View({"<p>x</p>"}, [&](TEIShowHtmlMessageForm& form) { Press(form, "Ctrl+S"); }));
    EXPECT_EQ(host_.commonDialogs->SaveRequests().back().initialFolder, "");
}

TEST_F(SourceViewerTest, EditsSurviveSwitchingTabs) {
    const rt::TStringList pages{"<p>a</p>", "<p>b</p>"};
    host_.commonDialogs->PushSaveAnswer("c:\\top.html");
    EXPECT_TRUE(View(pages, [&](TEIShowHtmlMessageForm& form) {
        Select(form, 3, 1);
        form.memHtml->TypeText("edited");
        form.tabHtml->SelectTab(1);
        EXPECT_EQ(form.memHtml->Text(), "<p>b</p>");
        form.tabHtml->SelectTab(0);
        EXPECT_EQ(form.memHtml->Text(), "<p>edited</p>");
        form.tabHtml->SelectTab(1);
        form.tabHtml->SelectTab(0);
        EXPECT_EQ(form.memHtml->Text(), "<p>edited</p>");
        Press(form, "Ctrl+S");
    }));
    EXPECT_EQ(FileBytes("c:\\top.html"), "<p>edited</p>");
    EXPECT_EQ(pages.ToVector(), (Strings{"<p>a</p>", "<p>b</p>"}));  // the caller's list is not ours
}

TEST_F(SourceViewerTest, WordWrapTogglesWithItsCheckMarkAndCloseEndsTheWindow) {
    EXPECT_TRUE(View({"<p>x</p>"}, [&](TEIShowHtmlMessageForm& form) {
        EXPECT_FALSE(form.memHtml->WordWrap());
        EXPECT_FALSE(form.mnuWordWrap->Checked());
        Pick(form.mnuWordWrap);
        EXPECT_TRUE(form.memHtml->WordWrap());
        EXPECT_TRUE(form.mnuWordWrap->Checked());
        Pick(form.mnuWordWrap);
        EXPECT_FALSE(form.memHtml->WordWrap());
        EXPECT_FALSE(form.mnuWordWrap->Checked());
        Pick(form.Close1);
        EXPECT_NE(form.ModalResult(), rt::mrNone);
    }));
}

}  // namespace
