#include <gtest/gtest.h>

#include "runtime/Format.h"
#include "runtime/SysUtils.h"

using rt::Format;

namespace {

// The message Format raised, or "" when it did not raise.
std::string ErrorOf(const std::string& format, rt::FormatArgs args) {
    try {
        Format(format, args);
    } catch (const rt::EConvertError& e) {
        return e.Message();
    }
    return "";
}

std::string Invalid(const std::string& format) {
    return "Format '" + format + "' invalid or incompatible with argument";
}

}  // namespace

TEST(Format, CopiesTextAndPercent) {
    EXPECT_EQ(Format("plain", {}), "plain");
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("%%d", {}), "%d");
    EXPECT_EQ(Format("", {}), "");
}

TEST(Format, Integers) {
    EXPECT_EQ(Format("%d", {42}), "42");
    EXPECT_EQ(Format("%d", {-42}), "-42");
    EXPECT_EQ(Format("[%5d]", {42}), "[   42]");
    EXPECT_EQ(Format("[%-5d]", {42}), "[42   ]");
    EXPECT_EQ(Format("[%2d]", {12345}), "[12345]");
    EXPECT_EQ(Format("%d", {9000000000LL}), "9000000000");
    EXPECT_EQ(Format("%d", {-9223372036854775807LL - 1}), "-9223372036854775808");
    EXPECT_EQ(Format("%D", {7}), "7");
}

TEST(Format, IntegerPrecisionPadsWithZeros) {
    EXPECT_EQ(Format("%.5d", {42}), "00042");
    EXPECT_EQ(Format("%.5d", {-42}), "-00042");
    EXPECT_EQ(Format("[%8.5d]", {-42}), "[  -00042]");
    EXPECT_EQ(Format("%.2d", {12345}), "12345");
    EXPECT_EQ(Format("%.0d", {0}), "0");
}

TEST(Format, UnsignedAndHex) {
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%u", {-1LL}), "18446744073709551615");
    EXPECT_EQ(Format("%u", {4000000000u}), "4000000000");
    EXPECT_EQ(Format("%.4u", {7}), "0007");
    EXPECT_EQ(Format("%x", {255}), "FF");
    EXPECT_EQ(Format("%X", {3054}), "BEE");
    EXPECT_EQ(Format("%.4x", {255}), "00FF");
    EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(Format("%x", {-1LL}), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format("%x", {0}), "0");
    EXPECT_EQ(Format("[%6x]", {0xABC}), "[   ABC]");
}

TEST(Format, Texts) {
    EXPECT_EQ(Format("%s", {"abc"}), "abc");
    EXPECT_EQ(Format("%s", {std::string("std")}), "std");
    EXPECT_EQ(Format("%s", {'x'}), "x");
    EXPECT_EQ(Format("[%5s]", {"abc"}), "[  abc]");
    EXPECT_EQ(Format("[%-5s]", {"abc"}), "[abc  ]");
    EXPECT_EQ(Format("%.2s", {"abc"}), "ab");
    EXPECT_EQ(Format("[%5.2s]", {"abc"}), "[   ab]");
    EXPECT_EQ(Format("%.0s", {"abc"}), "");
    EXPECT_EQ(Format("%S and %s", {"A", "b"}), "A and b");
    EXPECT_EQ(Format("%s", {""}), "");
}

TEST(Format, IndexSelectsArgumentAndLaterSpecifiersContinue) {
    EXPECT_EQ(Format("%1:s %0:s", {"a", "b"}), "b a");
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
    EXPECT_EQ(Format("%2:s %0:s %s %s", {"a", "b", "c"}), "c a b c");
    EXPECT_EQ(Format("%0:s-%0:s", {"x"}), "x-x");
    EXPECT_EQ(Format("%1:-4d|", {1, 2}), "2   |");
    EXPECT_EQ(Format("%1:5.2f", {0, 3.14159}), " 3.14");
}

TEST(Format, StarTakesWidthAndPrecisionFromArguments) {
    EXPECT_EQ(Format("[%*d]", {5, 42}), "[   42]");
    EXPECT_EQ(Format("[%-*d]", {4, 7}), "[7   ]");
    EXPECT_EQ(Format("%.*f", {3, 3.14159}), "3.142");
    EXPECT_EQ(Format("[%*.*f]", {8, 2, 3.14159}), "[    3.14]");
    EXPECT_EQ(Format("%.*s", {2, "abc"}), "ab");
    EXPECT_EQ(Format("%.*d", {4, 9}), "0009");
    EXPECT_EQ(Format("[%*s] %s", {3, "a", "b"}), "[  a] b");
    EXPECT_EQ(ErrorOf("%*d", {"x", 1}), Invalid("%*d"));
    EXPECT_EQ(ErrorOf("%*d", {3.0, 1}), Invalid("%*d"));
    EXPECT_EQ(ErrorOf("%*d", {5}), "No argument for format '%*d'");
}

TEST(Format, ExponentForm) {
    EXPECT_EQ(Format("%e", {1.0}), "1.00000000000000E+000");
    EXPECT_EQ(Format("%e", {0.0}), "0.00000000000000E+000");
    EXPECT_EQ(Format("%e", {-123.456}), "-1.23456000000000E+002");
    EXPECT_EQ(Format("%.3e", {12345.678}), "1.23E+004");
    EXPECT_EQ(Format("%.2e", {0.00123}), "1.2E-003");
    EXPECT_EQ(Format("%.4e", {-2.5}), "-2.500E+000");
    EXPECT_EQ(Format("%.2e", {1e100}), "1.0E+100");
    EXPECT_EQ(Format("%.2e", {9.99}), "1.0E+001");  // the rounding carries into the exponent
    EXPECT_EQ(Format("%E", {1e-300}), "1.00000000000000E-300");
    EXPECT_EQ(Format("[%22.3e]", {1.5}), "[             1.50E+000]");
}

TEST(Format, FixedForm) {
    EXPECT_EQ(Format("%f", {3.14159}), "3.14");
    EXPECT_EQ(Format("%f", {2.0}), "2.00");
    EXPECT_EQ(Format("%.0f", {2.5}), "3");  // halves away from zero
    EXPECT_EQ(Format("%.0f", {-1.5}), "-2");
    EXPECT_EQ(Format("%.2f", {0.125}), "0.13");
    EXPECT_EQ(Format("%.2f", {1.005}), "1.00");  // 1.005 is 1.00499999... in binary
    EXPECT_EQ(Format("%.1f", {0.96}), "1.0");
    EXPECT_EQ(Format("%.3f", {0.0}), "0.000");
    EXPECT_EQ(Format("%.4f", {0.00005}), "0.0001");
    EXPECT_EQ(Format("%.2f", {1e15}), "1000000000000000.00");
    EXPECT_EQ(Format("%.2f", {-0.5}), "-0.50");
    EXPECT_EQ(Format("[%8.3f]", {-3.14159}), "[  -3.142]");
    EXPECT_EQ(Format("[%-8.1f]", {2.25}), "[2.3     ]");
}

TEST(Format, GeneralFormIsShortest) {
    EXPECT_EQ(Format("%g", {1.5}), "1.5");
    EXPECT_EQ(Format("%g", {0.1 + 0.2}), "0.3");
    EXPECT_EQ(Format("%g", {100.0}), "100");
    EXPECT_EQ(Format("%g", {-0.5}), "-0.5");
    EXPECT_EQ(Format("%g", {0.0}), "0");
    EXPECT_EQ(Format("%g", {1.0 / 3}), "0.333333333333333");
    EXPECT_EQ(Format("%g", {0.0001}), "0.0001");
    EXPECT_EQ(Format("%g", {1e14}), "100000000000000");
    EXPECT_EQ(Format("%g", {1e20}), "1E20");
    EXPECT_EQ(Format("%g", {1.5e-10}), "1.5E-10");
    EXPECT_EQ(Format("%g", {123456789012345678.0}), "1.23456789012346E17");
    EXPECT_EQ(Format("%.3g", {3.14159}), "3.14");
    EXPECT_EQ(Format("%.2g", {1234.0}), "1.2E3");
}

TEST(Format, NumberAndMoney) {
    EXPECT_EQ(Format("%n", {1234567.891}), "1,234,567.89");
    EXPECT_EQ(Format("%n", {-1234.5}), "-1,234.50");
    EXPECT_EQ(Format("%n", {999.999}), "1,000.00");
    EXPECT_EQ(Format("%n", {12.0}), "12.00");
    EXPECT_EQ(Format("%.0n", {1234.5}), "1,235");
    EXPECT_EQ(Format("%.1n", {123456.0}), "123,456.0");
    EXPECT_EQ(Format("%m", {1234.5}), "$1,234.50");
    EXPECT_EQ(Format("%m", {0.0}), "$0.00");
    EXPECT_EQ(Format("%.0m", {5.0}), "$5");
    EXPECT_EQ(Format("%m", {-1234.5}), "-$1,234.50");
}

TEST(Format, Pointer) {
    const void* p = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(0xBEEF));
    const std::string expected = std::string(sizeof(void*) * 2 - 4, '0') + "BEEF";
    EXPECT_EQ(Format("%p", {p}), expected);
    EXPECT_EQ(Format("%p", {static_cast<const void*>(nullptr)}), std::string(sizeof(void*) * 2, '0'));
}

TEST(Format, BadSpecifierRaises) {
    for (const char* f : {"%y", "%", "100%", "%5", "%-", "%.", "%1:", "%5-d", "%d %", "%-5", "%#d", "% d"}) {
        EXPECT_EQ(ErrorOf(f, {1, 2}), Invalid(f)) << f;
    }
}

TEST(Format, ArgumentOfTheWrongKindRaises) {
    EXPECT_EQ(ErrorOf("%d", {"12"}), Invalid("%d"));
    EXPECT_EQ(ErrorOf("%d", {1.0}), Invalid("%d"));
    EXPECT_EQ(ErrorOf("%d", {true}), Invalid("%d"));
    EXPECT_EQ(ErrorOf("%d", {'1'}), Invalid("%d"));
    EXPECT_EQ(ErrorOf("%u", {"1"}), Invalid("%u"));
    EXPECT_EQ(ErrorOf("%x", {2.0}), Invalid("%x"));
    EXPECT_EQ(ErrorOf("a %s b", {5}), Invalid("a %s b"));
    EXPECT_EQ(ErrorOf("%s", {2.5}), Invalid("%s"));
    EXPECT_EQ(ErrorOf("%s", {false}), Invalid("%s"));
    EXPECT_EQ(ErrorOf("%f", {1}), Invalid("%f"));
    EXPECT_EQ(ErrorOf("%e", {1LL}), Invalid("%e"));
    EXPECT_EQ(ErrorOf("%g", {"1.5"}), Invalid("%g"));
    EXPECT_EQ(ErrorOf("%n", {3}), Invalid("%n"));
    EXPECT_EQ(ErrorOf("%m", {3}), Invalid("%m"));
    EXPECT_EQ(ErrorOf("%p", {3}), Invalid("%p"));
}

TEST(Format, TooFewArgumentsRaise) {
    EXPECT_EQ(ErrorOf("%d", {}), "No argument for format '%d'");
    EXPECT_EQ(ErrorOf("%d and %d", {1}), "No argument for format '%d and %d'");
    EXPECT_EQ(ErrorOf("%3:s", {"a", "b"}), "No argument for format '%3:s'");
    EXPECT_EQ(ErrorOf("%1:s %s", {"a", "b"}), "No argument for format '%1:s %s'");
    EXPECT_THROW(Format("%d", {}), rt::EConvertError);
}

TEST(Format, ExtraArgumentsAreIgnored) { EXPECT_EQ(Format("%d", {1, 2, 3}), "1"); }

TEST(Format, HugeWidthsAndPrecisionsAreConversionErrors) {
    // Each would otherwise ask for gigabytes of padding.
    for (const char* f : {"%2147483647d", "%.999999999d", "%-100000s", "%.70000x", "%99999999u"})
        EXPECT_EQ(ErrorOf(f, {7}), Invalid(f)) << f;
    EXPECT_EQ(ErrorOf("%*d", {1 << 30, 7}), Invalid("%*d"));
    EXPECT_EQ(ErrorOf("%.*d", {1 << 30, 7}), Invalid("%.*d"));
    // Wide but sane padding still works.
    EXPECT_EQ(Format("%5000d", {7}).size(), 5000u);
    EXPECT_EQ(Format("%.300d", {7}), std::string(299, '0') + "7");
}
