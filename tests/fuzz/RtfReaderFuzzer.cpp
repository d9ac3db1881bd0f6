// The rich-text reader on any bytes: it never fails, its text is never longer
// than the document (twice a plain text's, whose line ends become CR LF), and
// a text that is not RTF comes back with CR LF line ends. The same bytes
// written into a minimal document as escapes read back as they were.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "runtime/RtfReader.h"

namespace {

bool IsRtf(const std::string& bytes) {
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    return start != std::string::npos && bytes.compare(start, 5, "{\\rtf") == 0;
}

// The text as a document: \par for each line end, escapes for the rest.
std::string AsDocument(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string rtf = "{\\rtf1\\ansi ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            if (c == '\n' && i > 0 && text[i - 1] == '\r') continue;
            rtf += "\\par\r\n";
        } else if (c == '\\' || c == '{' || c == '}') {
            rtf += '\\';
            rtf += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            rtf += static_cast<char>(c);
        } else {
            rtf += {'\\', '\'', kHex[c >> 4], kHex[c & 15]};
        }
    }
    return rtf + "}";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = rt::RtfToPlainText(bytes);
    if (IsRtf(bytes)) {
        ZR_CHECK(text.size() <= bytes.size(), zrfuzz::Show(bytes));
    } else {
        ZR_CHECK(text == rt::WithCrLf(bytes), zrfuzz::Show(bytes));
    }
    ZR_CHECK(rt::ReadRichText(bytes) == text, zrfuzz::Show(bytes));

    // A document's last paragraph end is the control's own end mark.
    std::string expected = rt::WithCrLf(bytes);
    if (expected.size() >= 2 && expected.compare(expected.size() - 2, 2, "\r\n") == 0) expected.resize(expected.size() - 2);
    const std::string document = AsDocument(bytes);
    ZR_CHECK(rt::RtfToPlainText(document) == expected,
             zrfuzz::Show(bytes) + "\nread: " + zrfuzz::Show(rt::RtfToPlainText(document)));
    return 0;
}
