// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace mfb {

// Marks where a message cut a long quote short: "…" in UTF-8. Messages otherwise carry catalogue
// bytes as they are; the window, which shows those as Latin-1, turns this mark back into "…".
inline constexpr char kCutMark[] = "\xE2\x80\xA6";

// Every failure the program reports is an Error carrying the exact text the user sees. Handlers let
// it escape; one place (the window's error box, the command's stderr) shows it.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A floating-point invalid operation, division by zero or overflow inside the model.
class FloatingPointError : public Error {
public:
    using Error::Error;
};

}  // namespace mfb
