// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/NumberRule.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "model/Error.h"

namespace mfb {
namespace {

struct Valid {
    const char* field;
    char separator;
    double value;
};

TEST(NumberRuleTest, ConvertsValidFields) {
    const Valid cases[] = {
        {"1000", '.', 1000},
        {" 123", '.', 123},
        {"0.006", '.', 0.006},
        {"0,006", ',', 0.006},
        {".", '.', 0},
        {",", ',', 0},
        {"-.5", '.', -0.5},
        {"+2.5  ", '.', 2.5},
        {"5.", '.', 5},
        {"1e3", '.', 1000},
        {"1E+3", '.', 1000},
        {"2.5e-2", '.', 0.025},
        {"7e", '.', 7},  // exponent without digits is 0
        {"7e-", '.', 7},
        {"   0.1   ", '.', 0.1},
        {"1e-400", '.', 0},  // below the smallest denormal
        {"4.9406564584124654e-324", '.', 4.9406564584124654e-324},
        {"1.7976931348623157e308", '.', DBL_MAX},
        {"0.0000000000000000000000000000001e31", '.', 1},
        // Correct rounding: the halfway case between two doubles goes to even, and a digit far
        // past the 17th still decides.
        {"9007199254740993", '.', 9007199254740992.0},
        {"9007199254740993.000000000000000000001", '.', 9007199254740994.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseNumber(c.field, c.separator), c.value) << "field '" << c.field << "'";
    }
}

TEST(NumberRuleTest, NegativeZeroKeepsItsSign) {
    EXPECT_TRUE(std::signbit(ParseNumber("-0", '.')));
    EXPECT_TRUE(std::signbit(ParseNumber("-1e-999", '.')));
}

struct Invalid {
    const char* field;
    char separator;
    const char* hint = "";  // after the message, where the failure has a nameable cause
};

constexpr char kComma[] =
    ": it uses ',', this system's decimal separator is '.'; `mfbcalc-cli convert` rewrites a "
    "catalogue";
constexpr char kPoint[] =
    ": it uses '.', this system's decimal separator is ','; `mfbcalc-cli convert` rewrites a "
    "catalogue";
constexpr char kTab[] = ": it holds a tab, where only blanks may stand";

TEST(NumberRuleTest, RejectsWithTheFieldAsCut) {
    const Invalid cases[] = {
        {"", '.'},
        {"    ", '.'},
        {"-", '.'},
        {"+", '.'},
        {"e5", '.'},
        {"1a3", '.'},
        {"0.006", ',', kPoint},
        {"0,006", '.', kComma},
        {"1 2", '.'},
        {"\t12", '.', kTab},
        {"12\t", '.', kTab},
        {"1.2.3", '.'},
        {"--1", '.'},
        {"1e5.0", '.'},
        {"1,000.5", '.'},
        {"1,000.5", ','},
        {"1,5\t", '.', kTab},
        {" -2,5e3 ", '.', kComma},
        {"0x10", '.'},
        {"inf", '.'},
        {"nan", '.'},
        {"1e400", '.'},
        {"-2e308", '.'},
        {"1e99999999999999999999", '.'},
    };
    for (const auto& c : cases) {
        try {
            ParseNumber(c.field, c.separator);
            ADD_FAILURE() << "accepted '" << c.field << "'";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(c.field) +
                                                 "' is not a valid floating point value" + c.hint);
        }
    }
}

TEST(NumberRuleTest, HugeFieldsStayExact) {
    // A megabyte of digits, as a hand-edited file might hold, still rounds correctly.
    std::string field = "0." + std::string(1'000'000, '0') + "1e1000001";
    EXPECT_EQ(ParseNumber(field, '.'), 1.0);
    EXPECT_THROW(ParseNumber(std::string(1'000'000, '9'), '.'), Error);
    EXPECT_EQ(ParseNumber("1" + std::string(300, '0'), '.'), 1e300);
}

}  // namespace
}  // namespace mfb
