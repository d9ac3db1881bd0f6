#pragma once
// Helpers shared by the runtime's own .cpp files; not part of its contract.
// Numbers are written and read with "." as the decimal separator and ","
// as the thousands separator, whatever the C locale of the process says.
#include <cstdint>
#include <string>

namespace rt::detail {

enum class FloatFormat { General, Exponent, Fixed, Number, Currency };

// The runtime's FloatToText:
// General:  `precision` significant digits, fixed notation unless the
//           exponent is too large or small, then "1.5E-10" (no "+", at least
//           `digits` exponent digits).
// Exponent: "d.dddE+ddd" with `precision` digits and at least `digits`
//           exponent digits.
// Fixed, Number, Currency: `digits` decimals; Number and Currency group the
//           thousands, Currency writes "$1,234.50" / "-$1,234.50".
// Halves round away from zero on the value's 18-digit decimal form.
std::string FloatToText(double value, FloatFormat format, int precision, int digits);

// Optional blanks, sign, digits with an optional "." fraction, optional
// exponent, optional blanks. At least one digit. No hex, no "inf"/"nan".
bool TextToFloat(const std::string& text, double& value);

// Optional sign, then decimal digits or "$"/"0x" hex. Decimal values must fit
// the type; hex values may use all its bits (two's complement).
bool TextToInt64(const std::string& text, std::int64_t& value);
bool TextToInt32(const std::string& text, int& value);

}  // namespace rt::detail
