#pragma once
// The source viewer's colouring: an HTML text as a rich-text document in
// which tags, attributes, entities, comments and declarations have colours
// of their own and every byte of the page is kept.
#include <string>

namespace toolbar {

// What a stretch of the page is. Each part has its own entry in the
// document's colour table, in this order (entry 0 is the default colour).
enum class THtmlPart {
    Text,            // page text, and the contents of script and style elements
    Tag,             // "<", "</", the element name, "=", "/", ">" and "/>"
    AttributeName,
    AttributeValue,  // quoted (quotes included) or unquoted
    Entity,          // &name; &#123; &#x1F; (in text and in attribute values)
    Comment,         // <!-- ... -->
    Declaration,     // <!DOCTYPE ...> and other <!...>
    Instruction,     // <?...?>
};
constexpr int kHtmlPartCount = 8;

struct TRtfColour {
    unsigned char red, green, blue;
    bool operator==(const TRtfColour&) const = default;
};

// The colour a part is shown in.
TRtfColour HtmlPartColour(THtmlPart part);

// The page as a complete RTF document (7-bit text, code page 1252, 10-point
// Courier New). Each line end of the page (CR LF, LF or CR) is one paragraph
// end, and one more \par closes the document (a rich-edit control makes it
// its end mark). Line ends aside, bytes outside 0x20..0x7E are written as \'hh
// (tab as \tab), and \ { } escaped.
// Blanks (space, tab, line ends) take no colour of their own, so a colour
// switch is written only where a visible character needs another one.
// Linear in the page's size; any bytes are accepted.
std::string HtmlToRtf(const std::string& html);

}  // namespace toolbar
