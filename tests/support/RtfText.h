#pragma once
// Reading back the RTF the source viewer's converter writes, and sample pages
// to feed it (shared by the host tests, the RichEdit test under wine and the
// benchmark).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zrtest {

// The colour of characters written under \cf0 (the reader's default).
constexpr std::uint32_t kRtfAutoColour = 0xFF000000u;

// What a strict reader sees in an RTF document of the converter's vocabulary.
struct RtfText {
    // \par as "\r", \tab as "\t", \'hh as that byte; as in a rich-edit control
    // loading a whole document, a "\r" at the very end is the end mark, not text.
    std::string text;
    std::vector<std::uint32_t> colours;  // one per byte of text: 0xRRGGBB of its colour table entry
    std::string fontName;                // font 0 of the font table
    int fontHalfPoints = 0;              // the last \fs
    std::size_t colourSwitches = 0;      // \cf words in the body
    std::string error;                   // empty when the document was read completely and cleanly
};

// Reads the document. Anything the converter has no business writing is an
// error: unknown control words, raw bytes outside 0x20..0x7E (other than the
// ignored CR and LF), text outside the document's group, unbalanced braces.
RtfText ReadRtf(std::string_view rtf);

// The page's text with each line end (CR LF, lone LF, lone CR) as one CR:
// what an RTF reader gives back for it.
std::string WithParagraphEnds(std::string_view page);

// A page of about `bytes` bytes (never less) like real ones: a doctype, an
// XML declaration, scripts and styles (mixed-case end tags, markup inside),
// comments, entities, attributes in every quote style, tabs, bytes above
// 0x7F, and CR LF, LF and CR line ends mixed. The same seed gives the same page.
std::string SamplePage(std::size_t bytes, unsigned seed = 1);

}  // namespace zrtest
