// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace mfb::cli {

// What `mfbcalc-cli explore --help` prints.
std::string_view ExploreHelpText();

}  // namespace mfb::cli
