// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mfb::cli {

// `mfbcalc-cli convert`: writes the three catalogues of one directory into another with a
// different decimal separator, every field in its columns. `args` are the arguments after
// "convert"; the rest as RunProgram. Returns 0 when converted, 1 when a file could not be read or
// written or already exists, 2 for a usage error, kExitWarnings when some number field was left
// as it was.
int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mfb::cli
