// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace mfb {

// How every computed number is shown (a double, or an extended product such as a shaft power):
// fixed notation with two decimals and the locale's decimal separator, no thousands separator. The
// value is first taken to 18 significant decimal digits (correctly rounded from its exact binary
// value); a third decimal of 5 or more then rounds away from zero, so 0.125 shows as 0.13
// while 1.005, stored as 1.00499999999999989..., shows as 1.00. A value below zero keeps its minus
// sign even when it rounds to zero ("-0.00"); negative zero shows as "0.00".
//
// With more than 15 digits before the decimal point the precision of 15 significant digits no
// longer reaches the decimals, and the value is written in scientific notation instead: 15
// significant digits, trailing zeros kept, then "E", the exponent's sign and its digits without
// leading zeros, e.g. "1.23456789012346E+15". A non-finite value, which the model never lets
// through, would show as "NAN", "INF" or "-INF".
std::string FormatValue(long double value, char decimalSeparator);

// 17 significant digits with '.', enough to read the double back exactly; "null" when it is not
// finite, as JSON has no number for that. For files and scripts, not for people.
std::string ExactNumber(double value);

}  // namespace mfb
