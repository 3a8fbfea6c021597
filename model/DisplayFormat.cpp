// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DisplayFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace mfb {

namespace {

constexpr int kSignificant = 18;  // digits the value is first taken to
constexpr int kPrecision = 15;    // digits of the fixed form, and of the scientific mantissa
constexpr int kDecimals = 2;

// Adds one unit in the last place of a digit string; returns true when it carried out of the
// first digit (the string is then all zeros and the caller prepends a 1).
bool Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

// Keeps the first `keep` digits, rounding half away from zero on the next one.
std::string RoundDigits(const std::string& digits, int keep, bool& carried) {
    std::string kept = digits.substr(0, static_cast<std::size_t>(keep));
    carried = false;
    if (keep < static_cast<int>(digits.size()) && digits[static_cast<std::size_t>(keep)] >= '5') {
        carried = Increment(kept);
        if (carried) kept.insert(kept.begin(), '1');
    }
    return kept;
}

std::string Scientific(const std::string& digits, int exponent, bool negative, char separator) {
    bool carried = false;
    std::string mantissa = RoundDigits(digits, kPrecision, carried);
    if (carried) {
        mantissa.pop_back();
        ++exponent;
    }
    std::string text = negative ? "-" : "";
    text += mantissa[0];
    text += separator;
    text.append(mantissa, 1);
    text += exponent < 0 ? "E-" : "E+";
    text += std::to_string(std::abs(exponent));
    return text;
}

}  // namespace

std::string FormatValue(long double value, char separator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    const bool negative = value < 0;  // false for negative zero
    if (value == 0) return std::string("0") + separator + "00";

    // d.ddddddddddddddddde+XX: 18 significant digits, correctly rounded from the exact value.
    // Most values shown are stored doubles, which to_chars rounds as the C library does (ties to
    // even) in a tenth of the time its long double printf takes: a table of many rows is mostly
    // this. The bound keeps the conversion from raising the overflow flag the model watches.
    char buffer[48];
    const long double magnitude = std::fabs(value);
    const auto stored =
        static_cast<double>(magnitude <= std::numeric_limits<double>::max() ? magnitude : 0.0L);
    if (stored == magnitude) {
        *std::to_chars(buffer, buffer + sizeof buffer - 1, stored, std::chars_format::scientific,
                       kSignificant - 1)
             .ptr = '\0';
    } else {
        std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificant - 1, magnitude);
    }
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, kSignificant - 1);
    const int exponent = std::atoi(buffer + kSignificant + 2);

    // The number of hundredths, as digits: all digits down to the second decimal.
    const int keep = exponent + 1 + kDecimals;
    std::string hundredths;
    if (keep > kSignificant) {
        hundredths = digits + std::string(static_cast<std::size_t>(keep - kSignificant), '0');
    } else if (keep >= 0) {
        bool carried = false;
        hundredths = RoundDigits(digits, keep, carried);
    }
    if (hundredths.size() < kDecimals + 1) {
        hundredths.insert(0, kDecimals + 1 - hundredths.size(), '0');
    }

    const std::size_t integerDigits = hundredths.size() - kDecimals;
    if (integerDigits > static_cast<std::size_t>(kPrecision)) {
        return Scientific(digits, exponent, negative, separator);
    }
    std::string text = negative ? "-" : "";
    text.append(hundredths, 0, integerDigits);
    text += separator;
    text.append(hundredths, integerDigits);
    return text;
}

std::string ExactNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    return std::string(buffer, result.ptr);
}

}  // namespace mfb
