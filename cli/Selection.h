// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mfb::cli {

// Finds the line a selector names in a sorted catalogue list: all digits is a 0-based index,
// anything else the start of an entry text (columns 1-44), case ignored, the first match in list
// order winning. `what` names the list in the UsageError thrown when nothing matches.
std::size_t SelectLine(const std::vector<std::string>& lines, const std::string& selector,
                       std::string_view what);

}  // namespace mfb::cli
