#include "toolbar/HtmlToRtf.h"

#include <string_view>

namespace toolbar {

namespace {

// Indexed by THtmlPart; written as entries 1.. of the colour table.
constexpr TRtfColour kPartColours[kHtmlPartCount] = {
    {0, 0, 0},        // Text: black
    {128, 0, 128},    // Tag: purple
    {192, 0, 0},      // AttributeName: red
    {0, 0, 224},      // AttributeValue: blue
    {176, 88, 0},     // Entity: brown
    {0, 128, 0},      // Comment: green
    {112, 112, 112},  // Declaration: grey
    {0, 128, 128},    // Instruction: teal
};

constexpr std::size_t kMaxEntityLength = 64;  // "&" to ";": longer is taken as text

constexpr bool IsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
constexpr bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
constexpr unsigned char Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }
// The white space that separates the parts of a tag.
constexpr bool IsHtmlSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
// Characters nobody sees the colour of: they never cause a colour switch.
constexpr bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Writes the document: header, the page's characters with their colours, end.
class TRtfWriter {
public:
    explicit TRtfWriter(std::string& out) : out_(out) {}

    void Begin() {
        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n";
        out_ += "{\\colortbl ;";
        for (const TRtfColour& colour : kPartColours) {
            out_ += "\\red" + std::to_string(colour.red) + "\\green" + std::to_string(colour.green) + "\\blue" +
                    std::to_string(colour.blue) + ";";
        }
        out_ += "}\r\n\\pard\\plain\\f0\\fs20";
        WriteColour(colour_);
    }

    // A rich-edit control loading a whole document takes its closing \par for
    // its own end mark; the page's own last line end (if any) stays visible.
    void End() { out_ += "\\par\r\n}\r\n"; }

    void Put(THtmlPart part, unsigned char c) {
        if (part != colour_ && !IsBlank(c)) {
            colour_ = part;
            WriteColour(part);
        }
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}') {
            out_ += static_cast<char>(c);
            afterCR_ = false;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            out_ += '\\';
            out_ += static_cast<char>(c);
            break;
        case '\t':
            out_ += "\\tab ";
            break;
        case '\r':
            out_ += "\\par\r\n";
            break;
        case '\n':
            if (!afterCR_) out_ += "\\par\r\n";  // the LF of a CR LF pair ends nothing more
            break;
        default: {
            static constexpr char kHex[] = "0123456789abcdef";
            const char escaped[4] = {'\\', '\'', kHex[c >> 4], kHex[c & 15]};
            out_.append(escaped, 4);
        }
        }
        afterCR_ = c == '\r';
    }

    void Put(THtmlPart part, std::string_view text) {
        for (char c : text) Put(part, static_cast<unsigned char>(c));
    }

private:
    void WriteColour(THtmlPart part) {
        static_assert(kHtmlPartCount < 10);
        const char word[5] = {'\\', 'c', 'f', static_cast<char>('1' + static_cast<int>(part)), ' '};
        out_.append(word, 5);
    }

    std::string& out_;
    THtmlPart colour_ = THtmlPart::Text;  // the colour in effect in the document
    bool afterCR_ = false;                // the last character was a CR
};

// One pass over the page, the way a browser splits it into markup and text.
// Every construct is a loop of its own; each step writes at least one byte
// and looks ahead a bounded distance, so the work is linear.
class THtmlScanner {
public:
    THtmlScanner(std::string_view html, TRtfWriter& writer) : html_(html), writer_(writer) {}

    void Run() {
        while (pos_ < html_.size()) {
            const std::size_t stop = html_.find_first_of("<&", pos_);
            const std::size_t end = stop == std::string_view::npos ? html_.size() : stop;
            writer_.Put(THtmlPart::Text, html_.substr(pos_, end - pos_));
            pos_ = end;
            if (pos_ == html_.size()) break;
            if (html_[pos_] == '&') {
                PutAmpersand(THtmlPart::Text);
            } else if (!Markup()) {
                writer_.Put(THtmlPart::Text, '<');
                ++pos_;
            }
        }
    }

private:
    unsigned char At(std::size_t index) const {
        return index < html_.size() ? static_cast<unsigned char>(html_[index]) : 0;
    }

    // Writes html_[pos_, end) (end capped at the page's end) as one part.
    void PutUpTo(std::size_t end, THtmlPart part) {
        if (end > html_.size()) end = html_.size();
        writer_.Put(part, html_.substr(pos_, end - pos_));
        pos_ = end;
    }

    // At "&": an entity when a well-formed reference follows, else a plain "&".
    void PutAmpersand(THtmlPart otherwise) {
        const std::size_t end = EntityEnd(pos_);
        if (end) {
            PutUpTo(end, THtmlPart::Entity);
        } else {
            writer_.Put(otherwise, '&');
            ++pos_;
        }
    }

    // The end of the reference "&name;", "&#123;" or "&#x1F;" at start, or 0.
    std::size_t EntityEnd(std::size_t start) const {
        std::size_t i = start + 1;
        if (At(i) == '#') {
            ++i;
            const bool hex = At(i) == 'x' || At(i) == 'X';
            if (hex) ++i;
            const std::size_t first = i;
            while (i - start < kMaxEntityLength && (hex ? IsHexDigit(At(i)) : IsDigit(At(i)))) ++i;
            if (i == first) return 0;
        } else {
            if (!IsLetter(At(i))) return 0;
            while (i - start < kMaxEntityLength && (IsLetter(At(i)) || IsDigit(At(i)))) ++i;
        }
        return At(i) == ';' ? i + 1 : 0;
    }

    // At "<": writes the comment, declaration, instruction or tag that starts
    // here; false when "<" starts none of them and is text.
    bool Markup() {
        const unsigned char next = At(pos_ + 1);
        if (next == '!' && At(pos_ + 2) == '-' && At(pos_ + 3) == '-') {
            PutUpTo(CommentEnd(), THtmlPart::Comment);
            return true;
        }
        if (next == '!' || next == '?') {  // both end at the first ">", as a browser reads them
            const std::size_t close = html_.find('>', pos_ + 2);
            PutUpTo(close == std::string_view::npos ? html_.size() : close + 1,
                    next == '!' ? THtmlPart::Declaration : THtmlPart::Instruction);
            return true;
        }
        if (IsLetter(next) || (next == '/' && IsLetter(At(pos_ + 2)))) {
            Tag();
            return true;
        }
        return false;
    }

    // The end of the comment "<!--" at pos_: behind "-->" or "--!>"; "<!-->"
    // and "<!--->" close at once, as in a browser. The page's end otherwise.
    std::size_t CommentEnd() const {
        const std::size_t open = pos_;
        for (std::size_t close = html_.find('>', open + 4); close != std::string_view::npos;
             close = html_.find('>', close + 1)) {
            if (html_[close - 1] == '-' && html_[close - 2] == '-') return close + 1;
            if (close >= open + 7 && html_[close - 1] == '!' && html_[close - 2] == '-' && html_[close - 3] == '-')
                return close + 1;
        }
        return html_.size();
    }

    // A start or end tag with its attributes, up to and including ">" or
    // "/>"; an unclosed tag runs to the page's end. The contents of a script
    // or style element follow as text.
    void Tag() {
        const bool closing = At(pos_ + 1) == '/';
        PutUpTo(pos_ + (closing ? 2 : 1), THtmlPart::Tag);
        const std::size_t nameStart = pos_;
        while (pos_ < html_.size() && !IsHtmlSpace(At(pos_)) && At(pos_) != '/' && At(pos_) != '>') ++pos_;
        const std::string_view name = html_.substr(nameStart, pos_ - nameStart);
        writer_.Put(THtmlPart::Tag, name);

        enum class TState { BeforeName, Name, AfterName, BeforeValue } state = TState::BeforeName;
        bool closed = false;
        while (pos_ < html_.size() && !closed) {
            const unsigned char c = At(pos_);
            if (IsHtmlSpace(c)) {
                writer_.Put(THtmlPart::Tag, c);
                ++pos_;
                if (state == TState::Name) state = TState::AfterName;
            } else if (state == TState::BeforeValue && c != '>') {
                AttributeValue();
                state = TState::BeforeName;
            } else if (c == '>') {
                writer_.Put(THtmlPart::Tag, c);
                ++pos_;
                closed = true;
            } else if (c == '/') {
                const bool selfClosing = At(pos_ + 1) == '>';
                PutUpTo(pos_ + (selfClosing ? 2 : 1), THtmlPart::Tag);
                closed = selfClosing;
                state = TState::BeforeName;
            } else if (c == '=' && (state == TState::Name || state == TState::AfterName)) {
                writer_.Put(THtmlPart::Tag, c);
                ++pos_;
                state = TState::BeforeValue;
            } else {  // quotes, "<" and a leading "=" belong to a name too
                writer_.Put(THtmlPart::AttributeName, c);
                ++pos_;
                state = TState::Name;
            }
        }
        // A browser ignores "/>" on these: their contents are text either way.
        if (closed && !closing && (SameName(name, "script") || SameName(name, "style"))) RawText(name);
    }

    // A quoted value (its quotes included; unclosed, it runs to the page's
    // end) or an unquoted one up to white space or ">".
    void AttributeValue() {
        const unsigned char quote = At(pos_);
        const bool quoted = quote == '"' || quote == '\'';
        if (quoted) {
            writer_.Put(THtmlPart::AttributeValue, quote);
            ++pos_;
        }
        while (pos_ < html_.size()) {
            const unsigned char c = At(pos_);
            if (quoted ? c == quote : (IsHtmlSpace(c) || c == '>')) break;
            if (c == '&') {
                PutAmpersand(THtmlPart::AttributeValue);
            } else {
                writer_.Put(THtmlPart::AttributeValue, c);
                ++pos_;
            }
        }
        if (quoted && pos_ < html_.size()) {
            writer_.Put(THtmlPart::AttributeValue, quote);
            ++pos_;
        }
    }

    // Everything up to "</name" (any case) followed by white space, "/", ">"
    // or the page's end, is text; that end tag is left for the main loop.
    void RawText(std::string_view name) {
        std::size_t at = pos_;
        while ((at = html_.find("</", at)) != std::string_view::npos) {
            const std::size_t after = at + 2 + name.size();
            if (SameName(html_.substr(at + 2, name.size()), name) &&
                (after >= html_.size() || IsHtmlSpace(At(after)) || At(after) == '/' || At(after) == '>'))
                break;
            at += 2;
        }
        PutUpTo(at == std::string_view::npos ? html_.size() : at, THtmlPart::Text);
    }

    // ASCII letters ignoring case; lower is in lower case.
    static bool SameName(std::string_view text, std::string_view lower) {
        if (text.size() != lower.size()) return false;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (Lower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(lower[i])) return false;
        return true;
    }

    std::string_view html_;
    TRtfWriter& writer_;
    std::size_t pos_ = 0;  // the next byte to write
};

}  // namespace

TRtfColour HtmlPartColour(THtmlPart part) {
    const int index = static_cast<int>(part);
    return index >= 0 && index < kHtmlPartCount ? kPartColours[index] : kPartColours[0];
}

std::string HtmlToRtf(const std::string& html) {
    std::string rtf;
    // Most pages grow by a tenth or so; bytes that need escapes grow it by
    // up to four, which the string's doubling absorbs.
    rtf.reserve(html.size() + html.size() / 4 + 512);
    TRtfWriter writer(rtf);
    writer.Begin();
    THtmlScanner(html, writer).Run();
    writer.End();
    return rtf;
}

}  // namespace toolbar
