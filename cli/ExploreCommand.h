// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mfb::cli {

// `mfbcalc-cli explore`: calculates every combination of a part of the catalogues and ranks those
// with an operating point. `args` are the arguments after "explore"; the rest as RunProgram.
// Returns 0 when the exploration ran, 1 for a catalogue error or a verification that failed, 2 for
// a usage error.
int RunExplore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               char localeSeparator);

}  // namespace mfb::cli
