#include "runtime/RtfReader.h"

#include <algorithm>
#include <iterator>
#include <mutex>
#include <vector>

namespace rt {

std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not part of the document's text.
constexpr std::string_view kSkipped[] = {
    "author",      "buptim",       "colorschememapping", "colortbl",    "comment",     "creatim",
    "datastore",   "doccomm",      "filetbl",            "fldinst",     "fonttbl",     "footer",
    "footerf",     "footerl",      "footerr",            "footnote",    "generator",   "header",
    "headerf",     "headerl",      "headerr",            "info",        "keywords",    "latentstyles",
    "listoverridetable", "listtable", "mmathPr",         "nonshppict",  "object",      "operator",
    "pgdsctbl",    "pict",         "pntext",             "pntxta",      "pntxtb",      "printim",
    "private",     "protusertbl",  "revtbl",             "revtim",      "rsidtbl",     "shpinst",
    "stylesheet",  "subject",      "template",           "themedata",   "title",       "userprops",
    "xmlnstbl",    "bkmkstart",    "bkmkend",            "listtext",
};

constexpr std::size_t kMaxDepth = 256;   // nesting kept; deeper groups share their parent's state
constexpr std::size_t kMaxWord = 32;     // letters of a control word that count
constexpr int kMaxDigits = 10;           // digits of a parameter that count

class PlainTextReader {
public:
    explicit PlainTextReader(std::string_view rtf) : rtf_(rtf) {}

    std::string Read() {
        out_.reserve(rtf_.size());
        while (pos_ < rtf_.size() && !done_) Step();
        // The document's closing paragraph mark is the control's own final
        // mark, not text: a rich-edit control drops it on loading.
        if (lastParagraphEnd_ != 0 && lastParagraphEnd_ == out_.size()) out_.resize(out_.size() - 2);
        return std::move(out_);
    }

private:
    struct Group {
        bool skip = false;
        int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
    };

    Group& Top() { return groups_.back(); }

    void Emit(std::string_view text) {
        if (Top().skip) return;
        if (pendingSkip_ > 0) {
            --pendingSkip_;  // a fallback character of the last \uN
            return;
        }
        out_ += text;
    }
    void Emit(char c) { Emit(std::string_view(&c, 1)); }
    void EmitParagraphEnd() {
        const std::size_t before = out_.size();
        Emit("\r\n");
        if (out_.size() != before) lastParagraphEnd_ = out_.size();
    }

    void Open() {
        pendingSkip_ = 0;
        if (groups_.size() < kMaxDepth) groups_.push_back(groups_.empty() ? Group{} : Top());
        else ++overflow_;
    }

    void Close() {
        pendingSkip_ = 0;
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (!groups_.empty()) groups_.pop_back();
        if (groups_.empty()) done_ = true;  // the document's group has closed
    }

    void Step() {
        const char c = rtf_[pos_++];
        if (groups_.empty()) {
            // Before the document's group: only blanks are allowed (the caller checked).
            if (c == '{') Open();
            return;
        }
        switch (c) {
            case '{': Open(); return;
            case '}': Close(); return;
            case '\\': Control(); return;
            case '\r':
            case '\n': return;
            case '\0': return;
            default: Emit(c); return;
        }
    }

    void Control() {
        if (pos_ >= rtf_.size()) return;
        const char c = rtf_[pos_];
        if (IsLetter(c)) return Word();
        ++pos_;
        switch (c) {
            case '\\':
            case '{':
            case '}': Emit(c); return;
            case '\'': {
                const int high = pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
                const int low = pos_ + 1 < rtf_.size() ? HexValue(rtf_[pos_ + 1]) : -1;
                if (high < 0 || low < 0) {  // a broken escape gives nothing, its digit included
                    if (high >= 0) ++pos_;
                    return;
                }
                pos_ += 2;
                Emit(static_cast<char>(high * 16 + low));
                return;
            }
            case '*': Top().skip = true; return;
            case '~': Emit('\xA0'); return;
            case '_': Emit('-'); return;
            case '\r':
            case '\n': EmitParagraphEnd(); return;  // "\" before a line end is \par
            case '\t': Emit('\t'); return;
            default: return;  // \- \| \: and unknown symbols show nothing
        }
    }

    void Word() {
        const std::size_t start = pos_;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_])) ++pos_;
        const std::string_view word = rtf_.substr(start, std::min(pos_ - start, kMaxWord));
        bool negative = false, hasParam = false;
        long long param = 0;
        if (pos_ < rtf_.size() && rtf_[pos_] == '-' && pos_ + 1 < rtf_.size() && IsDigit(rtf_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        for (int digits = 0; pos_ < rtf_.size() && IsDigit(rtf_[pos_]); ++pos_, ++digits) {
            hasParam = true;
            if (digits < kMaxDigits) param = param * 10 + (rtf_[pos_] - '0');
        }
        if (negative) param = -param;
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;  // the delimiting blank belongs to the word
        Apply(word, hasParam, param);
    }

    void Apply(std::string_view word, bool hasParam, long long param) {
        if (word == "bin") {
            // Binary data follows: skip it unread.
            const std::size_t length = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
            pos_ += std::min(length, rtf_.size() - pos_);
            return;
        }
        if (std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped)) {
            Top().skip = true;
            return;
        }
        if (word == "uc") {
            Top().unicodeSkip = hasParam && param >= 0 && param < 16 ? static_cast<int>(param) : 1;
            return;
        }
        if (word == "u" && hasParam) {
            long long code = param < 0 ? param + 65536 : param;
            if (Top().skip) return;
            if (pendingSkip_ > 0) {
                --pendingSkip_;
                return;
            }
            // ANSI characters directly (below 0x80, and 0xA0..0xFF where code
            // page 1252 is Latin-1); the writer's fallback text otherwise.
            if ((code > 0 && code < 0x80) || (code >= 0xA0 && code <= 0xFF)) {
                out_ += static_cast<char>(code);
                pendingSkip_ = Top().unicodeSkip;
            }
            return;
        }
        if (word == "par") return EmitParagraphEnd();
        if (word == "line" || word == "sect" || word == "page" || word == "row") return Emit("\r\n");
        if (word == "tab" || word == "cell") return Emit('\t');
        if (word == "emdash") return Emit('\x97');
        if (word == "endash") return Emit('\x96');
        if (word == "bullet") return Emit('\x95');
        if (word == "lquote") return Emit('\x91');
        if (word == "rquote") return Emit('\x92');
        if (word == "ldblquote") return Emit('\x93');
        if (word == "rdblquote") return Emit('\x94');
        if (word == "emspace" || word == "enspace" || word == "qmspace") return Emit(' ');
        // Any other word formats and shows nothing; inside a fallback run it
        // counts as one character.
        if (pendingSkip_ > 0 && !Top().skip) --pendingSkip_;
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::string out_;
    std::vector<Group> groups_;
    std::size_t overflow_ = 0;
    std::size_t lastParagraphEnd_ = 0;  // out_'s size just after the last \par
    int pendingSkip_ = 0;
    bool done_ = false;
};

std::mutex readerMutex;
TRichTextReader& ReaderSlot() {
    static TRichTextReader reader;
    return reader;
}

}  // namespace

std::string RtfToPlainText(std::string_view rtf) {
    std::size_t start = 0;
    while (start < rtf.size() && (rtf[start] == ' ' || rtf[start] == '\t' || rtf[start] == '\r' || rtf[start] == '\n'))
        ++start;
    if (rtf.substr(start, 5) != "{\\rtf") return WithCrLf(rtf);
    return PlainTextReader(rtf.substr(start)).Read();
}

TRichTextReader SetRichTextReader(TRichTextReader reader) {
    std::lock_guard<std::mutex> lock(readerMutex);
    std::swap(ReaderSlot(), reader);
    return reader;
}

std::string ReadRichText(const std::string& rtf) {
    TRichTextReader reader;
    {
        std::lock_guard<std::mutex> lock(readerMutex);
        reader = ReaderSlot();
    }
    return reader ? reader(rtf) : RtfToPlainText(rtf);
}

}  // namespace rt
