// The headless RTF reader: escapes, groups, destinations left out, and any
// input read without a crash in bounded time.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "RtfText.h"
#include "runtime/RichEdit.h"
#include "runtime/RtfReader.h"

using namespace rt;

TEST(RtfReader, ParagraphsTabsAndEscapes) {
    EXPECT_EQ(RtfToPlainText("{\\rtf1 Hello\\par World}"), "Hello\r\nWorld");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\tab b\\line c\\sect d\\page e\\row f\\cell g}"), "a\tb\r\nc\r\nd\r\ne\r\nf\tg");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\\\ \\{ \\}}"), "\\ { }");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 caf\\'e9 \\'E9\\'zz!}"), "caf\xE9 \xE9zz!");  // a broken \' gives nothing
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\~b\\_c\\-d}"), "a\xA0" "b-cd");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\lquote x\\rquote  \\ldblquote y\\rdblquote \\emdash\\endash\\bullet}"),
              "\x91x\x92 \x93y\x94\x97\x96\x95");
    // Raw line ends are not text; "\" before one is a paragraph end.
    EXPECT_EQ(RtfToPlainText("{\\rtf1 one\r\ntwo\\\nthree\\\r\nfour}"), "onetwo\r\nthree\r\nfour");
    // The blank after a control word belongs to it; a second one is text.
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\b  bold\\b0 x\\fs20y}"), " boldxy");
    // A closing \par is the control's own final mark, as a real control loads it.
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\par}"), "");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\par\\par}"), "a\r\n");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\par{\\b0  }}"), "a\r\n ");  // text after it, even a blank, keeps it
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\line}"), "a\r\n");
    EXPECT_EQ(RtfToPlainText("{\\rtf1}"), "");
}

TEST(RtfReader, UnicodeWithFallback) {
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\u233?x}"), "\xE9x");             // ANSI: the character, fallback skipped
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\u8364?x}"), "?x");               // not ANSI: the fallback
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\uc2\\u233ab c}"), "\xE9 c");     // two fallback characters
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\uc0\\u233 x}"), "\xE9x");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\u233\\'e9x}"), "\xE9x");          // an escape is one fallback character
    EXPECT_EQ(RtfToPlainText("{\\rtf1 {\\uc3 a}\\u65?b}"), "aAb");          // \uc is scoped by its group
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\u-3913?}"), "?");                  // negative: 65536 + N
}

TEST(RtfReader, NestedGroupsAndDestinationsLeftOut) {
    EXPECT_EQ(RtfToPlainText("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier;}}"
                             "{\\colortbl;\\red255\\green0\\blue0;}"
                             "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                             "{\\*\\generator Writer 1.0;}{\\*\\unknowndest {nested} text}"
                             "a{\\b b{\\i c}}d{\\pict\\pngblip 89504e47}e}"),
              "abcde");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} after}"), "link after");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 x{\\header head}{\\footnote note}y}"), "xy");
    // \bin data is skipped unread, braces in it included.
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a{\\pict\\bin4 }{{}}b}"), "ab");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\bin3 {{{b}"), "ab");
}

TEST(RtfReader, UnbalancedAndForeignInput) {
    EXPECT_EQ(RtfToPlainText("{\\rtf1 unclosed {\\b group"), "unclosed group");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 done} more text {x}"), "done");  // reading ends with the document's group
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a}}}}b"), "a");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 trailing\\"), "trailing");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 x\\'4"), "x");
    EXPECT_EQ(RtfToPlainText("{\\rtf1 \\verylongcontrolwordthatgoesonandonpastthirtytwoletters123456789012345 y}"),
              "y");
    EXPECT_EQ(RtfToPlainText("  \r\n{\\rtf1 lead}"), "lead");
    // Not RTF: plain text with its line ends made CR LF.
    EXPECT_EQ(RtfToPlainText("plain\nline\r"), "plain\r\nline\r\n");
    EXPECT_EQ(RtfToPlainText("{\\rt"), "{\\rt");
    EXPECT_EQ(RtfToPlainText(""), "");
    // NUL bytes are no text.
    EXPECT_EQ(RtfToPlainText(std::string("{\\rtf1 a\0b}", 11)), "ab");
}

TEST(RtfReader, DeepNestingAndGarbageStayBounded) {
    std::string deep = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i) deep += "{x";
    for (int i = 0; i < 100000; ++i) deep += "}";
    deep += "tail}";
    const auto start = std::chrono::steady_clock::now();
    const std::string text = RtfToPlainText(deep);
    EXPECT_EQ(text, std::string(100000, 'x') + "tail");
    // A skipped destination deep down stays skipped, and its end is found.
    std::string skipped = "{\\rtf1 a{\\*\\x ";
    for (int i = 0; i < 5000; ++i) skipped += "{y";
    for (int i = 0; i < 5000; ++i) skipped += "}";
    skipped += "}b}";
    EXPECT_EQ(RtfToPlainText(skipped), "ab");

    std::mt19937 random(7);
    const std::string alphabet = "{}\\'*abcdefrtupar0123456789- \r\n\t\x01\x80\xff";
    for (int round = 0; round < 300; ++round) {
        std::string input = round % 2 ? "{\\rtf1" : "";
        const int length = static_cast<int>(random() % 4000);
        for (int i = 0; i < length; ++i) input += alphabet[random() % alphabet.size()];
        const std::string out = RtfToPlainText(input);
        EXPECT_LE(out.size(), 2 * input.size() + 2);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(RtfReader, ReadsWhatTheWritersWrite) {
    // Ours: plain text round trips with CR LF line ends.
    std::string bytes;
    for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c);
    const std::string text = "line one\r\nline {two}\\\n\ttabbed\rlast" + bytes;
    EXPECT_EQ(RtfToPlainText(PlainTextToRtf(text)), WithCrLf(text));
    // The source viewer's converter's vocabulary, as the strict test reader sees it.
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n"
                            "{\\colortbl ;\\red0\\green0\\blue128;}\r\n\\pard\\plain\\f0\\fs20\\cf1 <b>\\cf0 x\\tab "
                            "\\'e9\\par\r\n\\cf1 </b>}";
    const zrtest::RtfText strict = zrtest::ReadRtf(rtf);
    ASSERT_EQ(strict.error, "");
    EXPECT_EQ(RtfToPlainText(rtf), WithCrLf(strict.text));
}
