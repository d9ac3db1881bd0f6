#pragma once
// Dates as the runtime keeps them: days since 30 December 1899, the time of
// day as the fraction.
#include <cstdint>
#include <string>

namespace rt {

using TDateTime = double;

TDateTime EncodeDate(int year, int month, int day);  // EConvertError on an invalid date
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// From the platform clock.
TDateTime Now();
TDateTime Date();

// Reads a date written in the platform's short date format (day, month and
// year in the format's order, separated by its date separator; a two-digit
// year is taken in the current century). Raises EConvertError
// "'%s' is not a valid date".
TDateTime StrToDate(const std::string& text);
bool TryStrToDate(const std::string& text, TDateTime& value);
// The same in a given order of day, month and year (a short date format such
// as "M/d/yyyy") and separator instead of the system's.
bool TryStrToDate(const std::string& text, TDateTime& value, const std::string& shortDateFormat, char separator);
// Writes a date in the platform's short date format.
std::string DateToStr(TDateTime value);

}  // namespace rt
