// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "catalogue/CatalogueCheck.h"

namespace mfb::cli {

inline constexpr int kExitWarnings = 4;  // check and convert: warnings, but no error

// `mfbcalc-cli check`: reads the three catalogues as the program does and reports every finding,
// one per line in the form compilers use ("FILE:LINE:COLUMNS: error|warning: message"), or as
// JSON. `args` are the arguments after "check"; the rest as RunProgram. Returns 0 when nothing
// was found, 1 for any error, kExitWarnings for warnings only, 2 for a usage error.
int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             char localeSeparator);

// The path a finding's file has inside `directory`, as a user would type it from here.
std::string CataloguePath(const std::string& directory, const std::string& file);

// The exit status of a list of findings.
int FindingsStatus(const Findings& findings);

}  // namespace mfb::cli
