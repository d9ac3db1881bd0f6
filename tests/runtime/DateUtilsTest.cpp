#include <gtest/gtest.h>

#include "runtime/DateUtils.h"
#include "runtime/SysUtils.h"
#include "RuntimeFakes.h"

using namespace rt;

namespace {

class DateUtilsTest : public ::testing::Test {
protected:
    std::shared_ptr<rt_test::FakeClock> clock = std::make_shared<rt_test::FakeClock>();
    platform::ServiceSet Fakes() {
        platform::ServiceSet s;
        s.clock = clock;
        return s;
    }
    platform::ScopedServices services{Fakes()};

    void UseFormat(const std::string& format, char separator) {
        clock->shortDateFormat = format;
        clock->dateSeparator = separator;
    }
};

struct Ymd {
    int y, m, d;
    bool operator==(const Ymd&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Ymd& v) { return os << v.y << "-" << v.m << "-" << v.d; }

Ymd YmdOf(TDateTime value) {
    Ymd r{};
    DecodeDate(value, r.y, r.m, r.d);
    return r;
}

struct Hms {
    int h, m, s, ms;
    bool operator==(const Hms&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Hms& v) {
    return os << v.h << ":" << v.m << ":" << v.s << "." << v.ms;
}

Hms HmsOf(TDateTime value) {
    Hms r{};
    DecodeTime(value, r.h, r.m, r.s, r.ms);
    return r;
}

}  // namespace

TEST(DateUtils, DaysCountFrom30December1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(EncodeDate(2000, 2, 29) + 1, EncodeDate(2000, 3, 1));
}

TEST(DateUtils, EncodeDateRejectsInvalidDates) {
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 4, 31), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DateUtils, DecodeDateRoundTrips) {
    for (Ymd d : {Ymd{1, 1, 1}, Ymd{1600, 2, 29}, Ymd{1899, 12, 29}, Ymd{1899, 12, 30}, Ymd{1900, 3, 1},
                  Ymd{2000, 2, 29}, Ymd{2024, 12, 31}, Ymd{9999, 12, 31}}) {
        EXPECT_EQ(YmdOf(EncodeDate(d.y, d.m, d.d)), d);
    }
    for (int serial = -800; serial < 800000; serial += 97) {
        Ymd d = YmdOf(serial);
        EXPECT_EQ(EncodeDate(d.y, d.m, d.d), serial);
    }
}

TEST(DateUtils, DecodeTimeIsExactToTheMillisecond) {
    EXPECT_EQ(HmsOf(EncodeTime(1, 2, 3, 0)), (Hms{1, 2, 3, 0}));
    EXPECT_EQ(HmsOf(EncodeTime(23, 59, 59, 999)), (Hms{23, 59, 59, 999}));
    EXPECT_EQ(HmsOf(EncodeTime(0, 0, 0, 1)), (Hms{0, 0, 0, 1}));
    EXPECT_EQ(HmsOf(0.5), (Hms{12, 0, 0, 0}));
    EXPECT_EQ(HmsOf(EncodeDate(2024, 5, 6) + EncodeTime(1, 2, 3, 4)), (Hms{1, 2, 3, 4}));
    // Every millisecond of a few hours decodes to itself.
    for (int ms = 0; ms < 3 * 3600 * 1000; ms += 997) {
        const int h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, milli = ms % 1000;
        ASSERT_EQ(HmsOf(EncodeDate(2030, 1, 1) + EncodeTime(h, m, s, milli)), (Hms{h, m, s, milli})) << ms;
    }
}

TEST(DateUtils, NegativeValuesKeepTheTimeAsAPositiveFraction) {
    EXPECT_EQ(YmdOf(-1.25), (Ymd{1899, 12, 29}));
    EXPECT_EQ(HmsOf(-1.25), (Hms{6, 0, 0, 0}));
    EXPECT_EQ(YmdOf(-0.5), (Ymd{1899, 12, 30}));
}

TEST(DateUtils, AFractionJustBelowMidnightIsMidnight) {
    const TDateTime almost = EncodeDate(2024, 1, 1) + 1 - 1e-10;
    EXPECT_EQ(YmdOf(almost), (Ymd{2024, 1, 2}));
    EXPECT_EQ(HmsOf(almost), (Hms{0, 0, 0, 0}));
}

TEST_F(DateUtilsTest, NowAndDateReadThePlatformClock) {
    clock->now = {2025, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(Date(), EncodeDate(2025, 3, 4));
    EXPECT_EQ(YmdOf(Now()), (Ymd{2025, 3, 4}));
    EXPECT_EQ(HmsOf(Now()), (Hms{5, 6, 7, 8}));
}

TEST_F(DateUtilsTest, StrToDateMonthDayYear) {
    UseFormat("M/d/yyyy", '/');
    EXPECT_EQ(StrToDate("12/25/2024"), EncodeDate(2024, 12, 25));
    EXPECT_EQ(StrToDate("1/2/2003"), EncodeDate(2003, 1, 2));
    EXPECT_EQ(StrToDate(" 01/02/2003 "), EncodeDate(2003, 1, 2));
    EXPECT_THROW(StrToDate("25/12/2024"), EConvertError);
}

TEST_F(DateUtilsTest, StrToDateDayMonthYear) {
    UseFormat("dd.MM.yyyy", '.');
    EXPECT_EQ(StrToDate("25.12.2024"), EncodeDate(2024, 12, 25));
    EXPECT_EQ(StrToDate("1.2.2003"), EncodeDate(2003, 2, 1));
    EXPECT_THROW(StrToDate("25/12/2024"), EConvertError);  // not this format's separator
}

TEST_F(DateUtilsTest, StrToDateYearMonthDay) {
    UseFormat("yyyy-MM-dd", '-');
    EXPECT_EQ(StrToDate("2024-12-25"), EncodeDate(2024, 12, 25));
    UseFormat("yy/MM/dd", '/');
    EXPECT_EQ(StrToDate("24/12/25"), EncodeDate(2024, 12, 25));
}

TEST_F(DateUtilsTest, TwoDigitYearsAreInTheCurrentCentury) {
    UseFormat("d/M/yyyy", '/');
    clock->now.year = 2026;
    EXPECT_EQ(StrToDate("2/1/03"), EncodeDate(2003, 1, 2));
    EXPECT_EQ(StrToDate("2/1/99"), EncodeDate(2099, 1, 2));
    EXPECT_EQ(StrToDate("2/1/0099"), EncodeDate(99, 1, 2));  // four digits as written
    clock->now.year = 1999;
    EXPECT_EQ(StrToDate("2/1/03"), EncodeDate(1903, 1, 2));
}

TEST_F(DateUtilsTest, DayAndMonthAloneAreInTheCurrentYear) {
    UseFormat("d/M/yyyy", '/');
    clock->now.year = 2026;
    EXPECT_EQ(StrToDate("24/12"), EncodeDate(2026, 12, 24));
}

TEST_F(DateUtilsTest, InvalidDatesRaise) {
    UseFormat("M/d/yyyy", '/');
    for (const char* bad : {"", "abc", "2/30/2024", "13/1/2024", "1/2/2024/5", "1//2024", "1/2/", "/1/2024",
                            "1/2/20245", "1-2-2024", "1/2/2024x", "-1/2/2024", "1 /2/2024"}) {
        TDateTime value = 123;
        EXPECT_FALSE(TryStrToDate(bad, value)) << bad;
        try {
            StrToDate(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid date");
        }
    }
}

TEST_F(DateUtilsTest, DateToStrFollowsTheShortDateFormat) {
    const TDateTime date = EncodeDate(2024, 3, 5) + 0.75;
    UseFormat("M/d/yyyy", '/');
    EXPECT_EQ(DateToStr(date), "3/5/2024");
    UseFormat("dd/MM/yyyy", '.');
    EXPECT_EQ(DateToStr(date), "05.03.2024");  // "/" stands for the separator
    UseFormat("yyyy-MM-dd", '-');
    EXPECT_EQ(DateToStr(date), "2024-03-05");
    UseFormat("d/M/yy", '/');
    EXPECT_EQ(DateToStr(date), "5/3/24");
    UseFormat("ddd d MMM yyyy", '/');
    EXPECT_EQ(DateToStr(date), "Tue 5 Mar 2024");
    UseFormat("dddd, MMMM d 'of' yyyy", '/');
    EXPECT_EQ(DateToStr(date), "Tuesday, March 5 of 2024");
}

TEST_F(DateUtilsTest, DateTextRoundTripsInEveryFormat) {
    for (auto [format, separator] : {std::pair{"M/d/yyyy", '/'}, std::pair{"dd.MM.yyyy", '.'},
                                     std::pair{"yyyy-MM-dd", '-'}, std::pair{"d/M/yy", '/'}}) {
        UseFormat(format, separator);
        for (TDateTime d : {EncodeDate(2001, 1, 31), EncodeDate(2026, 12, 8), EncodeDate(2099, 7, 4)})
            EXPECT_EQ(StrToDate(DateToStr(d)), d) << format;
    }
}
