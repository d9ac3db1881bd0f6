#pragma once
// Port: the code page the units' text is in (the user's ANSI code page on
// Windows), and its conversion to UTF-16. Text bound for a wide-text context
// (a script) is escaped after this conversion, never byte by byte before it:
// in a double-byte code page a trail byte may have the value of "\".
#include <string>

namespace platform {

class ICodePage {
public:
    virtual ~ICodePage() = default;
    // MultiByteToWideChar: the UTF-16 code units of code-page text. Bytes the
    // code page cannot map become the code page's default character.
    virtual std::u16string ToUtf16(const std::string& text) = 0;
};

}  // namespace platform
