#include "runtime/RichEdit.h"

#include <algorithm>

#include "platform/Services.h"
#include "runtime/RtfReader.h"

namespace rt {

namespace {

const std::vector<std::string> scrollStyleNames{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
const std::vector<std::string> borderStyleNames{"bsNone", "bsSingle"};

// Text with CR LF line ends split at each of them.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    if (text.empty()) return lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

}  // namespace

const TPropList& TRichEdit::ClassProperties() {
    static const TPropList list(
        TWinControl::ClassProperties(),
        {
            props::Object<TRichEdit>(
                "Lines", "TStrings", [](const TRichEdit& c) -> TObject* { return const_cast<TStringList*>(&c.Lines()); },
                [](TRichEdit& c, TObject* v) {
                    if (auto* list = dynamic_cast<TStringList*>(v)) c.SetLines(*list);
                }),
            props::String<TRichEdit>("Text", &TRichEdit::Text, &TRichEdit::SetText),
            props::Boolean<TRichEdit>("WordWrap", &TRichEdit::WordWrap, &TRichEdit::SetWordWrap),
            props::Boolean<TRichEdit>("ReadOnly", &TRichEdit::ReadOnly, &TRichEdit::SetReadOnly),
            props::Boolean<TRichEdit>("PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText),
            props::Boolean<TRichEdit>("HideSelection", &TRichEdit::HideSelection, &TRichEdit::SetHideSelection),
            props::Enumeration<TRichEdit, TScrollStyle>("ScrollBars", "TScrollStyle", scrollStyleNames,
                                                        &TRichEdit::ScrollBars, &TRichEdit::SetScrollBars),
            props::Enumeration<TRichEdit, TBorderStyle>("BorderStyle", "TBorderStyle", borderStyleNames,
                                                        &TRichEdit::BorderStyle, &TRichEdit::SetBorderStyle),
            props::Method("OnChange"),
            props::Method("OnSelectionChange"),
        });
    return list;
}

TRichEdit::TRichEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 89);
    lines_.OnChange = [this](TStringList&) { LinesChanged(); };
}

// ------------------------------------------------------------------ text

void TRichEdit::Replace(std::string text, TControlChange change) {
    const int oldStart = selStart_, oldLength = selLength_;
    const bool changed = AssignText(text);
    if (change != TControlChange::RichText) richText_.clear();
    {
        syncing_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{syncing_};
        // Also when the text stayed but the lines were made apart from it (an added empty line).
        std::vector<std::string> split = SplitLines(Text());
        if (changed || change == TControlChange::RichText || split != lines_.ToVector()) lines_.SetStrings(split);
    }
    // The selection and the scroll position stay where they can.
    const int length = static_cast<int>(Text().size());
    selStart_ = SnapBack(std::clamp(selStart_, 0, length));
    selLength_ = std::clamp(selLength_, 0, length - selStart_);
    if (selLength_ > 0) selLength_ = SnapForward(selStart_ + selLength_) - selStart_;
    firstVisible_ = std::clamp(firstVisible_, 0, std::max(0, LineCount() - 1));

    if (changed || change == TControlChange::RichText) Changed(change);
    if (selStart_ != oldStart || selLength_ != oldLength) {
        Changed(TControlChange::Selection);
        if (OnSelectionChange) OnSelectionChange(this);
    }
    if (changed && OnChange) OnChange(this);
}

void TRichEdit::SetText(const std::string& text) { Reload(WithCrLf(text), TControlChange::Text); }

void TRichEdit::Reload(std::string text, TControlChange change) {
    const bool moved = selStart_ != 0 || selLength_ != 0;
    selStart_ = 0;
    selLength_ = 0;
    firstVisible_ = 0;
    Replace(std::move(text), change);
    if (moved) {
        Changed(TControlChange::Selection);
        if (OnSelectionChange) OnSelectionChange(this);
    }
}

void TRichEdit::LinesChanged() {
    if (syncing_) return;
    std::string joined;
    bool breaks = false;
    for (int i = 0; i < lines_.Count(); ++i) {
        if (i > 0) joined += "\r\n";
        joined += lines_[i];
        breaks = breaks || lines_[i].find_first_of("\r\n") != std::string::npos;
    }
    const int start = selStart_, length = selLength_;
    if (breaks) {
        // A line with line ends in it becomes several lines.
        Replace(WithCrLf(joined), TControlChange::Text);
        return;
    }
    // The lines stay as the program made them (an added empty line included).
    const bool changed = AssignText(joined);
    if (changed) richText_.clear();  // the loaded document is still the text's own otherwise
    selStart_ = SnapBack(std::clamp(start, 0, static_cast<int>(Text().size())));
    selLength_ = std::clamp(length, 0, static_cast<int>(Text().size()) - selStart_);
    if (selLength_ > 0) selLength_ = SnapForward(selStart_ + selLength_) - selStart_;
    firstVisible_ = std::clamp(firstVisible_, 0, std::max(0, LineCount() - 1));
    if (changed) Changed(TControlChange::Text);
    if (selStart_ != start || selLength_ != length) {
        Changed(TControlChange::Selection);
        if (OnSelectionChange) OnSelectionChange(this);
    }
    if (changed && OnChange) OnChange(this);
}

void TRichEdit::LoadRichText(const std::string& rtf) {
    std::string text = WithCrLf(ReadRichText(rtf));
    richText_ = rtf;
    Reload(std::move(text), TControlChange::RichText);
}

void TRichEdit::SaveToFile(const std::string& fileName) const {
    const std::string content = plainText_ ? Text() : (richText_.empty() ? PlainTextToRtf(Text()) : richText_);
    if (!platform::Files().WriteFile(fileName, content))
        throw EFCreateError(Format("Cannot create file \"%s\"", {fileName}));
}

// ------------------------------------------------------------- selection

int TRichEdit::SnapBack(int position) const {
    const std::string& text = Text();
    if (position > 0 && position < static_cast<int>(text.size()) && text[position - 1] == '\r' &&
        text[position] == '\n')
        return position - 1;
    return position;
}

int TRichEdit::SnapForward(int position) const {
    const std::string& text = Text();
    if (position > 0 && position < static_cast<int>(text.size()) && text[position - 1] == '\r' &&
        text[position] == '\n')
        return position + 1;
    return position;
}

void TRichEdit::SetSelection(int start, int length) {
    const long long size = static_cast<long long>(Text().size());
    long long a = std::clamp<long long>(start, 0, size);
    long long b = std::clamp<long long>(static_cast<long long>(start) + length, 0, size);
    if (b < a) std::swap(a, b);
    const int from = SnapBack(static_cast<int>(a));
    const int to = a == b ? from : SnapForward(static_cast<int>(b));
    if (from == selStart_ && to - from == selLength_) return;
    selStart_ = from;
    selLength_ = to - from;
    Changed(TControlChange::Selection);
    if (OnSelectionChange) OnSelectionChange(this);
}

void TRichEdit::SetSelStart(int position) { SetSelection(position, 0); }

void TRichEdit::SetSelLength(int length) { SetSelection(selStart_, length); }

void TRichEdit::SelectAll() { SetSelection(0, static_cast<int>(Text().size())); }

std::string TRichEdit::SelText() const { return Text().substr(selStart_, selLength_); }

void TRichEdit::SetSelText(const std::string& text) {
    const std::string inserted = WithCrLf(text);
    const std::string& old = Text();
    std::string next = old.substr(0, selStart_) + inserted + old.substr(selStart_ + selLength_);
    const int oldStart = selStart_, oldLength = selLength_;
    // The caret behind what was put in (valid in the new text, so Replace keeps it).
    selStart_ += static_cast<int>(inserted.size());
    selLength_ = 0;
    Replace(std::move(next), TControlChange::Text);
    if (selStart_ != oldStart || selLength_ != oldLength) {
        Changed(TControlChange::Selection);
        if (OnSelectionChange) OnSelectionChange(this);
    }
}

// ----------------------------------------------------------------- flags

void TRichEdit::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    Changed(TControlChange::Style);
}

void TRichEdit::SetReadOnly(bool v) {
    if (v == readOnly_) return;
    readOnly_ = v;
    Changed(TControlChange::Style);
}

void TRichEdit::SetHideSelection(bool v) {
    if (v == hideSelection_) return;
    hideSelection_ = v;
    Changed(TControlChange::Style);
}

void TRichEdit::SetScrollBars(TScrollStyle v) {
    if (v == scrollBars_) return;
    scrollBars_ = v;
    Changed(TControlChange::Style);
}

void TRichEdit::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    Changed(TControlChange::Style);
}

// ---------------------------------------------------------- find, lines

int TRichEdit::FindText(const std::string& text, int start, int end, bool matchCase) const {
    const std::string& content = Text();
    const long long size = static_cast<long long>(content.size());
    if (text.empty() || start > size) return -1;
    const long long from = std::max(0, start);
    const long long to = end < 0 || end > size ? size : end;
    if (to - from < static_cast<long long>(text.size())) return -1;
    const std::size_t found = matchCase ? content.find(text, static_cast<std::size_t>(from))
                                        : PosText(text, content, static_cast<std::size_t>(from));
    if (found == std::string::npos || static_cast<long long>(found + text.size()) > to) return -1;
    return static_cast<int>(found);
}

int TRichEdit::LineFromChar(int position) const {
    const std::string& text = Text();
    if (position < 0) position = selStart_;
    const std::size_t end = std::min(static_cast<std::size_t>(position), text.size());
    return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

int TRichEdit::LineIndex(int line) const {
    if (line < 0) return -1;
    if (line == 0) return 0;
    const std::string& text = Text();
    std::size_t at = 0;
    for (int i = 0; i < line; ++i) {
        at = text.find('\n', at);
        if (at == std::string::npos) return -1;
        ++at;
    }
    return static_cast<int>(at);
}

void TRichEdit::ScrollLines(int lines) {
    SetFirstVisibleLine(static_cast<int>(std::clamp<long long>(static_cast<long long>(firstVisible_) + lines,
                                                               0, std::max(0, LineCount() - 1))));
}

void TRichEdit::SetFirstVisibleLine(int line) {
    line = std::clamp(line, 0, std::max(0, LineCount() - 1));
    if (line == firstVisible_) return;
    firstVisible_ = line;
    Changed(TControlChange::Scroll);
}

// ------------------------------------------------------------- clipboard

bool TRichEdit::CopyToClipboard() {
    if (selLength_ == 0) return false;
    return platform::Clipboard().SetText(SelText());
}

bool TRichEdit::CutToClipboard() {
    if (readOnly_ || selLength_ == 0) return false;
    if (!platform::Clipboard().SetText(SelText())) return false;
    SetSelText("");
    return true;
}

bool TRichEdit::PasteFromClipboard() {
    if (readOnly_) return false;
    const std::optional<std::string> text = platform::Clipboard().GetText();
    if (!text) return false;
    SetSelText(*text);
    return true;
}

bool TRichEdit::ClearSelection() {
    if (readOnly_ || selLength_ == 0) return false;
    SetSelText("");
    return true;
}

void TRichEdit::TypeText(const std::string& text) {
    if (!readOnly_) SetSelText(text);
}

// ------------------------------------------------------------------ RTF

std::string PlainTextToRtf(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil MS Sans Serif;}}\r\n\\pard\\f0\\fs16 ";
    out.reserve(out.size() + text.size() + text.size() / 8 + 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            out += "\\par\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x80) {
            out += "\\'";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += "\\par}";  // the document's own closing mark, which a reader drops
    return out;
}

}  // namespace rt
