// The source viewer's HTML-to-RTF converter, read back by a strict RTF
// reader: every byte of the page comes back, each line end as one paragraph
// end, and each character carries the colour of what it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "RtfText.h"
#include "toolbar/HtmlToRtf.h"

using toolbar::HtmlToRtf;
using toolbar::THtmlPart;
using zrtest::ReadRtf;
using zrtest::RtfText;
using zrtest::WithParagraphEnds;

namespace {

std::uint32_t Rgb(THtmlPart part) {
    const toolbar::TRtfColour colour = toolbar::HtmlPartColour(part);
    return (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) | colour.blue;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// One letter per character of the text read back: the part its colour
// says; blanks, whose colour nobody sees, as ".".
std::string Picture(const std::string& html) {
    static const std::pair<THtmlPart, char> kLetters[] = {
        {THtmlPart::Text, 't'},   {THtmlPart::Tag, '<'},     {THtmlPart::AttributeName, 'n'},
        {THtmlPart::AttributeValue, 'v'}, {THtmlPart::Entity, '&'}, {THtmlPart::Comment, 'c'},
        {THtmlPart::Declaration, 'd'},    {THtmlPart::Instruction, 'i'}};
    const RtfText read = ReadRtf(HtmlToRtf(html));
    EXPECT_EQ(read.error, "");
    std::string picture;
    for (std::size_t i = 0; i < read.text.size(); ++i) {
        char letter = '?';
        for (const auto& [part, partLetter] : kLetters)
            if (read.colours[i] == Rgb(part)) letter = partLetter;
        picture += IsBlank(read.text[i]) ? '.' : letter;
    }
    return picture;
}

// Reads the page's RTF back and checks it: cleanly read, every character
// kept, and one \cf per run of visible characters in one colour (plus the
// one that opens the document).
void ExpectKept(const std::string& html) {
    const RtfText read = ReadRtf(HtmlToRtf(html));
    ASSERT_EQ(read.error, "");
    ASSERT_EQ(read.text, WithParagraphEnds(html));
    std::size_t runs = 0;
    std::uint32_t last = Rgb(THtmlPart::Text);
    for (std::size_t i = 0; i < read.text.size(); ++i) {
        if (IsBlank(read.text[i]) || read.colours[i] == last) continue;
        last = read.colours[i];
        ++runs;
    }
    EXPECT_EQ(read.colourSwitches, runs + 1);
}

std::string AllBytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
    return bytes;
}

TEST(HtmlToRtfTest, IsA7BitDocumentInCodePage1252AndA10PointFixedFont) {
    const std::string rtf = HtmlToRtf("<p>x</p>");
    EXPECT_NE(rtf.find("\\ansi\\ansicpg1252"), std::string::npos);
    const RtfText read = ReadRtf(rtf);
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.fontName, "Courier New");
    EXPECT_EQ(read.fontHalfPoints, 20);
    EXPECT_EQ(ReadRtf(HtmlToRtf("")).text, "");
}

TEST(HtmlToRtfTest, EveryByteValueIsKeptWhereverItStands) {
    const std::string bytes = AllBytes();
    for (const char* before : {"", "<p title=\"", "<p title='", "<p title=", "<p ", "<!-- ", "<!DOCTYPE ",
                                      "<?xml ", "<script>", "<style>x</style>&"}) {
        SCOPED_TRACE(before);
        ExpectKept(before + bytes);
        ExpectKept(before + bytes + bytes);
    }
    const std::string rtf = HtmlToRtf(std::string("a\0b\x01\x7f", 5));
    EXPECT_NE(rtf.find("a\\'00b\\'01\\'7f"), std::string::npos);
}

TEST(HtmlToRtfTest, EachLineEndIsOneParagraphEnd) {
    EXPECT_EQ(ReadRtf(HtmlToRtf("a\r\nb\nc\rd\n\r\r\n\n")).text, "a\rb\rc\rd\r\r\r\r");
    // Also where a CR LF falls inside markup or between two constructs.
    EXPECT_EQ(ReadRtf(HtmlToRtf("<!-- x\r\n-->\r\n<a\r\nhref=\"1\r\n2\"\r>\n")).text, "<!-- x\r-->\r<a\rhref=\"1\r2\"\r>\r");
    EXPECT_EQ(ReadRtf(HtmlToRtf("<b>\r</b>\n\r\r\n<script>\r\n</script>\r")).text, "<b>\r</b>\r\r\r<script>\r</script>\r");
}

TEST(HtmlToRtfTest, AttributesInEveryQuoteStyleAndTheirEntities) {
    EXPECT_EQ(Picture("<a href=\"x&amp;y z\" title='t\"' id=u/v disabled>x"),
                      "<<.nnnn<vv&&&&&v.vv.nnnnn<vvvv.nn<vvv.nnnnnnnn<t");
    EXPECT_EQ(Picture("<IMG  SRC = a.png ALT=\"a > b\"/>x"), "<<<<..nnn.<.vvvvv.nnn<vv.v.vv<<t");
    EXPECT_EQ(Picture("<a / b='<b>'>x"), "<<.<.n<vvvvv<t");
    EXPECT_EQ(Picture("</p class=x >x"), "<<<.nnnnn<v.<t");
    EXPECT_EQ(Picture("<a =x \"q'=1>x"), "<<.nn.nnn<v<t");  // quotes inside a name belong to it
}

TEST(HtmlToRtfTest, OnlyWellFormedReferencesAreEntities) {
    EXPECT_EQ(Picture("&amp; &#123; &#x1F; &#X1f; &AMP;x"), "&&&&&.&&&&&&.&&&&&&.&&&&&&.&&&&&t");
    EXPECT_EQ(Picture("& &#; &#x; &#xg; &1; &a-b; &amp &&lt;"), "t.ttt.tttt.ttttt.ttt.ttttt.tttt.t&&&&");
    EXPECT_EQ(Picture("&" + std::string(70, 'a') + ";"), std::string(72, 't'));  // too long for a name
}

TEST(HtmlToRtfTest, BracketsThatStartNoMarkupAreText) {
    EXPECT_EQ(Picture("a < b <3 </ > <> <=x</1>"), "t.t.t.tt.tt.t.tt.ttttttt");
}

TEST(HtmlToRtfTest, CommentsDeclarationsAndInstructionsSwallowMarkup) {
    EXPECT_EQ(Picture("<!-- <a href=\"x\"> &amp; -->x"), "cccc.cc.ccccccccc.ccccc.ccct");
    EXPECT_EQ(Picture("<!-->x<!--->x"), "ccccctcccccct");
    EXPECT_EQ(Picture("<!-- a -- b --!>x<!--!>-->x"), "cccc.c.cc.c.cccctccccccccct");
    EXPECT_EQ(Picture("<!DOCTYPE html><!x><?xml v=\"1\"?>x"), "ddddddddd.dddddddddiiiii.iiiiiiit");
}

TEST(HtmlToRtfTest, ScriptAndStyleContentsAreTextUpToTheirOwnEndTag) {
    EXPECT_EQ(Picture("<script>if(a<b)x=\"&amp;</b>\";</SCRIPT >&lt;"),
                      "<<<<<<<<ttttttttttttttttttttt<<<<<<<<.<&&&&");
    EXPECT_EQ(Picture("<style>p{}</stylez></style/>x"), "<<<<<<<tttttttttttt<<<<<<<<<t");
    // "/>" changes nothing for a script; a script name in a value or a longer name starts none.
    EXPECT_EQ(Picture("<script src=a />&lt;</script>"), "<<<<<<<.nnn<v.<<tttt<<<<<<<<<");
    EXPECT_EQ(Picture("<a t=\"<script>\"><scripts>&lt;"), "<<.n<vvvvvvvvvv<<<<<<<<<<&&&&");
}

TEST(HtmlToRtfTest, UnfinishedConstructsRunToTheEndInTheirColour) {
    EXPECT_EQ(Picture("<a href=\"x y"), "<<.nnnn<vv.v");
    EXPECT_EQ(Picture("<a href='x"), "<<.nnnn<vv");
    EXPECT_EQ(Picture("<a href"), "<<.nnnn");
    EXPECT_EQ(Picture("<!-- a <b>"), "cccc.c.ccc");
    EXPECT_EQ(Picture("<script>a<b</scrip"), "<<<<<<<<tttttttttt");
    EXPECT_EQ(Picture("<?xml x"), "iiiii.i");
    EXPECT_EQ(Picture("<!DOCTYPE x"), "ddddddddd.d");
    for (const char* html : {"<", "<a", "</", "</a", "<a b=", "<a b='", "<!", "<!-", "<!--", "<!---", "<?", "&",
                                    "&#", "&#x", "&amp", "<script>", "<script></script", "<style><!--", "\\", "{", "}"}) {
        SCOPED_TRACE(html);
        ExpectKept(html);
        ExpectKept(std::string(html) + "x" + html);
    }
}

TEST(HtmlToRtfTest, AGeneratedPageComesBackExactlyWithEveryPartColoured) {
    const std::string page = zrtest::SamplePage(200 * 1024);
    ASSERT_GE(page.size(), 200u * 1024);
    ExpectKept(page);
    const RtfText read = ReadRtf(HtmlToRtf(page));
    for (int part = 0; part < toolbar::kHtmlPartCount; ++part) {
        SCOPED_TRACE(part);
        EXPECT_NE(std::find(read.colours.begin(), read.colours.end(), Rgb(static_cast<THtmlPart>(part))),
                  read.colours.end());
    }
}

TEST(HtmlToRtfTest, RandomBytesComeBackExactly) {
    std::mt19937 random(7);
    // Mostly the bytes that steer the scanner, so that odd markup is frequent.
    const std::string steering = "<>&#;/=\"'!-?xXaS\\{}\r\n\t ";
    for (int round = 0; round < 300; ++round) {
        std::string html(random() % 400, '\0');
        for (char& c : html)
            c = random() % 4 ? steering[random() % steering.size()] : static_cast<char>(random() % 256);
        SCOPED_TRACE(round);
        ExpectKept(html);
    }
}

TEST(HtmlToRtfTest, TenMegabytesOnOneLine) {
    // A megabyte each of one construct repeated, then what closes it.
    const std::pair<std::string, std::string> kPieces[] = {
        {"&", ""}, {"&a", " "}, {"&#x1", " "}, {"<script>", "</script>"}, {"</scrip", "</script>"},
        {"<a b=c ", ">"}, {"<!-", ">"}, {"<!-- -", "->"}, {"<p title=\"{\\", "\">"}, {std::string("\t\x80\0", 3), ""}};
    std::string html;
    for (const auto& [piece, closer] : kPieces) {
        const std::size_t end = html.size() + 1024 * 1024;
        while (html.size() < end) html += piece;
        html += closer;
    }
    html.resize(10 * 1024 * 1024, '<');
    ExpectKept(html);
}

}  // namespace
