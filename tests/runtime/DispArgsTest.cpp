// Where IDispatch::Invoke's arguments sit, and which calls fit a member.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/DispArgs.h"

using rt::CheckArguments;
using rt::MapArguments;
using rt::TArgFault;

namespace {

TEST(ArgumentMap, PositionalNamedAndMixed) {
    using V = std::vector<std::size_t>;
    EXPECT_EQ(MapArguments(0, {}), V{});
    EXPECT_EQ(MapArguments(3, {}), (V{2, 1, 0}));
    // All named, in any order: element j serves the argument it names.
    EXPECT_EQ(MapArguments(2, {1, 0}), (V{1, 0}));
    EXPECT_EQ(MapArguments(2, {0, 1}), (V{0, 1}));
    // One named (the second) before the positional first.
    EXPECT_EQ(MapArguments(2, {1}), (V{1, 0}));
    // Named numbers outside the event's arguments (property-put and the like) are ignored.
    EXPECT_EQ(MapArguments(2, {-3, 7}), (V{1, 0}));
}

TEST(ArgumentCheck, CallsThatSupplyEveryParameterOnce) {
    EXPECT_EQ(CheckArguments(0, 0, {}).Fault, TArgFault::None);
    EXPECT_EQ(CheckArguments(3, 3, {}).Fault, TArgFault::None);
    EXPECT_EQ(CheckArguments(3, 3, {2, 1}).Fault, TArgFault::None);  // first positional, the rest named
    EXPECT_EQ(CheckArguments(3, 3, {0, 2, 1}).Fault, TArgFault::None);
    EXPECT_EQ(CheckArguments(1, 4, {}).Fault, TArgFault::None);  // surplus positional arguments are dropped
}

TEST(ArgumentCheck, CountsAndNamesThatDoNotFit) {
    EXPECT_EQ(CheckArguments(2, 1, {}).Fault, TArgFault::BadParamCount);
    EXPECT_EQ(CheckArguments(2, 1, {1}).Fault, TArgFault::BadParamCount);
    EXPECT_EQ(CheckArguments(1, 1, {0, 0}).Fault, TArgFault::BadParamCount);  // more names than arguments

    struct Case {
        std::size_t params, args;
        std::vector<int> named;
        std::size_t element;
    };
    for (const Case& c : std::vector<Case>{
             {2, 2, {-3}, 0},    // DISPID_PROPERTYPUT on a method
             {2, 2, {1, 2}, 1},  // past the last parameter
             {2, 3, {2}, 0},     // even with surplus arguments around it
             {2, 2, {0}, 0},     // the first parameter is also given by position
             {3, 3, {2, 2}, 1},  // named twice
         }) {
        const auto check = CheckArguments(c.params, c.args, c.named);
        EXPECT_EQ(check.Fault, TArgFault::ParamNotFound) << c.params << "/" << c.args;
        EXPECT_EQ(check.Element, c.element) << c.params << "/" << c.args;
    }
}

TEST(ArgumentCheck, WhereItPassesEveryParameterHasItsOwnElement) {
    // Every call shape of up to four arguments for up to four parameters.
    for (std::size_t params = 0; params <= 4; ++params)
        for (std::size_t args = params; args <= 4; ++args)
            for (int bits = 0; bits < 625; ++bits) {
                std::vector<int> named;
                for (int rest = bits, j = 0; j < static_cast<int>(args) && rest % 5 != 0; ++j, rest /= 5)
                    named.push_back(rest % 5 - 1);
                if (CheckArguments(params, args, named).Fault != TArgFault::None) continue;
                const auto map = MapArguments(args, named);
                std::vector<bool> used(args, false);
                for (std::size_t p = 0; p < params; ++p) {
                    ASSERT_LT(map[p], args);
                    EXPECT_FALSE(used[map[p]]) << params << " " << args << " " << bits;
                    used[map[p]] = true;
                    // A named parameter sits at its name's element, a positional one last-first.
                    const auto name = std::find(named.begin(), named.end(), static_cast<int>(p));
                    const std::size_t at = static_cast<std::size_t>(name - named.begin());
                    EXPECT_EQ(map[p], name != named.end() ? at : args - 1 - p);
                }
            }
}

}  // namespace
