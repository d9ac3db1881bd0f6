// Format with any format string and arguments of every kind: it gives text or
// raises EConvertError, nothing else; the message helper built on it never
// raises. A format without "%" comes back as it is.
//
// Input: line 1 the format; each further line one argument, its first byte
// the kind (i int, u unsigned, l int64, f double, s text, c char, p pointer,
// b bool; anything else is text) and the rest its value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "foundation/EIFunctionsBase.h"
#include "runtime/Format.h"

namespace {

rt::FormatArg Argument(const std::string& line) {
    const std::string text = line.empty() ? std::string() : line.substr(1);
    const char kind = line.empty() ? 's' : line[0];
    switch (kind) {
        case 'i': return static_cast<int>(std::strtol(text.c_str(), nullptr, 0));
        case 'u': return static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 0));
        case 'l': return static_cast<long long>(std::strtoll(text.c_str(), nullptr, 0));
        case 'f': return std::strtod(text.c_str(), nullptr);  // inf and nan included
        case 'c': return text.empty() ? '\0' : text[0];
        case 'p': return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(std::strtoull(text.c_str(), nullptr, 0)));
        case 'b': return text == "1";
        case 's': return text;
        default: return line;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zrfuzz::Lines input = zrfuzz::SplitLines(data, size, 1);
    const std::string& format = input.head[0];
    rt::FormatArgs args;
    std::size_t from = 0;
    while (from < input.rest.size() && args.size() < 32) {  // more say nothing new
        std::size_t end = input.rest.find('\n', from);
        if (end == std::string::npos) end = input.rest.size();
        args.push_back(Argument(input.rest.substr(from, end - from)));
        from = end + 1;
    }

    try {
        const std::string text = rt::Format(format, args);
        if (format.find('%') == std::string::npos) ZR_CHECK(text == format, zrfuzz::Show(format));
    } catch (const rt::EConvertError&) {
        // The documented refusal: a bad specifier, a missing or mismatched argument.
    }
    // Raises nothing: a format that fails is shown as written.
    (void)foundation::FormatMessageText(format, args);
    return 0;
}
