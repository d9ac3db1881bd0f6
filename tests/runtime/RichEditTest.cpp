// The rich-edit control: text and lines in step, selection arithmetic at the
// edges, replacing the selection, finding, scrolling, the clipboard and
// saving through the ports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChangeRecorder.h"
#include "HostPlatformTest.h"
#include "runtime/Forms.h"
#include "runtime/RichEdit.h"
#include "runtime/RtfReader.h"

using namespace rt;

namespace {
std::vector<std::string> LinesOf(const TRichEdit& edit) { return edit.Lines().ToVector(); }
}  // namespace

TEST(RichEditText, LineEndsOfEveryKindBecomeCrLfAndLinesFollow) {
    TRichEdit edit(nullptr);
    edit.SetText("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(edit.Text(), "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(LinesOf(edit), (std::vector<std::string>{"one", "two", "three", "four"}));
    edit.SetText("a\r\r\n\n");  // CR, CR LF, LF: three ends
    EXPECT_EQ(edit.Text(), "a\r\n\r\n\r\n");
    EXPECT_EQ(LinesOf(edit), (std::vector<std::string>{"a", "", "", ""}));
    edit.SetText("");
    EXPECT_EQ(edit.LineCount(), 0);
    edit.SetText("x\n");
    EXPECT_EQ(LinesOf(edit), (std::vector<std::string>{"x", ""}));
}

TEST(RichEditText, ChangingTheLinesSetsTheText) {
    TRichEdit edit(nullptr);
    int changes = 0;
    edit.OnChange = [&](TObject*) { ++changes; };
    edit.Lines().Add("first");
    edit.Lines().Add("second");
    EXPECT_EQ(edit.Text(), "first\r\nsecond");
    edit.Lines().SetString(0, "1st");
    EXPECT_EQ(edit.Text(), "1st\r\nsecond");
    edit.Lines().Insert(1, "");
    EXPECT_EQ(edit.Text(), "1st\r\n\r\nsecond");
    EXPECT_EQ(changes, 4);
    // A line with line ends in it becomes several lines.
    edit.Lines().Add("x\ny");
    EXPECT_EQ(edit.Text(), "1st\r\n\r\nsecond\r\nx\r\ny");
    EXPECT_EQ(edit.LineCount(), 5);
    // One change for a bracket of line changes.
    changes = 0;
    edit.Lines().BeginUpdate();
    edit.Lines().Clear();
    edit.Lines().Add("only");
    edit.Lines().EndUpdate();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.Text(), "only");
    // An empty line added to an empty control stays a line until the text is set.
    edit.Clear();
    edit.Lines().Add("");
    EXPECT_EQ(edit.LineCount(), 1);
    EXPECT_EQ(edit.Text(), "");
    edit.SetText("");
    EXPECT_EQ(edit.LineCount(), 0);
    // Text -> lines -> text keeps every byte, a final line end included.
    const std::string text = "a\r\n\r\nb\r\n";
    edit.SetText(text);
    TStringList copy;
    copy.Assign(edit.Lines());
    edit.SetLines(copy);
    EXPECT_EQ(edit.Text(), text);
}

TEST(RichEditSelection, ClampedAtBothEndsAndBackwards) {
    TRichEdit edit(nullptr);
    edit.SetText("Hello world");  // 11 characters
    edit.SetSelStart(6);
    edit.SetSelLength(5);
    EXPECT_EQ(edit.SelText(), "world");
    edit.SetSelLength(50);  // past the end: to the end
    EXPECT_EQ(edit.SelLength(), 5);
    edit.SetSelStart(100);
    EXPECT_EQ(edit.SelStart(), 11);
    EXPECT_EQ(edit.SelLength(), 0);
    EXPECT_EQ(edit.SelText(), "");
    edit.SetSelStart(-3);
    EXPECT_EQ(edit.SelStart(), 0);
    // A negative length selects backwards from SelStart.
    edit.SetSelStart(5);
    edit.SetSelLength(-3);
    EXPECT_EQ(edit.SelStart(), 2);
    EXPECT_EQ(edit.SelText(), "llo");
    edit.SetSelStart(2);
    edit.SetSelLength(-10);
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(edit.SelLength(), 2);
    edit.SelectAll();
    EXPECT_EQ(edit.SelText(), "Hello world");
    // A new text puts the caret at the start.
    edit.SetText("new");
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(edit.SelLength(), 0);
}

TEST(RichEditSelection, ALineEndIsNeverSplit) {
    TRichEdit edit(nullptr);
    edit.SetText("ab\r\ncd");
    edit.SetSelStart(3);  // between CR and LF: before the line end
    EXPECT_EQ(edit.SelStart(), 2);
    edit.SetSelLength(1);  // ends inside the line end: takes all of it
    EXPECT_EQ(edit.SelText(), "\r\n");
    edit.SetSelStart(1);
    edit.SetSelLength(2);
    EXPECT_EQ(edit.SelText(), "b\r\n");
    edit.SetSelText("X");
    EXPECT_EQ(edit.Text(), "aXcd");
}

TEST(RichEditSelection, SelTextReplacesTheSelection) {
    TRichEdit edit(nullptr);
    edit.SetText("The quick fox");
    edit.SetSelStart(4);
    edit.SetSelLength(5);
    edit.SetSelText("slow");
    EXPECT_EQ(edit.Text(), "The slow fox");
    EXPECT_EQ(edit.SelStart(), 8);  // behind what was put in
    EXPECT_EQ(edit.SelLength(), 0);
    edit.SetSelText(" brown");  // at the caret: inserted
    EXPECT_EQ(edit.Text(), "The slow brown fox");
    edit.SetSelStart(100);
    edit.SetSelText("\nend");  // at the end, its line end made CR LF
    EXPECT_EQ(edit.Text(), "The slow brown fox\r\nend");
    EXPECT_EQ(LinesOf(edit), (std::vector<std::string>{"The slow brown fox", "end"}));
    EXPECT_EQ(edit.SelStart(), static_cast<int>(edit.Text().size()));
    edit.SetSelStart(0);
    edit.SetSelLength(4);
    edit.SetSelText("");
    EXPECT_EQ(edit.Text(), "slow brown fox\r\nend");
    // Read-only stops the user, not the program.
    edit.SetReadOnly(true);
    edit.TypeText("typed ");
    EXPECT_EQ(edit.Text(), "slow brown fox\r\nend");
    edit.SetSelText("set ");
    EXPECT_EQ(edit.Text(), "set slow brown fox\r\nend");
}

TEST(RichEditFind, CaseAndRange) {
    TRichEdit edit(nullptr);
    edit.SetText("table Table TABLE table");
    const int size = static_cast<int>(edit.Text().size());
    EXPECT_EQ(edit.FindText("Table", 0, -1, true), 6);
    EXPECT_EQ(edit.FindText("Table", 7, -1, true), -1);  // "TABLE" and "table" differ in case
    EXPECT_EQ(edit.FindText("Table", 1, -1, false), 6);
    EXPECT_EQ(edit.FindText("table", 12, size, false), 12);
    EXPECT_EQ(edit.FindText("table", 13, size, false), 18);
    EXPECT_EQ(edit.FindText("table", 18, size, true), 18);
    // The match must lie wholly in the range.
    EXPECT_EQ(edit.FindText("table", 18, size - 1, true), -1);
    EXPECT_EQ(edit.FindText("table", 0, 4, true), -1);
    EXPECT_EQ(edit.FindText("table", -5, 5, true), 0);
    EXPECT_EQ(edit.FindText("table", size, -1, false), -1);
    EXPECT_EQ(edit.FindText("table", size + 10, -1, false), -1);
    EXPECT_EQ(edit.FindText("", 0, -1, false), -1);
    EXPECT_EQ(edit.FindText("table", 10, 5, true), -1);  // an empty range
    // Successive finds from behind the selection walk the matches and stop.
    std::vector<int> found;
    edit.SetSelStart(0);
    for (int i = 0; i < 5; ++i) {
        const int at = edit.FindText("table", edit.SelStart() + edit.SelLength(), -1, true);
        if (at < 0) break;
        found.push_back(at);
        edit.SetSelStart(at);
        edit.SetSelLength(5);
    }
    EXPECT_EQ(found, (std::vector<int>{0, 18}));
}

TEST(RichEditLines, LineOfACharacterAndScrolling) {
    rt_test::ScopedRecorder recorder;
    TRichEdit edit(nullptr);
    edit.SetText("l0\r\nl1\r\nl2\r\nl3\r\n");  // five lines, the last empty
    EXPECT_EQ(edit.LineFromChar(0), 0);
    EXPECT_EQ(edit.LineFromChar(2), 0);   // on the CR
    EXPECT_EQ(edit.LineFromChar(3), 0);   // between CR and LF
    EXPECT_EQ(edit.LineFromChar(4), 1);
    EXPECT_EQ(edit.LineFromChar(16), 4);  // the end, behind the last line end
    EXPECT_EQ(edit.LineFromChar(1000), 4);
    edit.SetSelStart(9);
    EXPECT_EQ(edit.LineFromChar(-1), 2);
    EXPECT_EQ(edit.LineIndex(0), 0);
    EXPECT_EQ(edit.LineIndex(3), 12);
    EXPECT_EQ(edit.LineIndex(4), 16);
    EXPECT_EQ(edit.LineIndex(5), -1);
    EXPECT_EQ(edit.LineIndex(-1), -1);

    EXPECT_EQ(edit.FirstVisibleLine(), 0);
    edit.ScrollLines(edit.LineFromChar(12) - edit.FirstVisibleLine());
    EXPECT_EQ(edit.FirstVisibleLine(), 3);
    EXPECT_EQ(recorder->Count(edit, TControlChange::Scroll), 1);
    edit.ScrollLines(100);
    EXPECT_EQ(edit.FirstVisibleLine(), 4);
    edit.ScrollLines(-100);
    EXPECT_EQ(edit.FirstVisibleLine(), 0);
    edit.ScrollLines(-1);  // already at the top: no news
    EXPECT_EQ(recorder->Count(edit, TControlChange::Scroll), 3);
    edit.ScrollLines(4);
    edit.SetText("short");
    EXPECT_EQ(edit.FirstVisibleLine(), 0);
    EXPECT_EQ(edit.LineFromChar(3), 0);
}

TEST(RichEditLoad, RichTextGoesThroughTheReaderAndIsKeptUntilAnEdit) {
    rt_test::ScopedRecorder recorder;
    TRichEdit edit(nullptr);
    int changes = 0;
    edit.OnChange = [&](TObject*) { ++changes; };
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}{\\colortbl ;\\red0\\green0\\blue255;}"
                            "\\cf1 <html>\\par\r\n\\cf0 text\\tab x}";
    edit.LoadRichText(rtf);
    EXPECT_EQ(edit.Text(), "<html>\r\ntext\tx");
    EXPECT_EQ(LinesOf(edit), (std::vector<std::string>{"<html>", "text\tx"}));
    EXPECT_EQ(edit.RichText(), rtf);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(recorder->Count(edit, TControlChange::RichText), 1);
    EXPECT_EQ(recorder->Count(edit, TControlChange::Text), 0);
    edit.SetSelStart(0);
    edit.SetSelText("!");
    EXPECT_EQ(edit.RichText(), "");

    // Another reader, as a backend installs one; its CR line ends become CR LF.
    TRichTextReader previous = SetRichTextReader([](const std::string&) { return std::string("native\rtext"); });
    edit.LoadRichText(rtf);
    EXPECT_EQ(edit.Text(), "native\r\ntext");
    SetRichTextReader(previous);
    edit.LoadRichText("plain, not RTF\n");
    EXPECT_EQ(edit.Text(), "plain, not RTF\r\n");
}

TEST(RichEditFlags, PublishedAndMirrored) {
    rt_test::ScopedRecorder recorder;
    TRichEdit edit(nullptr);
    EXPECT_TRUE(edit.WordWrap());
    EXPECT_TRUE(edit.HideSelection());
    EXPECT_FALSE(edit.PlainText());
    SetPropText(edit, "WordWrap", "False");
    SetPropText(edit, "ReadOnly", "True");
    SetPropText(edit, "ScrollBars", "ssBoth");
    SetPropText(edit, "HideSelection", "False");
    SetPropText(edit, "BorderStyle", "bsNone");
    SetPropText(edit, "PlainText", "True");
    EXPECT_FALSE(edit.WordWrap());
    EXPECT_TRUE(edit.ReadOnly());
    EXPECT_EQ(edit.ScrollBars(), TScrollStyle::ssBoth);
    EXPECT_FALSE(edit.HideSelection());
    EXPECT_EQ(edit.BorderStyle(), TBorderStyle::bsNone);
    EXPECT_TRUE(edit.PlainText());
    EXPECT_EQ(recorder->Count(edit, TControlChange::Style), 5);  // the file mode is no window style
    edit.SetWordWrap(false);
    EXPECT_EQ(recorder->Count(edit, TControlChange::Style), 5);
    TStringList lines{"a", "b"};
    SetObjectProp(edit, "Lines", &lines);
    EXPECT_EQ(edit.Text(), "a\r\nb");
    EXPECT_EQ(GetStrProp(edit, "Text"), "a\r\nb");
}

TEST(RichEditFocus, SetFocusMakesItTheActiveControl) {
    rt_test::ScopedRecorder recorder;
    TForm form(nullptr);
    auto* edit = new TRichEdit(&form);
    edit->SetParent(&form);
    edit->SetFocus();
    EXPECT_EQ(form.ActiveControl(), edit);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(recorder->Count(*edit, TControlChange::Focus), 1);
}

class RichEditPorts : public HostPlatformTest {};

TEST_F(RichEditPorts, ClipboardCommands) {
    TRichEdit edit(nullptr);
    edit.SetText("cut me, copy me");
    EXPECT_FALSE(edit.CopyToClipboard());  // nothing selected
    EXPECT_FALSE(edit.CutToClipboard());
    EXPECT_EQ(host_.clipboard->SetTextCalls(), 0);

    edit.SetSelStart(0);
    edit.SetSelLength(7);
    EXPECT_TRUE(edit.CutToClipboard());
    EXPECT_EQ(host_.clipboard->GetText(), "cut me,");
    EXPECT_EQ(edit.Text(), " copy me");
    edit.SetSelStart(1);
    edit.SetSelLength(4);
    EXPECT_TRUE(edit.CopyToClipboard());
    EXPECT_EQ(host_.clipboard->GetText(), "copy");
    EXPECT_EQ(edit.Text(), " copy me");

    // Paste replaces the selection; with none it inserts at the caret.
    edit.SetSelStart(6);
    edit.SetSelLength(2);
    EXPECT_TRUE(edit.PasteFromClipboard());
    EXPECT_EQ(edit.Text(), " copy copy");
    host_.clipboard->SetText("line\nbreak");
    edit.SetSelStart(0);
    EXPECT_TRUE(edit.PasteFromClipboard());
    EXPECT_EQ(edit.Text(), "line\r\nbreak copy copy");
    EXPECT_EQ(edit.SelStart(), 11);

    // A busy clipboard: Cut keeps the text; Paste finds nothing.
    host_.clipboard->SetBusy(true);
    edit.SelectAll();
    EXPECT_FALSE(edit.CutToClipboard());
    EXPECT_EQ(edit.Text(), "line\r\nbreak copy copy");
    EXPECT_FALSE(edit.PasteFromClipboard());
    host_.clipboard->SetBusy(false);
    host_.clipboard->Clear();
    EXPECT_FALSE(edit.PasteFromClipboard());

    // Delete; and read-only lets only Copy through.
    edit.SetSelStart(0);
    edit.SetSelLength(6);
    EXPECT_TRUE(edit.ClearSelection());
    EXPECT_EQ(edit.Text(), "break copy copy");
    edit.SetReadOnly(true);
    edit.SetSelStart(0);
    edit.SetSelLength(5);
    EXPECT_FALSE(edit.CutToClipboard());
    EXPECT_FALSE(edit.ClearSelection());
    EXPECT_FALSE(edit.PasteFromClipboard());
    EXPECT_TRUE(edit.CopyToClipboard());
    EXPECT_EQ(host_.clipboard->GetText(), "break");
    EXPECT_EQ(edit.Text(), "break copy copy");
}

TEST_F(RichEditPorts, SavingWritesPlainOrRichTextAndRaisesOnFailure) {
    TRichEdit edit(nullptr);
    const std::string rtf = "{\\rtf1 {\\fonttbl{\\f0 Arial;}}a\\par b}";
    edit.LoadRichText(rtf);
    const std::string file = InModule("page.html");
    edit.SaveToFile(file);
    EXPECT_EQ(FileBytes(file), rtf);  // rich-text mode: the document itself
    edit.SetPlainText(true);
    edit.SaveToFile(file);
    EXPECT_EQ(FileBytes(file), "a\r\nb");
    // An edited text is saved as edited.
    edit.SetSelStart(1);
    edit.SetSelText("{x}\\");
    edit.SaveToFile(file);
    EXPECT_EQ(FileBytes(file), "a{x}\\\r\nb");
    edit.SetPlainText(false);
    edit.SaveToFile(file);
    EXPECT_EQ(RtfToPlainText(FileBytes(file)), edit.Text());
    try {
        edit.SaveToFile(InModule("no such folder\\x.html"));
        FAIL() << "no error";
    } catch (const EFCreateError& error) {
        EXPECT_NE(std::string(error.what()).find("Cannot create file"), std::string::npos);
    }
}
