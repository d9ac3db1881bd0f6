#pragma once
// The runtime's Format: "%" [index ":"] ["-"] [width] ["." precision] type,
// with the types d u e f g n m p s x (any case), "*" for a width or precision
// taken from the arguments and "%%" for a percent sign. A bad specifier, a
// missing argument or an argument of the wrong kind raises EConvertError.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace rt {

// One argument of Format (the runtime's "array of const" element).
class FormatArg {
public:
    enum class Kind { Integer, Int64, Float, Text, Char, Pointer, Boolean };

    FormatArg(int v) : kind_(Kind::Integer), i_(v) {}
    FormatArg(unsigned v) : kind_(Kind::Int64), i_(v) {}
    FormatArg(long v) : kind_(Kind::Int64), i_(v) {}
    FormatArg(unsigned long v) : kind_(Kind::Int64), i_(static_cast<std::int64_t>(v)) {}
    FormatArg(long long v) : kind_(Kind::Int64), i_(v) {}
    FormatArg(unsigned long long v) : kind_(Kind::Int64), i_(static_cast<std::int64_t>(v)) {}
    FormatArg(double v) : kind_(Kind::Float), f_(v) {}
    FormatArg(char v) : kind_(Kind::Char), s_(1, v) {}
    FormatArg(bool v) : kind_(Kind::Boolean), i_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), s_(v ? v : "") {}
    FormatArg(std::string v) : kind_(Kind::Text), s_(std::move(v)) {}
    FormatArg(const void* v) : kind_(Kind::Pointer), i_(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(v))) {}

    Kind kind() const { return kind_; }
    std::int64_t integer() const { return i_; }
    double real() const { return f_; }
    const std::string& text() const { return s_; }

private:
    Kind kind_;
    std::int64_t i_ = 0;
    double f_ = 0;
    std::string s_;
};

using FormatArgs = std::vector<FormatArg>;

std::string Format(const std::string& format, const FormatArgs& args);
inline std::string Format(const std::string& format, std::initializer_list<FormatArg> args) {
    return Format(format, FormatArgs(args));
}

}  // namespace rt
