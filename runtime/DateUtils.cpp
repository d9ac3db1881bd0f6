#include "runtime/DateUtils.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/Services.h"
#include "runtime/Format.h"
#include "runtime/SysUtils.h"

namespace rt {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;
constexpr std::int64_t kDaysTo1970 = 25569;  // 1899-12-30 .. 1970-01-01

bool IsLeapYear(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back
// (H. Hinnant's algorithms).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    value = static_cast<TDateTime>(DaysFromCivil(year, month, day) + kDaysTo1970);
    return true;
}

// The value in whole milliseconds, rounded once so that the date and the
// time of day always agree (0.99999999999 is the next midnight).
bool ToMilliseconds(TDateTime value, std::int64_t& ms) {
    if (!std::isfinite(value) || std::fabs(value) > 1e7) return false;
    ms = std::llround(value * static_cast<double>(kMsPerDay));
    return true;
}

// Composes a date and a time of day; before 1899-12-30 the time counts away from zero.
TDateTime Compose(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime value = 0;
    if (!TryEncodeDate(year, month, day, value)) throw EConvertError("Invalid argument to date encode");
    return value;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    year = month = day = 0;
    std::int64_t ms = 0;
    if (!ToMilliseconds(value, ms)) return;
    // The day is the whole part, truncated toward zero as the runtime does.
    CivilFromDays(ms / kMsPerDay - kDaysTo1970, year, month, day);
    if (year < 1 || year > 9999) year = month = day = 0;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
    hour = minute = second = millisecond = 0;
    std::int64_t ms = 0;
    if (!ToMilliseconds(value, ms)) return;
    std::int64_t t = std::llabs(ms) % kMsPerDay;
    millisecond = static_cast<int>(t % 1000);
    t /= 1000;
    second = static_cast<int>(t % 60);
    t /= 60;
    minute = static_cast<int>(t % 60);
    hour = static_cast<int>(t / 60);
}

TDateTime Now() {
    const platform::LocalTime now = platform::Clock().Now();
    return Compose(EncodeDate(now.year, now.month, now.day),
                   EncodeTime(now.hour, now.minute, now.second, now.millisecond));
}

TDateTime Date() {
    const platform::LocalTime now = platform::Clock().Now();
    return EncodeDate(now.year, now.month, now.day);
}

namespace {

// The order of day ('D'), month ('M') and year ('Y') in a short date
// format; parts the format lacks follow in month, day, year order.
std::string DateOrder(const std::string& format) {
    std::string order;
    bool quoted = false;
    char quote = 0;
    for (char c : format) {
        if (quoted) {
            quoted = c != quote;
            continue;
        }
        if (c == '\'' || c == '"') {
            quoted = true;
            quote = c;
            continue;
        }
        char u = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos) order += u;
    }
    for (char u : std::string("MDY"))
        if (order.find(u) == std::string::npos) order += u;
    return order;
}

}  // namespace

bool TryStrToDate(const std::string& text, TDateTime& value) {
    platform::IClock& clock = platform::Clock();
    return TryStrToDate(text, value, clock.ShortDateFormat(), clock.DateSeparator());
}

bool TryStrToDate(const std::string& text, TDateTime& value, const std::string& shortDateFormat, char separator) {
    platform::IClock& clock = platform::Clock();
    const std::string s = Trim(text);

    // Up to three numbers of 1 to 4 digits, separated by the separator.
    struct Number {
        int value = 0;
        int digits = 0;
    };
    std::vector<Number> numbers;
    std::size_t i = 0;
    while (true) {
        Number n;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
            if (++n.digits > 4) return false;
            n.value = n.value * 10 + (s[i] - '0');
        }
        if (n.digits == 0) return false;
        numbers.push_back(n);
        if (i == s.size()) break;
        if (s[i] != separator || numbers.size() == 3) return false;
        ++i;
    }
    if (numbers.size() < 2) return false;

    // Two numbers are the day and the month in this year.
    std::string order = DateOrder(shortDateFormat);
    if (numbers.size() == 2) order.erase(order.find('Y'), 1);
    int day = 0, month = 0;
    Number year{0, 0};
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        switch (order[k]) {
        case 'D': day = numbers[k].value; break;
        case 'M': month = numbers[k].value; break;
        default: year = numbers[k]; break;
        }
    }
    if (year.digits == 0) {
        year.value = clock.Now().year;
    } else if (year.digits <= 2) {
        year.value += clock.Now().year / 100 * 100;
    }
    return TryEncodeDate(year.value, month, day, value);
}

TDateTime StrToDate(const std::string& text) {
    TDateTime value = 0;
    if (!TryStrToDate(text, value)) throw EConvertError(Format("'%s' is not a valid date", {text}));
    return value;
}

std::string DateToStr(TDateTime value) {
    static const char* const monthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
    static const char* const dayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    platform::IClock& clock = platform::Clock();
    const std::string format = clock.ShortDateFormat();
    int year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    if (month == 0) return {};
    const std::int64_t days = static_cast<std::int64_t>(std::trunc(value));
    const int weekday = static_cast<int>(((days % 7) + 7 + 6) % 7);  // 1899-12-30 was a Saturday
    auto twoDigits = [](int n) { return Format("%.2d", {n}); };

    std::string out;
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        const char u = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        std::size_t run = 1;
        if (u == 'D' || u == 'M' || u == 'Y') {
            while (i + run < format.size() && (format[i + run] == c || format[i + run] == (c ^ 0x20))) ++run;
        }
        if (c == '\'' || c == '"') {
            std::size_t end = format.find(c, i + 1);
            if (end == std::string::npos) end = format.size();
            out.append(format, i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (u == 'D') {
            if (run == 1) out += std::to_string(day);
            else if (run == 2) out += twoDigits(day);
            else if (run == 3) out += std::string(dayNames[weekday]).substr(0, 3);
            else out += dayNames[weekday];
        } else if (u == 'M') {
            if (run == 1) out += std::to_string(month);
            else if (run == 2) out += twoDigits(month);
            else if (run == 3) out += std::string(monthNames[month - 1]).substr(0, 3);
            else out += monthNames[month - 1];
        } else if (u == 'Y') {
            out += run <= 2 ? twoDigits(year % 100) : Format("%.4d", {year});
        } else if (c == '/') {
            out += clock.DateSeparator();
        } else {
            out += c;
        }
        i += run;
    }
    return out;
}

}  // namespace rt
