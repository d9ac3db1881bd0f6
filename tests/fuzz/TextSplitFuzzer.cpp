// The text splitters on any text: string lists split at line breaks and
// written back, the comma text read back, the quote-aware splitter and the
// plain one at any delimiters.
//
// Input: line 1 the delimiters; the rest is the text.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "foundation/EIFunctionsBase.h"
#include "runtime/Classes.h"

namespace {

// Reads the comma text back: items at commas outside quotes; a quoted item
// has its quotes removed and "" inside it is one quote.
std::vector<std::string> ReadCommaText(const std::string& text) {
    std::vector<std::string> items;
    if (text.empty()) return items;
    std::size_t i = 0;
    for (;;) {
        std::string item;
        if (i < text.size() && text[i] == '"') {
            for (++i; i < text.size(); ++i) {
                if (text[i] != '"') {
                    item += text[i];
                } else if (i + 1 < text.size() && text[i + 1] == '"') {
                    item += '"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
        } else {
            while (i < text.size() && text[i] != ',') item += text[i++];
        }
        items.push_back(item);
        if (i >= text.size()) return items;
        ZR_CHECK(text[i] == ',', zrfuzz::Show(text));  // nothing may follow a closing quote but a comma
        ++i;
    }
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zrfuzz::Lines input = zrfuzz::SplitLines(data, size, 1);
    const std::string& delimiters = input.head[0];
    const std::string& text = input.rest;

    // Lines: none holds a line break, and Text gives them back unchanged.
    rt::TStringList lines;
    lines.SetText(text);
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++breaks;
    const bool unfinished = !text.empty() && !IsLineBreak(text.back());
    ZR_CHECK(lines.Count() == static_cast<int>(breaks + (unfinished ? 1 : 0)), zrfuzz::Show(text));
    for (int i = 0; i < lines.Count(); ++i)
        ZR_CHECK(lines[i].find_first_of("\r\n") == std::string::npos, zrfuzz::Show(text));
    rt::TStringList again;
    again.SetText(lines.Text());
    ZR_CHECK(again.ToVector() == lines.ToVector(), zrfuzz::Show(text));

    // name=value lines split at their first "=".
    for (int i = 0; i < lines.Count(); ++i) {
        if (lines[i].find('=') == std::string::npos) continue;
        ZR_CHECK(lines.Names(i) + "=" + lines.ValueFromIndex(i) == lines[i], zrfuzz::Show(lines[i]));
        const int named = lines.IndexOfName(lines.Names(i));
        ZR_CHECK(named >= 0 && named <= i, zrfuzz::Show(lines[i]));
    }

    // The comma text reads back as the same items.
    const std::string commaText = lines.CommaText();
    ZR_CHECK(ReadCommaText(commaText) == lines.ToVector(), zrfuzz::Show(commaText));
    // The joined list is the items with the separator between them.
    std::string list;
    for (int i = 0; i < lines.Count(); ++i) list += (i > 0 ? ", " : "") + lines[i];
    ZR_CHECK(foundation::JoinList(lines) == list, zrfuzz::Show(text));

    // The plain splitter: the pieces and the delimiters between them are the text.
    rt::TStringList pieces;
    const bool found = foundation::SplitAtChars(text, delimiters, pieces);
    std::size_t delimiterCount = 0;
    for (char c : text) delimiterCount += delimiters.find(c) != std::string::npos;
    ZR_CHECK(found == (delimiterCount > 0), zrfuzz::Show(text));
    ZR_CHECK(pieces.Count() == static_cast<int>(delimiterCount + 1), zrfuzz::Show(text));
    std::string joined;
    std::size_t at = 0;
    for (int i = 0; i < pieces.Count(); ++i) {
        joined += pieces[i];
        at += pieces[i].size();
        if (i + 1 < pieces.Count()) {
            ZR_CHECK(at < text.size() && delimiters.find(text[at]) != std::string::npos, zrfuzz::Show(text));
            joined += text[at++];
        }
    }
    ZR_CHECK(joined == text, zrfuzz::Show(text));

    // The quote-aware splitter: trimmed pieces of the text in order, empty
    // ones only when asked for; one per unquoted delimiter, one more for a
    // text that does not end in one.
    for (bool keepEmpty : {false, true}) {
        rt::TStringList parts;
        foundation::SplitText(text, delimiters, parts, keepEmpty);
        std::size_t unquoted = 0;
        bool quoted = false, endsInDelimiter = false;
        for (char c : text) {
            endsInDelimiter = false;
            if (c == '"') quoted = !quoted;
            else if (!quoted && delimiters.find(c) != std::string::npos) ++unquoted, endsInDelimiter = true;
        }
        std::size_t from = 0;
        for (int i = 0; i < parts.Count(); ++i) {
            ZR_CHECK(keepEmpty || !parts[i].empty(), zrfuzz::Show(text));
            ZR_CHECK(parts[i] == rt::Trim(parts[i]), zrfuzz::Show(text));
            const std::size_t where = text.find(parts[i], from);
            ZR_CHECK(where != std::string::npos, zrfuzz::Show(text));
            from = where + parts[i].size();
        }
        if (keepEmpty) {
            const std::size_t expected = text.empty() ? 0 : unquoted + (endsInDelimiter ? 0 : 1);
            ZR_CHECK(parts.Count() == static_cast<int>(expected), zrfuzz::Show(text));
        }
    }
    return 0;
}
