#include "runtime/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "runtime/Format.h"
#include "runtime/Internal.h"

namespace rt {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsPathDelimiter(char c) { return c == '\\' || c == '/' || c == ':'; }

// A finite, non-negative value as 0.<digits> * 10^exponent, with the
// digits' trailing zeros removed (no digits for zero).
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void StripTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
}

// 18 significant digits, as the classic runtime's extended-precision
// conversion gives them; rounding then works on these decimal digits.
Decimal ToDecimal(double value) {
    Decimal d;
    d.negative = std::signbit(value);
    value = std::fabs(value);
    if (value == 0) return d;
    // printf's own conversion, not std::to_chars: the latter's tables would
    // add a fifth to every module. The C library is exact here; only the
    // mantissa's digits and the exponent are read, so the locale's decimal
    // point does not matter.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", value);  // "d.ddddddddddddddddde+XX"
    const char* at = buffer;
    for (; *at && *at != 'e' && *at != 'E'; ++at)
        if (IsDigit(*at)) d.digits += *at;
    d.exponent = (*at ? std::atoi(at + 1) : 0) + 1;
    StripTrailingZeros(d);
    return d;
}

// Keeps `count` significant digits, rounding halves away from zero.
void RoundDigits(Decimal& d, int count) {
    if (count >= static_cast<int>(d.digits.size())) return;
    if (count < 0) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    bool up = d.digits[count] >= '5';
    d.digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[i];
        }
    }
    StripTrailingZeros(d);
}

// "E", the exponent's sign ("-" always, "+" when asked) and at least `minDigits` digits.
void AppendExponent(std::string& out, int exponent, bool plusSign, int minDigits) {
    const std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    out += 'E';
    if (exponent < 0) out += '-';
    else if (plusSign) out += '+';
    if (static_cast<int>(digits.size()) < minDigits) out.append(minDigits - digits.size(), '0');
    out += digits;
}

std::string Sign(const Decimal& d) { return std::string(d.negative && !d.digits.empty() ? 1 : 0, '-'); }

std::string GeneralText(double value, int precision, int expDigits) {
    precision = std::clamp(precision, 1, 18);
    Decimal d = ToDecimal(value);
    RoundDigits(d, precision);
    if (d.digits.empty()) return "0";
    std::string out = Sign(d);
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent > precision || d.exponent < -3) {
        out += d.digits[0];
        if (n > 1) out.append(1, '.').append(d.digits, 1);
        AppendExponent(out, d.exponent - 1, false, expDigits);
    } else if (d.exponent <= 0) {
        out.append("0.").append(-d.exponent, '0').append(d.digits);
    } else {
        out.append(d.digits, 0, std::min(n, d.exponent));
        if (n < d.exponent) out.append(d.exponent - n, '0');
        if (n > d.exponent) out.append(1, '.').append(d.digits, d.exponent);
    }
    return out;
}

std::string ExponentFormText(double value, int precision, int expDigits) {
    precision = std::clamp(precision, 1, 18);
    Decimal d = ToDecimal(value);
    RoundDigits(d, precision);
    std::string mantissa = d.digits;
    mantissa.resize(precision, '0');
    std::string out = Sign(d);
    out += mantissa[0];
    if (precision > 1) out.append(1, '.').append(mantissa, 1);
    AppendExponent(out, d.digits.empty() ? 0 : d.exponent - 1, true, expDigits);
    return out;
}

// Fixed notation with `decimals` decimals and no sign; `grouped` puts ","
// between the thousands.
std::string FixedText(double value, int decimals, bool grouped, bool& negative) {
    decimals = std::clamp(decimals, 0, 18);
    Decimal d = ToDecimal(value);
    RoundDigits(d, d.exponent + decimals);
    negative = d.negative && !d.digits.empty();
    const int n = static_cast<int>(d.digits.size());
    auto digitAt = [&](int i) { return i >= 0 && i < n ? d.digits[i] : '0'; };
    std::string out;
    const int whole = std::max(d.exponent, 1);  // "0" before the point at least
    for (int i = 0; i < whole; ++i) {
        if (grouped && i > 0 && (whole - i) % 3 == 0) out += ',';
        out += d.exponent > 0 ? digitAt(i) : '0';
    }
    if (decimals > 0) out += '.';
    for (int i = 0; i < decimals; ++i) out += digitAt(d.exponent + i);
    return out;
}

template <class Unsigned>
bool ParseUnsigned(const std::string& s, bool& negative, bool& hex, Unsigned& value) {
    std::size_t i = 0;
    negative = false;
    hex = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == s.size()) return false;
    const Unsigned max = std::numeric_limits<Unsigned>::max();
    const Unsigned base = hex ? 16 : 10;
    value = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        Unsigned digit;
        if (IsDigit(c)) digit = c - '0';
        else if (hex && Upper(c) >= 'A' && Upper(c) <= 'F') digit = Upper(c) - 'A' + 10;
        else return false;
        if (value > (max - digit) / base) return false;
        value = value * base + digit;
    }
    return true;
}

template <class Signed>
bool ParseSigned(const std::string& s, Signed& result) {
    using Unsigned = std::make_unsigned_t<Signed>;
    bool negative, hex;
    Unsigned value;
    if (!ParseUnsigned(s, negative, hex, value)) return false;
    const Unsigned limit = static_cast<Unsigned>(std::numeric_limits<Signed>::max()) + (negative ? 1 : 0);
    if (!hex && value > limit) return false;
    // Two's complement wrap (well defined in C++20).
    result = static_cast<Signed>(negative ? static_cast<Unsigned>(0u - value) : value);
    return true;
}

[[noreturn]] void InvalidInteger(const std::string& s) {
    throw EConvertError(Format("'%s' is not a valid integer value", {s}));
}

}  // namespace

namespace detail {

std::string FloatToText(double value, FloatFormat format, int precision, int digits) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (format == FloatFormat::General) return GeneralText(value, precision, digits);
    if (format == FloatFormat::Exponent) return ExponentFormText(value, precision, digits);
    bool negative = false;
    const std::string text = FixedText(value, digits, format != FloatFormat::Fixed, negative);
    std::string out;
    if (negative) out += '-';
    if (format == FloatFormat::Currency) out += '$';
    return out + text;
}

bool TextToFloat(const std::string& text, double& value) {
    std::string s = Trim(text);
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i) ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    // strtod reads the C library's decimal point, which a host process may
    // have changed; the text was checked above, so only '.' needs mapping.
    if (const char* point = std::localeconv()->decimal_point; point && *point && *point != '.')
        std::replace(s.begin(), s.end(), '.', *point);
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size()) return false;
    if (errno == ERANGE && (std::isinf(parsed) || parsed == 0)) return false;
    value = parsed;
    return true;
}

bool TextToInt64(const std::string& text, std::int64_t& value) { return ParseSigned(text, value); }
bool TextToInt32(const std::string& text, int& value) { return ParseSigned(text, value); }

}  // namespace detail

void Abort() { throw EAbort("Operation aborted"); }

std::string UpperCase(const std::string& s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), Upper);
    return out;
}

std::string LowerCase(const std::string& s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

bool SameText(const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }

int CompareText(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(Upper(a[i]));
        int cb = static_cast<unsigned char>(Upper(b[i]));
        if (ca != cb) return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::size_t PosText(const std::string& part, const std::string& text, std::size_t from) {
    if (from > text.size() || part.size() > text.size() - from) return std::string::npos;
    for (std::size_t i = from; i + part.size() <= text.size(); ++i) {
        bool match = true;
        for (std::size_t j = 0; j < part.size() && match; ++j) match = Upper(text[i + j]) == Upper(part[j]);
        if (match) return i;
    }
    return std::string::npos;
}

std::string Trim(const std::string& s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(const std::string& s) {
    auto first = std::find_if_not(s.begin(), s.end(), IsBlank);
    return std::string(first, s.end());
}

std::string TrimRight(const std::string& s) {
    auto last = std::find_if_not(s.rbegin(), s.rend(), IsBlank);
    return std::string(s.begin(), last.base());
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string IntToHex(std::uint64_t value, int digits) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), hex[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(out.size()) < digits) out.insert(0, digits - out.size(), '0');
    return out;
}

int StrToInt(const std::string& s) {
    int value = 0;
    if (!detail::TextToInt32(s, value)) InvalidInteger(s);
    return value;
}

std::int64_t StrToInt64(const std::string& s) {
    std::int64_t value = 0;
    if (!detail::TextToInt64(s, value)) InvalidInteger(s);
    return value;
}

int StrToIntDef(const std::string& s, int defaultValue) {
    int value = 0;
    return detail::TextToInt32(s, value) ? value : defaultValue;
}

bool TryStrToInt(const std::string& s, int& value) { return detail::TextToInt32(s, value); }

std::string FloatToStr(double value) {
    return detail::FloatToText(value, detail::FloatFormat::General, 15, 0);
}

bool IsValidIdent(const std::string& s) {
    if (s.empty() || !(IsLetter(s[0]) || s[0] == '_')) return false;
    return std::all_of(s.begin() + 1, s.end(), [](char c) { return IsLetter(c) || IsDigit(c) || c == '_'; });
}

std::string ExtractFilePath(const std::string& fileName) {
    auto it = std::find_if(fileName.rbegin(), fileName.rend(), IsPathDelimiter);
    return std::string(fileName.begin(), it.base());
}

std::string ExtractFileName(const std::string& fileName) {
    auto it = std::find_if(fileName.rbegin(), fileName.rend(), IsPathDelimiter);
    return std::string(it.base(), fileName.end());
}

namespace {
// Position of the extension's dot, or npos.
std::size_t ExtensionDot(const std::string& fileName) {
    std::size_t at = fileName.find_last_of(".\\/:");
    return at != std::string::npos && fileName[at] == '.' ? at : std::string::npos;
}
}  // namespace

std::string ExtractFileExt(const std::string& fileName) {
    std::size_t dot = ExtensionDot(fileName);
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

std::string ChangeFileExt(const std::string& fileName, const std::string& extension) {
    std::size_t dot = ExtensionDot(fileName);
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) return path;
    return path + "\\";
}

}  // namespace rt
