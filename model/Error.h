// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

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

// Where in a catalogue file an error lies: the file's name, the line from 1 (0: the file as a
// whole) and the columns from 1 (0: the line as a whole).
struct TextLocation {
    std::string file;
    std::size_t line = 0;
    std::size_t firstColumn = 0;
    std::size_t lastColumn = 0;
    std::string text = {};  // the line itself, where it is at hand
};

// An error of a catalogue file that knows where it lies. Its message is the one the user always
// saw; the location is told beside it.
class LocatedError : public Error {
public:
    LocatedError(const std::string& message, TextLocation where)
        : Error(message), where_(std::move(where)) {}
    const TextLocation& where() const { return where_; }

private:
    TextLocation where_;
};

// "motor.txt, line 12, columns 51-55", as much of it as is known.
inline std::string DescribeLocation(const TextLocation& where) {
    std::string text = where.file;
    if (where.line == 0) return text;
    text += ", line " + std::to_string(where.line);
    if (where.firstColumn == 0) return text;
    if (where.lastColumn <= where.firstColumn) {
        return text + ", column " + std::to_string(where.firstColumn);
    }
    return text + ", columns " + std::to_string(where.firstColumn) + "-" +
           std::to_string(where.lastColumn);
}

// A floating-point invalid operation, division by zero or overflow inside the model.
class FloatingPointError : public Error {
public:
    using Error::Error;
};

}  // namespace mfb
