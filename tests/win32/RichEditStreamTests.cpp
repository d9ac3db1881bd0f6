// The converter's RTF in a real RichEdit control, loaded with EM_STREAMIN as
// the source viewer loads it: the text must come back with every character of
// the page and each line end as one CR, in the converter's colours and font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "RtfText.h"
#include "Win32TestSupport.h"
#include "toolbar/HtmlToRtf.h"

#include <richedit.h>

using toolbar::HtmlToRtf;
using toolbar::THtmlPart;
using zrtest::WithParagraphEnds;

namespace {

struct StreamSource {
    const std::string& bytes;
    std::size_t offset = 0;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto& source = *reinterpret_cast<StreamSource*>(cookie);
    const std::size_t count = std::min(static_cast<std::size_t>(wanted), source.bytes.size() - source.offset);
    std::memcpy(buffer, source.bytes.data() + source.offset, count);
    source.offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

COLORREF ColourOf(THtmlPart part) {
    const toolbar::TRtfColour colour = toolbar::HtmlPartColour(part);
    return RGB(colour.red, colour.green, colour.blue);
}

class RichEditTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { library = ::LoadLibraryA("riched20.dll"); }
    static void TearDownTestSuite() {
        if (library) ::FreeLibrary(library);
        library = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(library, nullptr) << "riched20.dll did not load";
        edit = ::CreateWindowExA(0, RICHEDIT_CLASSA, "",
                                 WS_POPUP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                                 0, 0, 640, 480, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (!edit) GTEST_SKIP() << "no desktop to make windows on";
        ::SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);  // else a stream stops at 32K characters
    }
    void TearDown() override {
        if (edit) ::DestroyWindow(edit);
    }

    // Streams the page's RTF in, replacing all the control holds.
    void Load(const std::string& html) {
        const std::string rtf = HtmlToRtf(html);
        StreamSource source{rtf};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadChunk};
        ::SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        EXPECT_EQ(stream.dwError, 0u);
        EXPECT_EQ(source.offset, rtf.size());
    }

    // The control's text in code page 1252, paragraph ends as CR.
    std::string Text() {
        GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
        const LRESULT characters = ::SendMessageA(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
        std::string text(static_cast<std::size_t>(characters) * 2 + 2, '\0');
        GETTEXTEX get{static_cast<DWORD>(text.size()), GT_DEFAULT, 1252, nullptr, nullptr};
        const LRESULT bytes = ::SendMessageA(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                             reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(bytes, 0)));
        return text;
    }

    // The character format of the character at index.
    CHARFORMAT2A FormatAt(LONG index) {
        CHARRANGE range{index, index + 1};
        ::SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        ::SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    static HMODULE library;
    HWND edit = nullptr;
};
HMODULE RichEditTest::library = nullptr;

// Where two texts part, with a little of both around it.
std::string Difference(const std::string& actual, const std::string& expected) {
    if (actual == expected) return "";
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const std::size_t at = static_cast<std::size_t>(a - actual.begin());
    const std::size_t from = at > 20 ? at - 20 : 0;
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) + ", first difference at " +
           std::to_string(at) + ":\n  got      [" + zrtest::Visible(actual.substr(from, 60)) + "]\n  expected [" +
           zrtest::Visible(expected.substr(from, 60)) + "]";
}

TEST_F(RichEditTest, AGeneratedPageComesBackWithEachLineEndAsCR) {
    const std::string page = zrtest::SamplePage(200 * 1024);
    Load(page);
    EXPECT_EQ(Difference(Text(), WithParagraphEnds(page)), "");
}

TEST_F(RichEditTest, LineEndsAtThePageEndStay) {
    for (const char* page : {"", "x", "x\r\n", "x\n\n", "\r", "\r\n\r\n", "<p>\r\n</p>\r"}) {
        SCOPED_TRACE(zrtest::Visible(page));
        Load(page);
        EXPECT_EQ(Text(), WithParagraphEnds(page));
    }
}

TEST_F(RichEditTest, EveryByteButNulComesBack) {
    std::string printable = "\t";
    for (int c = 0x20; c <= 0xFF; ++c) printable += static_cast<char>(c);
    Load(printable);
    EXPECT_EQ(Difference(Text(), printable), "");

    std::string controls;
    for (int c = 0x01; c < 0x20; ++c)
        if (c != '\t' && c != '\n' && c != '\r') controls += static_cast<char>(c);
    Load("<a title=\"" + controls + "\">" + controls);
    EXPECT_EQ(Difference(Text(), "<a title=\"" + controls + "\">" + controls), "");

    // The control keeps no NUL characters (its text interfaces end at one);
    // the \'00 the converter writes is dropped, and nothing else with it.
    Load(std::string("a\0b<p t='\0'>\0", 13));
    EXPECT_EQ(Difference(Text(), "ab<p t=''>"), "");
}

TEST_F(RichEditTest, EachCharacterShowsItsPartsColourInTheFixedFont) {
    const std::string page = zrtest::SamplePage(16 * 1024, 5);
    const zrtest::RtfText read = zrtest::ReadRtf(HtmlToRtf(page));
    ASSERT_EQ(read.error, "");
    Load(page);
    ASSERT_EQ(Text(), read.text);

    const CHARFORMAT2A first = FormatAt(0);
    EXPECT_STREQ(first.szFaceName, "Courier New");
    EXPECT_EQ(first.yHeight, 200);  // twips: 10 points
    std::size_t checked = 0;
    for (std::size_t i = 0; i < read.text.size(); ++i) {
        const char c = read.text[i];
        if (c == ' ' || c == '\t' || c == '\r') continue;  // their colour is nobody's concern
        const std::uint32_t rgb = read.colours[i];
        const CHARFORMAT2A format = FormatAt(static_cast<LONG>(i));
        ASSERT_EQ(format.crTextColor, RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF)) << "at " << i;
        ++checked;
    }
    EXPECT_GT(checked, page.size() / 2);
    // And the reader's colours are the parts' colours: an attribute value and an entity.
    Load("<a href=\"v\">&amp;t");
    EXPECT_EQ(FormatAt(0).crTextColor, ColourOf(THtmlPart::Tag));
    EXPECT_EQ(FormatAt(3).crTextColor, ColourOf(THtmlPart::AttributeName));
    EXPECT_EQ(FormatAt(9).crTextColor, ColourOf(THtmlPart::AttributeValue));
    EXPECT_EQ(FormatAt(12).crTextColor, ColourOf(THtmlPart::Entity));
    EXPECT_EQ(FormatAt(17).crTextColor, ColourOf(THtmlPart::Text));
}

}  // namespace
