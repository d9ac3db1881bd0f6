#pragma once
// The runtime's variant: empty, null, boolean, 64-bit integer, float or text.
#include <cstdint>
#include <string>
#include <variant>

#include "runtime/SysUtils.h"

namespace rt {

// A variant could not be converted to the requested type.
class EVariantError : public Exception { using Exception::Exception; };

class Variant {
public:
    struct Null {};
    Variant() = default;  // empty (unassigned)
    Variant(Null) : v_(Null{}) {}
    Variant(bool b) : v_(b) {}
    Variant(int i) : v_(std::int64_t{i}) {}
    Variant(std::int64_t i) : v_(i) {}
    Variant(double d) : v_(d) {}
    Variant(const char* s) : v_(std::string(s)) {}
    Variant(std::string s) : v_(std::move(s)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsNull() const { return std::holds_alternative<Null>(v_); }
    bool IsText() const { return std::holds_alternative<std::string>(v_); }
    // Name of the held type as the runtime reports it ("Empty", "Null",
    // "Boolean", "Int64", "Double", "String").
    std::string TypeName() const;

    // Conversions raise EVariantError when the value has no such reading
    // (empty converts to 0, "" and false; null raises).
    std::string ToString() const;
    std::int64_t ToInt64() const;
    double ToDouble() const;
    bool ToBool() const;

    bool operator==(const Variant& other) const { return v_ == other.v_; }

private:
    friend bool operator==(Null, Null) { return true; }
    std::variant<std::monostate, Null, bool, std::int64_t, double, std::string> v_;
};

}  // namespace rt
