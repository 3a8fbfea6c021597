// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mfb::cli {

// `mfbcalc-cli fit-fan POINTS.csv --name NAME [...]`: fits a fan's curve to the points of a static
// test or a datasheet and prints the fan as the fan file states it, or adds it to the fan library
// of a catalogue folder. `args` are the arguments after "fit-fan"; the rest as RunProgram.
// Returns 0 when fitted, 1 when refused or a file could not be read or written, 2 for a usage
// error.
int RunFitFan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mfb::cli
