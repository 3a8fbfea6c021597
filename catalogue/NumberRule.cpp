// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/NumberRule.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

#include "catalogue/TextLines.h"
#include "model/Error.h"

namespace mfb {

std::string InvalidNumberMessage(std::string_view field) {
    return "'" + Excerpt(field) + "' is not a valid floating point value";
}

namespace {

std::optional<double> Parse(std::string_view field, char decimalSeparator);

// What a user can do about a field that fails for a reason one can name: a tab typed for blanks,
// or a catalogue written where the other decimal separator is in force.
std::string Hint(std::string_view field, char separator) {
    if (field.find('\t') != std::string_view::npos) {
        return ": it holds a tab, where only blanks may stand";
    }
    const char other = separator == ',' ? '.' : ',';
    if (field.find(other) != std::string_view::npos && Parse(field, other)) {
        return std::string(": it uses '") + other + "', this system's decimal separator is '" +
               separator + "'; `mfbcalc-cli convert` rewrites a catalogue";
    }
    return {};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i;
}

std::optional<double> Parse(std::string_view field, char decimalSeparator) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';

    const std::size_t intStart = i;
    i = SkipDigits(field, i);
    const std::string_view intDigits = field.substr(intStart, i - intStart);
    std::string_view fracDigits;
    bool separator = false;
    if (i < field.size() && field[i] == decimalSeparator) {
        separator = true;
        const std::size_t fracStart = ++i;
        i = SkipDigits(field, i);
        fracDigits = field.substr(fracStart, i - fracStart);
    }
    if (intDigits.empty() && !separator) return std::nullopt;

    // The exponent is accumulated with saturation: anything beyond a few thousand decides
    // overflow or underflow on its own, and the digits themselves may be a megabyte long.
    long exponent = 0;
    if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < field.size() && (field[i] == '+' || field[i] == '-'))
            expNegative = field[i++] == '-';
        for (; i < field.size() && IsDigit(field[i]); ++i) {
            if (exponent < 100'000'000) exponent = exponent * 10 + (field[i] - '0');
        }
        if (expNegative) exponent = -exponent;
    }
    while (i < field.size() && field[i] == ' ') ++i;
    if (i != field.size()) return std::nullopt;

    // Normalise to the form from_chars reads in the "C" locale, which rounds correctly:
    // significant digits, then a decimal exponent. Leading zeros are dropped so that the
    // exponent adjustment stays small.
    std::string digits;
    digits.reserve(intDigits.size() + fracDigits.size());
    digits.append(intDigits).append(fracDigits);
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return negative ? -0.0 : 0.0;
    long scale = exponent - static_cast<long>(fracDigits.size());
    digits.erase(0, firstNonZero);
    // Value = digits * 10^scale; its decimal magnitude is about digits.size() + scale.
    const long magnitude = static_cast<long>(digits.size()) + scale;
    if (magnitude > 400) return std::nullopt;
    if (magnitude < -400) return negative ? -0.0 : 0.0;
    digits += 'e';
    digits += std::to_string(scale);

    double value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow below the smallest denormal reads as zero; overflow fails.
        if (magnitude <= 0) return negative ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (ec != std::errc{} || end != digits.data() + digits.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

double ParseNumber(std::string_view field, char decimalSeparator) {
    if (const std::optional<double> value = Parse(field, decimalSeparator)) return *value;
    throw Error(InvalidNumberMessage(field) + Hint(field, decimalSeparator));
}

}  // namespace mfb
