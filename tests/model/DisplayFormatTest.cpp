// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DisplayFormat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mfb {
namespace {

struct Case {
    long double value;
    char separator;
    const char* text;
};

TEST(DisplayFormatTest, FixedWithTwoDecimals) {
    const Case cases[] = {
        {0, '.', "0.00"},
        {-0.0, '.', "0.00"},
        {1, '.', "1.00"},
        {0.125, '.', "0.13"},  // exact half rounds away from zero
        {-0.125, '.', "-0.13"},
        {0.005, '.', "0.01"},  // the double is a little above 0.005
        {1.005, '.', "1.00"},  // the double is a little below 1.005
        {2.675, '.', "2.67"},
        {0.994999, '.', "0.99"},
        {0.995, '.', "0.99"},   // the double is a little below 0.995
        {0.995L, '.', "1.00"},  // the extended value is not, and carries into the integer
        {99.995L, '.', "100.00"},
        {-0.001, '.', "-0.00"},  // below zero keeps its sign
        {-0.004999, '.', "-0.00"},
        {0.004999, '.', "0.00"},
        {1e-300, '.', "0.00"},
        {0.8234, '.', "0.82"},
        {11220.4567, ',', "11220,46"},
        {-3.5, ',', "-3,50"},
        {123456789012345.0, '.', "123456789012345.00"},
        {999999999999999.0, '.', "999999999999999.00"},
        // 0.125 taken to 18 digits from the extended product 0.5 * 0.25 stays exact.
        {0.5L * 0.25L, '.', "0.13"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatValue(c.value, c.separator), c.text) << static_cast<double>(c.value);
    }
}

TEST(DisplayFormatTest, EighteenDigitsDecideBeforeTheThirdDecimal) {
    // Eighteen nines are below 0.005 in every precision, but taken to 18 significant digits the
    // value is 0.00500000000000000000, whose third decimal rounds up.
    EXPECT_EQ(FormatValue(0.004999999999999999999L, '.'), "0.01");
    // Fourteen nines are far from the 18th digit: nothing carries, and the third decimal is 4.
    EXPECT_EQ(FormatValue(0.0049999999999999L, '.'), "0.00");
}

TEST(DisplayFormatTest, ScientificPastFifteenIntegerDigits) {
    const Case cases[] = {
        {1e15, '.', "1.00000000000000E+15"},
        {-1234567890123456789.0, '.', "-1.23456789012346E+18"},
        {1e300, ',', "1,00000000000000E+300"},
        {9999999999999999.0, '.', "1.00000000000000E+16"},  // mantissa carry lifts the exponent
        // Fifteen nines and a rounding carry reach sixteen integer digits.
        {999999999999999.995L, '.', "1.00000000000000E+15"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatValue(c.value, c.separator), c.text) << static_cast<double>(c.value);
    }
}

TEST(DisplayFormatTest, NonFiniteNeverLooksLikeANumber) {
    EXPECT_EQ(FormatValue(NAN, '.'), "NAN");
    EXPECT_EQ(FormatValue(INFINITY, '.'), "INF");
    EXPECT_EQ(FormatValue(-INFINITY, '.'), "-INF");
}

}  // namespace
}  // namespace mfb
