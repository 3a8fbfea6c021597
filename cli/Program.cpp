// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Program.h"

#include <ostream>

#include "cli/CalculateCommand.h"
#include "cli/ExploreCommand.h"

namespace mfb::cli {

namespace {

constexpr std::string_view kProgram = "mfbcalc-cli";

}  // namespace

void ReportError(std::ostream& err, std::string_view message) {
    err << kProgram << ": " << message << '\n';
}

int ReportUsage(std::ostream& err, std::string_view message, std::string_view command) {
    err << kProgram << ": " << message << "\nTry \"" << kProgram << ' ';
    if (!command.empty()) err << command << ' ';
    err << "--help\" for more information.\n";
    return kExitUsage;
}

int RunProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               char localeSeparator) {
    if (!args.empty() && args.front() == "explore") {
        return RunExplore({args.begin() + 1, args.end()}, out, err, localeSeparator);
    }
    return RunCalculate(args, out, err, localeSeparator);
}

}  // namespace mfb::cli
