// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Program.h"

#include <new>
#include <ostream>

#include "catalogue/TextLines.h"
#include "cli/CalculateCommand.h"
#include "cli/CheckCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/ExploreCommand.h"
#include "cli/SetupCommand.h"

namespace mfb::cli {

namespace {

constexpr std::string_view kProgram = "mfbcalc-cli";

}  // namespace

void ReportError(std::ostream& err, std::string_view message) {
    // Messages quote catalogue text, which may hold bytes a terminal acts on; their own line
    // breaks stay, as no catalogue line holds one, and each line says whose it is.
    for (std::size_t start = 0;;) {
        const auto end = message.find('\n', start);
        err << kProgram << ": " << Printable(message.substr(start, end - start)) << '\n';
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

int ReportUsage(std::ostream& err, std::string_view message, std::string_view command) {
    err << kProgram << ": " << Printable(message) << "\nTry \"" << kProgram << ' ';
    if (!command.empty()) err << command << ' ';
    err << "--help\" for more information.\n";
    return kExitUsage;
}

namespace {

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               char localeSeparator) {
    const std::string command = args.empty() ? std::string() : args.front();
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (command == "explore") return RunExplore(rest, out, err, localeSeparator);
    if (command == "check") return RunCheck(rest, out, err, localeSeparator);
    if (command == "convert") return RunConvert(rest, out, err);
    if (command == "setup") return RunSetup(rest, out, err, localeSeparator);
    return RunCalculate(args, out, err, localeSeparator);
}

}  // namespace

int RunProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               char localeSeparator) {
    int status = kExitError;
    try {
        status = RunCommand(args, out, err, localeSeparator);
    } catch (const std::bad_alloc&) {
        ReportError(err, kOutOfMemoryMessage);
        return kExitError;
    }
    // A full disk or a closed pipe fails every write silently; a script must not take the
    // missing output for a result.
    if (!out.flush()) {
        ReportError(err, kWriteFailedMessage);
        return kExitError;
    }
    return status;
}

}  // namespace mfb::cli
