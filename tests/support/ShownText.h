// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string_view>

namespace mfb::test {

// Whether a value label's text is a plain number as the display format writes it: an optional
// minus, at most 15 digits without a leading zero, the separator and two decimals; or, for 16 and
// more integer digits, d<sep>dddddddddddddd E+exponent. Rules out "nan", "inf" and any other text.
inline bool IsShownNumber(std::string_view text, char separator) {
    const auto digits = [](std::string_view s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) return false;
    const std::string_view whole = text.substr(0, at);
    const std::string_view rest = text.substr(at + 1);
    if (!digits(whole)) return false;
    if (rest.size() == 2 && digits(rest)) {
        return whole.size() <= 15 && (whole.size() == 1 || whole.front() != '0');
    }
    constexpr std::size_t kMantissaDecimals = 14;
    if (whole.size() != 1 || whole.front() == '0' || rest.size() < kMantissaDecimals + 3) {
        return false;
    }
    const std::string_view exponent = rest.substr(kMantissaDecimals + 2);
    return digits(rest.substr(0, kMantissaDecimals)) && rest[kMantissaDecimals] == 'E' &&
           rest[kMantissaDecimals + 1] == '+' && digits(exponent) && exponent.front() != '0' &&
           (exponent.size() > 2 || (exponent.size() == 2 && exponent >= "15"));
}

}  // namespace mfb::test
