// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace mfb::cli {

inline constexpr int kExitCalculated = 0;
inline constexpr int kExitError = 1;  // catalogue error, floating-point fault, refused pack
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotPossible = 3;

inline constexpr char kOutOfMemoryMessage[] = "out of memory: the run was abandoned";
inline constexpr char kWriteFailedMessage[] = "the output could not be written";

// The whole program: `args` are the arguments after the program name, `localeSeparator` the
// user's decimal separator (unless --decimal-separator overrides it). The first argument may name
// a command ("explore", "check", "convert"); without one, the arguments describe one Calculate.
// Results go to `out`, messages to `err`. Returns the exit status; kExitError when memory ran out
// or `out` failed to take everything written to it.
int RunProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               char localeSeparator);

// A message on standard error, prefixed with the program's name as every message of it is.
void ReportError(std::ostream& err, std::string_view message);

// A usage error: the message and where to read more (`command` is "" or the command's name).
// Returns kExitUsage.
int ReportUsage(std::ostream& err, std::string_view message, std::string_view command = {});

}  // namespace mfb::cli
