#pragma once
// Rich text to plain text: the reader a rich-edit control hands an RTF
// document to. The reader is process-wide and pluggable (a backend may put
// the system's own in its place); the default one below is ours.
#include <functional>
#include <string>
#include <string_view>

namespace rt {

// The text of an RTF document as a rich-edit control shows it: groups and
// control words are read, the text of the font, colour and style tables, of
// pictures, objects, document information and every "\*" destination is
// left out; \par, \line, \sect, \page and \row end a line ("\r\n"), \tab and
// \cell are a tab, \'hh is that byte, \\ \{ \} the characters, \~ a hard
// blank (0xA0), \uN the character when it is an ANSI one (otherwise its
// fallback text), quotes and dashes their code-page 1252 bytes. Raw CR and LF
// are ignored. Reading stops where the document's group closes. A \par that
// ends the document is the control's own closing mark and gives nothing. Input that
// does not begin with "{\rtf" is plain text (its line ends made "\r\n").
// Any bytes are accepted; the work is linear and the nesting kept is bounded.
std::string RtfToPlainText(std::string_view rtf);

// A reader: RTF document in, plain text out (line ends as "\r\n").
using TRichTextReader = std::function<std::string(const std::string& rtf)>;

// Installs `reader` for the process (null: RtfToPlainText again); returns the previous one.
TRichTextReader SetRichTextReader(TRichTextReader reader);
// Reads `rtf` with the installed reader.
std::string ReadRichText(const std::string& rtf);

// Every CR LF, lone CR and lone LF of `text` as CR LF.
std::string WithCrLf(std::string_view text);

}  // namespace rt
