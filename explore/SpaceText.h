// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mfb {

// A space written as text, as the command line and the Find window both take it: entry patterns
// for the motors and cell types, lists of counts for the fans and the cells.

// Whether an entry text (trailing blanks ignored) matches a pattern, case ignored as in the lists'
// order: with `*` (any run) or `?` (one character) the pattern must cover the whole text, without
// them the text must start with it.
bool MatchesPattern(std::string_view entryText, std::string_view pattern);

// The indexes of the catalogue lines whose entry text matches, all of them without a pattern.
std::vector<std::size_t> MatchingLines(const std::vector<std::string>& lines,
                                       const std::optional<std::string>& pattern);

// A count list that cannot be read. The message completes a sentence that starts with the name of
// the field or option it came from: "needs ...", "must be ...", "range ... runs backwards; ...".
class CountListError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Numbers and ranges from low to high separated by commas, such as "4,6,8-10"; ascending without
// repeats. `form` describes a valid list for the error message ("cell counts such as 1,3-5").
std::vector<int> ParseCountList(std::string_view text, int low, int high, std::string_view form);

}  // namespace mfb
