// The source viewer's HTML-to-RTF converter on any page: a strict RTF reader
// reads back every byte of the page with each line end as one paragraph end,
// with one colour switch per run of visible characters in one colour, and
// the rich-edit control's own reader gives the page's text with CR LF line
// ends. The document grows at most linearly with the page.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "RtfText.h"
#include "runtime/RtfReader.h"
#include "toolbar/HtmlToRtf.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string html(reinterpret_cast<const char*>(data), size);
    const std::string rtf = toolbar::HtmlToRtf(html);
    // Worst case per byte: a colour switch ("\cfN ") and an escape ("\'hh") or "\par CR LF".
    ZR_CHECK(rtf.size() <= 1024 + 11 * html.size(), zrfuzz::Show(html));

    const zrtest::RtfText read = zrtest::ReadRtf(rtf);
    ZR_CHECK(read.error.empty(), read.error + "\npage: " + zrfuzz::Show(html));
    ZR_CHECK(read.text == zrtest::WithParagraphEnds(html), zrfuzz::Show(html) + "\nread: " + zrfuzz::Show(read.text));
    ZR_CHECK(read.colours.size() == read.text.size(), zrfuzz::Show(html));

    // Blanks take no colour of their own: a switch is written only where a
    // visible character needs another colour (plus the document's first).
    const toolbar::TRtfColour text = toolbar::HtmlPartColour(toolbar::THtmlPart::Text);
    std::uint32_t last = (std::uint32_t{text.red} << 16) | (std::uint32_t{text.green} << 8) | text.blue;
    std::size_t runs = 0;
    for (std::size_t i = 0; i < read.text.size(); ++i) {
        if (IsBlank(read.text[i]) || read.colours[i] == last) continue;
        last = read.colours[i];
        ++runs;
    }
    ZR_CHECK(read.colourSwitches == runs + 1, zrfuzz::Show(html));

    ZR_CHECK(rt::RtfToPlainText(rtf) == rt::WithCrLf(html), zrfuzz::Show(html));
    return 0;
}
