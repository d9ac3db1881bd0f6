#include "runtime/Format.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "runtime/Internal.h"
#include "runtime/SysUtils.h"

namespace rt {
namespace {

using detail::FloatFormat;

// Widths and precisions beyond this are refused: a format must not be able to
// ask for gigabytes of padding.
constexpr int kMaxWidth = 65536;

class Formatter {
public:
    Formatter(const std::string& format, const FormatArgs& args) : format_(format), args_(args) {}

    std::string Run() {
        std::string out;
        while (pos_ < format_.size()) {
            std::size_t percent = format_.find('%', pos_);
            if (percent == std::string::npos) {
                out.append(format_, pos_, std::string::npos);
                break;
            }
            out.append(format_, pos_, percent - pos_);
            pos_ = percent + 1;
            if (At('%')) {
                out += '%';
                ++pos_;
            } else {
                out += Specifier();
            }
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const {
        throw EConvertError("Format '" + format_ + "' invalid or incompatible with argument");
    }
    [[noreturn]] void Missing() const { throw EConvertError("No argument for format '" + format_ + "'"); }

    bool At(char c) const { return pos_ < format_.size() && format_[pos_] == c; }

    const FormatArg& NextArg() {
        if (next_ >= args_.size()) Missing();
        return args_[next_++];
    }

    static bool IsInteger(const FormatArg& a) {
        return a.kind() == FormatArg::Kind::Integer || a.kind() == FormatArg::Kind::Int64;
    }

    // Decimal digits or "*" (the value of the next argument, an integer);
    // nothing when neither is there.
    std::optional<int> ReadNumber() {
        if (At('*')) {
            ++pos_;
            const FormatArg& a = NextArg();
            if (!IsInteger(a) || a.integer() < std::numeric_limits<int>::min() ||
                a.integer() > std::numeric_limits<int>::max())
                Invalid();
            return static_cast<int>(a.integer());
        }
        if (pos_ >= format_.size() || format_[pos_] < '0' || format_[pos_] > '9') return std::nullopt;
        int value = 0;
        for (; pos_ < format_.size() && format_[pos_] >= '0' && format_[pos_] <= '9'; ++pos_) {
            int digit = format_[pos_] - '0';
            if (value > (std::numeric_limits<int>::max() - digit) / 10) Invalid();
            value = value * 10 + digit;
        }
        return value;
    }

    // After the "%": [index ":"] ["-"] [width] ["." precision] type.
    std::string Specifier() {
        std::optional<int> number = ReadNumber();
        if (At(':')) {
            ++pos_;
            int index = number.value_or(0);
            if (index < 0) Invalid();
            next_ = static_cast<std::size_t>(index);
            number.reset();
        }
        bool left = false;
        if (!number && At('-')) {
            left = true;
            ++pos_;
        }
        if (!number) number = ReadNumber();
        const int width = number.value_or(-1);
        if (width > kMaxWidth) Invalid();
        int precision = -1;
        if (At('.')) {
            ++pos_;
            precision = ReadNumber().value_or(0);
            if (precision < 0) precision = -1;  // a negative "*" means the default
            if (precision > kMaxWidth) Invalid();
        }
        if (pos_ >= format_.size()) Invalid();
        char type = format_[pos_++];
        if (type >= 'a' && type <= 'z') type = static_cast<char>(type - 'a' + 'A');

        std::string text = Convert(type, precision);
        if (width > static_cast<int>(text.size())) {
            std::string blanks(width - text.size(), ' ');
            text = left ? text + blanks : blanks + text;
        }
        return text;
    }

    static std::string ZeroPad(std::string digits, int precision) {
        if (precision > static_cast<int>(digits.size())) digits.insert(0, precision - digits.size(), '0');
        return digits;
    }

    std::string Float(FloatFormat format, int precision, int digits) {
        const FormatArg& a = NextArg();
        if (a.kind() != FormatArg::Kind::Float) Invalid();
        return detail::FloatToText(a.real(), format, precision, digits);
    }

    std::string Convert(char type, int precision) {
        switch (type) {
        case 'D': {
            const FormatArg& a = NextArg();
            if (!IsInteger(a)) Invalid();
            const std::int64_t v = a.integer();
            const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
            std::string text(v < 0 ? 1 : 0, '-');
            return text + ZeroPad(std::to_string(magnitude), precision);
        }
        case 'U':
        case 'X': {
            const FormatArg& a = NextArg();
            if (!IsInteger(a)) Invalid();
            // An Integer is read as its 32 bits, an Int64 as its 64 bits.
            const std::uint64_t v = a.kind() == FormatArg::Kind::Integer
                                        ? static_cast<std::uint32_t>(a.integer())
                                        : static_cast<std::uint64_t>(a.integer());
            return type == 'U' ? ZeroPad(std::to_string(v), precision) : IntToHex(v, precision);
        }
        case 'E': return Float(FloatFormat::Exponent, precision < 0 ? 15 : precision, 3);
        case 'F': return Float(FloatFormat::Fixed, 0, precision < 0 ? 2 : precision);
        case 'G': return Float(FloatFormat::General, precision < 0 ? 15 : precision, 0);
        case 'N': return Float(FloatFormat::Number, 0, precision < 0 ? 2 : precision);
        case 'M': return Float(FloatFormat::Currency, 0, precision < 0 ? 2 : precision);
        case 'P': {
            const FormatArg& a = NextArg();
            if (a.kind() != FormatArg::Kind::Pointer) Invalid();
            return IntToHex(static_cast<std::uint64_t>(a.integer()), static_cast<int>(sizeof(void*) * 2));
        }
        case 'S': {
            const FormatArg& a = NextArg();
            if (a.kind() != FormatArg::Kind::Text && a.kind() != FormatArg::Kind::Char) Invalid();
            return precision >= 0 ? a.text().substr(0, precision) : a.text();
        }
        default: Invalid();
        }
    }

    const std::string& format_;
    const FormatArgs& args_;
    std::size_t pos_ = 0;   // in format_
    std::size_t next_ = 0;  // the next argument
};

}  // namespace

std::string Format(const std::string& format, const FormatArgs& args) { return Formatter(format, args).Run(); }

}  // namespace rt
