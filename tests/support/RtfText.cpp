#include "RtfText.h"

#include <random>

namespace zrtest {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "\\word" (built by append: GCC 12 warns falsely on "literal" + string).
std::string ControlName(std::string_view word) {
    std::string name(1, '\\');
    return name.append(word);
}

class Reader {
public:
    explicit Reader(std::string_view rtf) : rtf_(rtf) {}

    RtfText Read() {
        if (rtf_.substr(0, 6) != "{\\rtf1") Fail("no {\\rtf1 at the start");
        result_.text.reserve(rtf_.size());
        result_.colours.reserve(rtf_.size());
        while (pos_ < rtf_.size() && result_.error.empty()) Step();
        if (result_.error.empty() && !closed_) Fail("the document's group is not closed");
        return std::move(result_);
    }

private:
    enum class Destination { Body, FontTable, ColourTable };
    struct Group {
        Destination destination = Destination::Body;
        int colour = 0;
    };

    void Fail(const std::string& why) {
        if (result_.error.empty()) result_.error = why + " at offset " + std::to_string(pos_);
    }

    void Step() {
        const char c = rtf_[pos_];
        if (closed_) {
            if (c != '\r' && c != '\n') Fail("data behind the document");
            ++pos_;
            return;
        }
        if (c == '{') {
            groups_.push_back(groups_.empty() ? Group{} : groups_.back());
            ++pos_;
        } else if (c == '}') {
            if (groups_.empty()) return Fail("unbalanced }");
            if (groups_.back().destination == Destination::ColourTable && pendingColour_)
                Fail("colour table entry without its ;");
            groups_.pop_back();
            closed_ = groups_.empty();
            if (closed_ && !result_.text.empty() && result_.text.back() == '\r') {
                result_.text.pop_back();  // the end mark, as a rich-edit control loading the whole document takes it
                result_.colours.pop_back();
            }
            ++pos_;
        } else if (c == '\\') {
            ControlWord();
        } else if (c == '\r' || c == '\n') {
            ++pos_;  // line ends of the RTF text itself mean nothing
        } else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
            Fail("raw byte " + std::to_string(static_cast<unsigned char>(c)));
        } else if (!groups_.empty() && groups_.back().destination == Destination::Body) {
            // A run of plain text at once: the tests read megabytes, in debug builds too.
            const char* const begin = rtf_.data() + pos_;
            const char* const last = rtf_.data() + rtf_.size();
            const char* end = begin;
            while (end != last && *end >= 0x20 && *end <= 0x7E && *end != '\\' && *end != '{' && *end != '}') ++end;
            result_.text.append(begin, end);
            result_.colours.resize(result_.text.size(), CurrentColour());
            pos_ += end - begin;
        } else {
            ++pos_;
            Character(c);
        }
    }

    std::uint32_t CurrentColour() const {
        return colourTable_.empty() ? kRtfAutoColour : colourTable_[groups_.back().colour];
    }

    void ControlWord() {
        ++pos_;
        if (pos_ >= rtf_.size()) return Fail("lone \\ at the end");
        const char first = rtf_[pos_];
        if (!IsLetter(first)) {
            ++pos_;
            if (first == '\\' || first == '{' || first == '}') return Character(first);
            if (first != '\'') return Fail(std::string("control symbol \\") + first);
            const int high = pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
            const int low = pos_ + 1 < rtf_.size() ? HexValue(rtf_[pos_ + 1]) : -1;
            if (high < 0 || low < 0) return Fail("\\' without two hex digits");
            pos_ += 2;
            return Character(static_cast<char>(high * 16 + low));
        }
        const std::size_t start = pos_;
        while (pos_ < rtf_.size() && IsLetter(rtf_[pos_])) ++pos_;
        const std::string_view word = rtf_.substr(start, pos_ - start);
        bool hasNumber = false;
        long number = 0;
        bool negative = pos_ < rtf_.size() && rtf_[pos_] == '-';
        if (negative) ++pos_;
        while (pos_ < rtf_.size() && IsDigit(rtf_[pos_]) && number < 1000000) {
            number = number * 10 + (rtf_[pos_] - '0');
            hasNumber = true;
            ++pos_;
        }
        if (negative && !hasNumber) return Fail(ControlName(word) + "- without a number");
        if (negative) number = -number;
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
        Apply(word, hasNumber, number);
    }

    void Apply(std::string_view word, bool hasNumber, long number) {
        const auto name = [word] { return ControlName(word); };
        if (groups_.empty()) return Fail(name() + " outside the document");
        Group& group = groups_.back();
        const bool body = group.destination == Destination::Body;
        if (body && word == "cf") {  // the frequent ones first
            if (!hasNumber || number < 0 || static_cast<std::size_t>(number) >= colourTable_.size())
                return Fail(name() + std::to_string(number) + " outside the colour table");
            group.colour = static_cast<int>(number);
            ++result_.colourSwitches;
        } else if (body && word == "par") {
            Character('\r');
        } else if (body && word == "tab") {
            Character('\t');
        } else if (word == "fonttbl") {
            group.destination = Destination::FontTable;
        } else if (word == "colortbl") {
            group.destination = Destination::ColourTable;
        } else if (group.destination == Destination::ColourTable) {
            const int shift = word == "red" ? 16 : word == "green" ? 8 : word == "blue" ? 0 : -1;
            if (shift < 0 || !hasNumber || number < 0 || number > 255) return Fail(name() + " in the colour table");
            pendingColour_ |= 0x01000000u | (static_cast<std::uint32_t>(number) << shift);
        } else if (group.destination == Destination::FontTable) {
            if (word == "f") fontNumber_ = number;
            else if (word != "fmodern" && word != "fprq" && word != "fcharset" && word != "fnil") Fail(name() + " in the font table");
        } else if (word == "fs") {
            result_.fontHalfPoints = static_cast<int>(number);
        } else if (word == "f") {
            if (number != 0) Fail("font other than 0");
        } else if (word != "rtf" && word != "ansi" && word != "ansicpg" && word != "deff" && word != "pard" &&
                   word != "plain") {
            Fail(name() + ": unknown control word");
        }
    }

    void Character(char c) {
        if (groups_.empty()) return Fail("text outside the document");
        switch (groups_.back().destination) {
        case Destination::FontTable:
            if (fontNumber_ == 0 && c != ';') result_.fontName += c;
            return;
        case Destination::ColourTable:
            if (c == ';') {
                colourTable_.push_back(pendingColour_ ? pendingColour_ & 0xFFFFFFu : kRtfAutoColour);
                pendingColour_ = 0;
            } else if (c != ' ') {
                Fail(std::string("text in the colour table: ") + c);
            }
            return;
        case Destination::Body:
            result_.text += c;
            result_.colours.push_back(CurrentColour());
        }
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::vector<Group> groups_;
    bool closed_ = false;  // the document's outermost group has ended
    std::vector<std::uint32_t> colourTable_;
    std::uint32_t pendingColour_ = 0;  // components of the entry being read, bit 24 set once any is
    long fontNumber_ = -1;
    RtfText result_;
};

// Builds a sample page line by line with a random line end after each line.
class PageWriter {
public:
    explicit PageWriter(unsigned seed) : random_(seed) {}

    std::size_t Size() const { return page_.size(); }
    std::string Take() { return std::move(page_); }
    unsigned Pick(unsigned count) { return std::uniform_int_distribution<unsigned>(0, count - 1)(random_); }

    PageWriter& Line(std::string_view text) {
        page_ += text;
        static const char* const kLineEnds[] = {"\r\n", "\n", "\r"};
        page_ += kLineEnds[Pick(3)];
        return *this;
    }
    // Text with a few bytes above 0x7F (accents, currency, symbols).
    std::string HighBytes(std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += static_cast<char>(0x80 + Pick(0x80));
        return text;
    }

private:
    std::mt19937 random_;
    std::string page_;
};

}  // namespace

RtfText ReadRtf(std::string_view rtf) { return Reader(rtf).Read(); }

std::string WithParagraphEnds(std::string_view page) {
    std::string text;
    text.reserve(page.size());
    for (std::size_t i = 0; i < page.size(); ++i) {
        if (page[i] == '\n' && i > 0 && page[i - 1] == '\r') continue;
        text += page[i] == '\n' ? '\r' : page[i];
    }
    return text;
}

std::string SamplePage(std::size_t bytes, unsigned seed) {
    PageWriter page(seed);
    page.Line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">")
        .Line("<?xml version=\"1.0\" encoding=\"windows-1252\"?>")
        .Line("<html lang=en>")
        .Line("<head>")
        .Line("<meta http-equiv=\"Content-Type\" content='text/html; charset=windows-1252'>")
        .Line("<title>Caf\xe9 &amp; Bar \x80 5 &#8211; menu</title>")
        .Line("<style type=\"text/css\">")
        .Line("body { font: 10pt \"Courier New\"; }\tdiv > p { margin: 0 }")
        .Line("a[href$='.pdf']:after { content: \"\\2192  </div> &amp;\"; }")
        .Line("</STYLE>")
        .Line("</head>")
        .Line("<body bgcolor=#ffffff onload=\"init();\">");
    for (unsigned block = 0; page.Size() < bytes; ++block) {
        const std::string n = std::to_string(block);
        switch (page.Pick(10)) {
        case 0:
            page.Line("<p class=\"intro\" id=p" + n + " data-x = 'y'>Fish &amp; chips &#169; 2004 &#x20AC; AT&T, a < b, c > d;")
                .Line("caf" + page.HighBytes(3) + " &nbsp;&nbsp; the end&#33;</p>");
            break;
        case 1:
            page.Line("<a href=\"http://example.test/search?q=" + n + "&amp;lang=en\" target=_blank onclick='go(\"x\"); return false'>")
                .Line("link " + n + "</a> <img src=/img/a" + n + ".png alt=\"a > b\" width=10 height=\"20\"/><br/>");
            break;
        case 2:
            page.Line("<!-- note " + n + ": <b>not bold</b> & not an &amp; entity -->")
                .Line("<!-- a comment")
                .Line("   over -- three")
                .Line("lines --><!----><!-->text after an empty comment");
            break;
        case 3:
            page.Line("<script type=\"text/javascript\" language='JavaScript'>")
                .Line("<!--")
                .Line("var s = \"</div>\" + '\\n' + \"&amp;\";\tif (a < b && c > d) { s += \"{}\"; }")
                .Line("// </scripts> and </scriptx> end nothing; document.write(\"<b>\" + x + \"<\\/b>\");")
                .Line("//-->")
                .Line("</SCRIPT>");
            break;
        case 4:
            page.Line("<style>td.c" + n + " { color: red; } /* <p> is no tag here */ p:before { content: '&lt;'; }</Style >");
            break;
        case 5:
            page.Line("<table border=0 cellpadding=\"2\">")
                .Line("<tr>\t<td\tclass=\"c1\"\tstyle=\"color:")
                .Line("   red; width: 10%\">\t" + n + "\t</td><td align=right>" + page.HighBytes(5) + "</td></tr>")
                .Line("</table>");
            break;
        case 6:
            page.Line("<form action=\"/post.cgi\" method=POST><input type=checkbox checked disabled>")
                .Line("<input value=\"\" name=''><input name=q value=\"it's &quot;quoted&quot;\" >")
                .Line("<select name=\"s\"><option value=1 selected>One<option value='2'>Two</select></form>");
            break;
        case 7:
            page.Line("<pre>{braces} and \\backslash\\ and C:\\path\\file.txt \\par {\\rtf1 not rtf}</pre>");
            break;
        case 8:
            page.Line("<DIV ALIGN=CENTER><FONT FACE=\"Arial\" SIZE=-1>Upper case " + n + " &COPY; &#X41;</FONT></DIV >")
                .Line("")
                .Line("");
            break;
        default:
            page.Line("<p>Plain text paragraph number " + n + " with some words in it to make it look like")
                .Line("the text of a real page, " + page.HighBytes(2) + " and < a lone bracket.</p>");
        }
    }
    page.Line("</body>").Line("</html>");
    return page.Take();
}

}  // namespace zrtest
