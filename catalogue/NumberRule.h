// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace mfb {

// Converts a catalogue number field: blanks (spaces only), an optional sign, digits with an
// optional decimal separator and fraction, an optional exponent whose digits may be missing,
// blanks. The decimal separator is the user's locale's, passed in. The result is the double
// nearest to the decimal value. A value beyond the range of a double fails like any other bad
// field; one too small for a double rounds to zero or a denormal.
//
// Throws Error("'<field>' is not a valid floating point value") with the field as given, or its
// Excerpt when it is long. Where the field fails for a reason one can name, the message goes on
// with it: a tab, or a number that the other decimal separator would read.
double ParseNumber(std::string_view field, char decimalSeparator);

std::string InvalidNumberMessage(std::string_view field);

}  // namespace mfb
