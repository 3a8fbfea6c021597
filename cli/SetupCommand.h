// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mfb::cli {

// `mfbcalc-cli setup FILE`: opens a setup file in the catalogues as the window does, calculates
// every option that has chosen anything, and prints the four side by side (text, --json or
// --csv). `args` are the arguments after "setup"; the rest as RunProgram. The exit status is the
// worst of the options' statuses as single calculations, a fault worst, then "not possible",
// then an option that is missing its motor or battery.
int RunSetup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             char localeSeparator);

}  // namespace mfb::cli
