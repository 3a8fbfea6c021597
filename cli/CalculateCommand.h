// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mfb::cli {

// The program without a command: one Calculate of the combination the arguments choose, as the
// window's option column would show it, or the catalogue list. Arguments and results as
// RunProgram.
int RunCalculate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 char localeSeparator);

}  // namespace mfb::cli
