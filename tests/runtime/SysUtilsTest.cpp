#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "runtime/SysUtils.h"

using namespace rt;

TEST(SysUtils, AbortIsSilent) {
    try {
        Abort();
    } catch (const EAbort& e) {
        EXPECT_EQ(e.Message(), "Operation aborted");
        EXPECT_STREQ(e.what(), "Operation aborted");
    }
}

TEST(SysUtils, CaseHelpersTouchOnlyAsciiLetters) {
    EXPECT_EQ(UpperCase("abc-XYZ_1\xe4"), "ABC-XYZ_1\xe4");
    EXPECT_EQ(LowerCase("ABC-xyz"), "abc-xyz");
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText("Hello", "Hell"));
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "ABC"), 0);
    EXPECT_GT(CompareText("_", "z"), 0);  // compared in upper case
}

TEST(SysUtils, PosText) {
    EXPECT_EQ(PosText("WORLD", "hello world"), 6u);
    EXPECT_EQ(PosText("o", "hello world", 5), 7u);
    EXPECT_EQ(PosText("x", "hello"), std::string::npos);
    EXPECT_EQ(PosText("hello!", "hello"), std::string::npos);
    EXPECT_EQ(PosText("", "abc", 1), 1u);
    EXPECT_EQ(PosText("a", "abc", 9), std::string::npos);
}

TEST(SysUtils, TrimRemovesControlsAndBlanks) {
    EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x \n"), "  x");
    EXPECT_EQ(Trim("   "), "");
}

TEST(SysUtils, IntegerText) {
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");
    EXPECT_EQ(IntToHex(0, 0), "0");
}

TEST(SysUtils, StrToIntAcceptsDecimalAndHex) {
    EXPECT_EQ(StrToInt("123"), 123);
    EXPECT_EQ(StrToInt("-123"), -123);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("0X1F"), 31);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);  // hex uses all 32 bits
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("5000000000"), 5000000000LL);
    int value = 0;
    EXPECT_TRUE(TryStrToInt("0x10", value));
    EXPECT_EQ(value, 16);
}

TEST(SysUtils, StrToIntRejectsEverythingElse) {
    for (const char* bad : {"", " 1", "1 ", "1.0", "abc", "$", "0x", "-", "+-1", "2147483648", "-2147483649",
                            "$100000000", "1e3", "$G", "12a"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
        int value = 99;
        EXPECT_FALSE(TryStrToInt(bad, value)) << bad;
        EXPECT_EQ(StrToIntDef(bad, -5), -5) << bad;
    }
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(SysUtils, FloatToStrIsShortest) {
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(-3), "-3");
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(FloatToStr(123456.789), "123456.789");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(-1.5e-7), "-1.5E-7");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
}

TEST(SysUtils, FloatToStrIgnoresTheCLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale here";
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(SysUtils, IsValidIdent) {
    EXPECT_TRUE(IsValidIdent("a"));
    EXPECT_TRUE(IsValidIdent("_"));
    EXPECT_TRUE(IsValidIdent("Button_1"));
    EXPECT_FALSE(IsValidIdent(""));
    EXPECT_FALSE(IsValidIdent("1a"));
    EXPECT_FALSE(IsValidIdent("a.b"));
    EXPECT_FALSE(IsValidIdent("a b"));
}

TEST(SysUtils, FileNameParts) {
    EXPECT_EQ(ExtractFilePath("c:\\dir\\file.ini"), "c:\\dir\\");
    EXPECT_EQ(ExtractFilePath("c:file.ini"), "c:");
    EXPECT_EQ(ExtractFilePath("dir/file"), "dir/");
    EXPECT_EQ(ExtractFilePath("file"), "");
    EXPECT_EQ(ExtractFileName("c:\\dir\\file.ini"), "file.ini");
    EXPECT_EQ(ExtractFileName("c:\\dir\\"), "");
    EXPECT_EQ(ExtractFileExt("c:\\dir\\file.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("c:\\dir.d\\file"), "");
    EXPECT_EQ(ExtractFileExt("file."), ".");
    EXPECT_EQ(ChangeFileExt("c:\\dir\\Solvane.dll", ".ini"), "c:\\dir\\Solvane.ini");
    EXPECT_EQ(ChangeFileExt("c:\\dir.d\\file", ".ini"), "c:\\dir.d\\file.ini");
    EXPECT_EQ(ChangeFileExt("a.b", ""), "a");
    EXPECT_EQ(IncludeTrailingPathDelimiter("c:\\dir"), "c:\\dir\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("c:\\dir\\"), "c:\\dir\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("dir/"), "dir/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "\\");
}
