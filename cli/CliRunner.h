// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace mfb::cli {

inline constexpr int kExitCalculated = 0;
inline constexpr int kExitError = 1;  // catalogue error, floating-point fault, refused pack
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotPossible = 3;

// The whole command: `args` are the arguments after the program name, `localeSeparator` the
// user's decimal separator (unless --decimal-separator overrides it). Results go to `out`,
// messages to `err`. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           char localeSeparator);

}  // namespace mfb::cli
