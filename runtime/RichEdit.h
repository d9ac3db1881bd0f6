#pragma once
// A rich-edit control holding plain text. Text is the single value; Lines()
// is a view of it kept in step both ways. Line ends are CR LF: any CR LF,
// lone LF or lone CR put in becomes CR LF. Positions (SelStart, FindText,
// LineFromChar) count the characters of Text, a line end as two; a backend
// whose native control counts a line end as one translates.
#include <string>

#include "runtime/Controls.h"

namespace rt {

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class EStreamError : public Exception { using Exception::Exception; };
// "Cannot create file \"%s\"".
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };

class TRichEdit : public TWinControl {
    RT_CLASS(TRichEdit)
public:
    explicit TRichEdit(TComponent* owner);

    // Replaces the text; the caret goes to the start, the first line to the top.
    void SetText(const std::string& text) override;
    void Clear() { SetText(""); }
    // The lines of Text: split at every line end, so a text ending in one has
    // an empty last line; an empty text has none. Changing them sets Text to
    // the lines joined by CR LF.
    TStringList& Lines() { return lines_; }
    const TStringList& Lines() const { return lines_; }
    void SetLines(const TStringList& lines) { lines_.Assign(lines); }

    // The selection, within the text. SetSelStart collapses it there;
    // SetSelLength extends it from SelStart (a negative length selects
    // backwards); positions past the end are the end, before the start the
    // start, and a position inside a line end moves to its edge.
    int SelStart() const { return selStart_; }
    void SetSelStart(int position);
    int SelLength() const { return selLength_; }
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection with `text`; the caret goes behind what was put in.
    void SetSelText(const std::string& text);
    void SelectAll();

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // How the lines are loaded from and saved to files: plain text, or rich text.
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool v) { plainText_ = v; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v);

    // Loads a rich-text document: the process's rich-text reader gives the
    // text (see RtfReader.h), and a backend streams the document itself
    // into its control (TControlChange::RichText) to show its formatting.
    void LoadRichText(const std::string& rtf);
    // The document last loaded, while the text is still the one it gave; empty otherwise.
    const std::string& RichText() const { return richText_; }

    // Writes the content through the file port: with PlainText the text as
    // it is, otherwise rich text (the loaded document when the text is still
    // its own). Raises EFCreateError when the file cannot be written.
    void SaveToFile(const std::string& fileName) const;

    // The position of the first `text` lying wholly in [start, end) of Text
    // (end -1 or past the end: the end); -1 when there is none or `text` is
    // empty. Without matchCase, letters match ignoring case.
    int FindText(const std::string& text, int start, int end, bool matchCase) const;

    int LineCount() const { return lines_.Count(); }
    // The line holding `position` (-1: the selection's start); 0 for an empty text.
    int LineFromChar(int position) const;
    // Where line `line` begins; -1 when there is no such line.
    int LineIndex(int line) const;
    int FirstVisibleLine() const { return firstVisible_; }
    // Scrolls by `lines` (up when negative), within the lines there are.
    void ScrollLines(int lines);
    // The first visible line as the user scrolled to it (no echo for the same value).
    void SetFirstVisibleLine(int line);

    // The clipboard, as the edit commands do it. Cut and Copy do nothing
    // without a selection, and Cut keeps the text when the clipboard refused
    // it; Paste replaces the selection (or inserts at the caret) with the
    // clipboard's text. Cut, Paste and ClearSelection do nothing in a
    // read-only control. Each answers whether it changed or copied something.
    bool CutToClipboard();
    bool CopyToClipboard();
    bool PasteFromClipboard();
    bool ClearSelection();

    // As the user types: replaces the selection unless read-only.
    void TypeText(const std::string& text);

    TNotifyEvent OnChange;           // the text changed, by the program or the user
    TNotifyEvent OnSelectionChange;  // the selection moved

private:
    // Takes `text` (line ends already CR LF) as the new content.
    void Replace(std::string text, TControlChange change);
    // The same with the caret at the start and the first line at the top.
    void Reload(std::string text, TControlChange change);
    void SetSelection(int start, int length);
    void LinesChanged();
    int SnapBack(int position) const;
    int SnapForward(int position) const;

    TStringList lines_;
    bool syncing_ = false;  // the lines are being set from the text
    int selStart_ = 0;
    int selLength_ = 0;
    int firstVisible_ = 0;
    bool wordWrap_ = true;
    bool readOnly_ = false;
    bool plainText_ = false;
    bool hideSelection_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    std::string richText_;
};

// Plain text as a small RTF document (code page 1252, line ends as \par).
std::string PlainTextToRtf(const std::string& text);

}  // namespace rt
