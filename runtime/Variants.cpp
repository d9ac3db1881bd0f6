#include "runtime/Variants.h"

#include <cmath>

#include "runtime/Internal.h"

namespace rt {
namespace {

// The classic runtime's booleans: True reads as -1 in numbers.
constexpr std::int64_t kTrueOrdinal = -1;

// Round half to even, as the classic Round does; false when out of range.
bool RoundToInt64(double d, std::int64_t& value) {
    if (!std::isfinite(d)) return false;
    double rounded = std::nearbyint(d);
    if (rounded < -9223372036854775808.0 || rounded >= 9223372036854775808.0) return false;
    value = static_cast<std::int64_t>(rounded);
    return true;
}

}  // namespace

std::string Variant::TypeName() const {
    static const char* const names[] = {"Empty", "Null", "Boolean", "Int64", "Double", "String"};
    return names[v_.index()];
}

namespace {
[[noreturn]] void CannotConvert(const Variant& v, const char* target) {
    throw EVariantError("Could not convert variant of type (" + v.TypeName() + ") into type (" + target + ")");
}
}  // namespace

std::string Variant::ToString() const {
    if (IsEmpty()) return {};
    if (IsNull()) CannotConvert(*this, "String");
    if (auto b = std::get_if<bool>(&v_)) return *b ? "True" : "False";
    if (auto i = std::get_if<std::int64_t>(&v_)) return IntToStr(*i);
    if (auto d = std::get_if<double>(&v_)) return FloatToStr(*d);
    return std::get<std::string>(v_);
}

std::int64_t Variant::ToInt64() const {
    if (IsEmpty()) return 0;
    if (auto b = std::get_if<bool>(&v_)) return *b ? kTrueOrdinal : 0;
    if (auto i = std::get_if<std::int64_t>(&v_)) return *i;
    std::int64_t value = 0;
    if (auto d = std::get_if<double>(&v_)) {
        if (RoundToInt64(*d, value)) return value;
    } else if (auto s = std::get_if<std::string>(&v_)) {
        double number = 0;
        if (detail::TextToInt64(Trim(*s), value)) return value;
        if (detail::TextToFloat(*s, number) && RoundToInt64(number, value)) return value;
    }
    CannotConvert(*this, "Int64");
}

double Variant::ToDouble() const {
    if (IsEmpty()) return 0;
    if (auto b = std::get_if<bool>(&v_)) return *b ? static_cast<double>(kTrueOrdinal) : 0.0;
    if (auto i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&v_)) return *d;
    if (auto s = std::get_if<std::string>(&v_)) {
        double value = 0;
        if (detail::TextToFloat(*s, value)) return value;
    }
    CannotConvert(*this, "Double");
}

bool Variant::ToBool() const {
    if (IsEmpty()) return false;
    if (auto b = std::get_if<bool>(&v_)) return *b;
    if (auto i = std::get_if<std::int64_t>(&v_)) return *i != 0;
    if (auto d = std::get_if<double>(&v_)) return *d != 0;
    if (auto s = std::get_if<std::string>(&v_)) {
        std::string text = Trim(*s);
        if (SameText(text, "True")) return true;
        if (SameText(text, "False")) return false;
        double value = 0;
        if (detail::TextToFloat(text, value)) return value != 0;
        std::int64_t hex = 0;
        if (detail::TextToInt64(text, hex)) return hex != 0;
    }
    CannotConvert(*this, "Boolean");
}

}  // namespace rt
