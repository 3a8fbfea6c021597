// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mfb {

// The most lines a catalogue file may have. Each line costs a string of its own, so a file of
// nothing but line ends would otherwise take thirty times its size; no drop-down list is usable
// with more entries anyway.
inline constexpr std::size_t kMaxCatalogueLines = 100'000;

// Splits a file's bytes into lines. CR LF, a lone CR and a lone LF each end a line; a NUL ends the
// text; a last line without a line end is a line, but a line end at the very end adds no empty
// line. Lines keep every byte as read: one byte is one column.
std::vector<std::string> SplitLines(std::string_view text);

// Where each line SplitLines would give stands in the text: byte offset and length.
struct LineSpan {
    std::size_t start, length;
};
std::vector<LineSpan> LineSpans(std::string_view text);

// The number of lines SplitLines would give, without making them.
std::size_t CountLines(std::string_view text);

// Field (start, width) of a line, columns counted from 1; shorter where the line ends earlier.
std::string_view Field(std::string_view line, std::size_t start, std::size_t width);

// The text without the blanks around it: fields stand padded in their columns.
std::string_view Trimmed(std::string_view text);

// Catalogue text as a terminal may be shown it: every control byte but the tab written as \xHH
// (ESC as \x1b), so that a name cannot move the cursor, recolour or retitle the terminal. Other
// bytes are kept, so UTF-8 and Latin-1 names show as they are.
std::string Printable(std::string_view text);

// A field or line as a message quotes it: whole up to kMaxQuoted bytes, else its start and the
// cut mark, so that a megabyte-long line cannot swamp an error box; Printable.
inline constexpr std::size_t kMaxQuoted = 200;
std::string Excerpt(std::string_view text);

}  // namespace mfb
