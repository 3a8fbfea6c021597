// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mfb {

// Splits a file's bytes into lines. CR LF, a lone CR and a lone LF each end a line; a NUL ends the
// text; a last line without a line end is a line, but a line end at the very end adds no empty
// line. Lines keep every byte as read: one byte is one column.
std::vector<std::string> SplitLines(std::string_view text);

// Field (start, width) of a line, columns counted from 1; shorter where the line ends earlier.
std::string_view Field(std::string_view line, std::size_t start, std::size_t width);

}  // namespace mfb
