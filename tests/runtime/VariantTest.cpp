#include <gtest/gtest.h>

#include "runtime/Variants.h"

using rt::Variant;

namespace {
template <class F>
std::string VariantError(F f) {
    try {
        f();
    } catch (const rt::EVariantError& e) {
        return e.Message();
    }
    return "";
}
}  // namespace

TEST(Variant, TypeNames) {
    EXPECT_EQ(Variant().TypeName(), "Empty");
    EXPECT_EQ(Variant(Variant::Null{}).TypeName(), "Null");
    EXPECT_EQ(Variant(true).TypeName(), "Boolean");
    EXPECT_EQ(Variant(1).TypeName(), "Int64");
    EXPECT_EQ(Variant(1.5).TypeName(), "Double");
    EXPECT_EQ(Variant("x").TypeName(), "String");
    EXPECT_TRUE(Variant().IsEmpty());
    EXPECT_TRUE(Variant(Variant::Null{}).IsNull());
    EXPECT_TRUE(Variant("x").IsText());
}

TEST(Variant, EmptyConvertsToNothing) {
    Variant v;
    EXPECT_EQ(v.ToString(), "");
    EXPECT_EQ(v.ToInt64(), 0);
    EXPECT_EQ(v.ToDouble(), 0);
    EXPECT_FALSE(v.ToBool());
}

TEST(Variant, NullDoesNotConvert) {
    Variant v(Variant::Null{});
    EXPECT_EQ(VariantError([&] { v.ToString(); }), "Could not convert variant of type (Null) into type (String)");
    EXPECT_EQ(VariantError([&] { v.ToInt64(); }), "Could not convert variant of type (Null) into type (Int64)");
    EXPECT_EQ(VariantError([&] { v.ToDouble(); }), "Could not convert variant of type (Null) into type (Double)");
    EXPECT_EQ(VariantError([&] { v.ToBool(); }), "Could not convert variant of type (Null) into type (Boolean)");
}

TEST(Variant, ToString) {
    EXPECT_EQ(Variant(true).ToString(), "True");
    EXPECT_EQ(Variant(false).ToString(), "False");
    EXPECT_EQ(Variant(std::int64_t{-5000000000}).ToString(), "-5000000000");
    EXPECT_EQ(Variant(2.5).ToString(), "2.5");
    EXPECT_EQ(Variant(std::string("text")).ToString(), "text");
}

TEST(Variant, Numbers) {
    EXPECT_EQ(Variant(" 42 ").ToInt64(), 42);
    EXPECT_EQ(Variant("$10").ToInt64(), 16);
    EXPECT_EQ(Variant("2.5").ToInt64(), 2);  // rounds half to even
    EXPECT_EQ(Variant(3.5).ToInt64(), 4);
    EXPECT_EQ(Variant(-2.6).ToInt64(), -3);
    EXPECT_EQ(Variant(true).ToInt64(), -1);  // the classic True
    EXPECT_EQ(Variant(false).ToInt64(), 0);
    EXPECT_EQ(Variant("1.25").ToDouble(), 1.25);
    EXPECT_EQ(Variant(7).ToDouble(), 7.0);
    EXPECT_EQ(VariantError([] { Variant("abc").ToInt64(); }),
              "Could not convert variant of type (String) into type (Int64)");
    EXPECT_EQ(VariantError([] { Variant("1,5").ToDouble(); }),
              "Could not convert variant of type (String) into type (Double)");
    EXPECT_EQ(VariantError([] { Variant(1e300).ToInt64(); }),
              "Could not convert variant of type (Double) into type (Int64)");
}

TEST(Variant, Booleans) {
    EXPECT_TRUE(Variant("TRUE").ToBool());
    EXPECT_FALSE(Variant("false").ToBool());
    EXPECT_TRUE(Variant("2").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_TRUE(Variant(-1).ToBool());
    EXPECT_FALSE(Variant(0.0).ToBool());
    EXPECT_EQ(VariantError([] { Variant("maybe").ToBool(); }),
              "Could not convert variant of type (String) into type (Boolean)");
}

TEST(Variant, Equality) {
    EXPECT_EQ(Variant(Variant::Null{}), Variant(Variant::Null{}));
    EXPECT_EQ(Variant(1), Variant(std::int64_t{1}));
    EXPECT_NE(Variant(1), Variant(1.0));
    EXPECT_NE(Variant(), Variant(Variant::Null{}));
}
