// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreCommand.h"

#include <array>
#include <chrono>
#include <ostream>

#include "catalogue/Catalogue.h"
#include "cli/CatalogueDirectory.h"
#include "cli/CliOptions.h"
#include "cli/ExploreHelpText.h"
#include "cli/ExploreOptions.h"
#include "cli/ExploreReport.h"
#include "cli/Program.h"
#include "explore/ExploreTable.h"
#include "explore/Explorer.h"
#include "model/Error.h"

namespace mfb::cli {

namespace {

// One line on standard error, rewritten in place. Explore reports only after its first interval,
// so a short run leaves standard error alone.
class ProgressLine {
public:
    explicit ProgressLine(std::ostream& err) : err_(err) {}

    ExploreProgress Progress() {
        ExploreProgress progress;
        progress.report = [this](long long done, long long total) { Show(done, total); };
        return progress;
    }

    // The output must not start on the progress line.
    void Finish() {
        if (shown_) err_ << '\n';
    }

private:
    void Show(long long done, long long total) {
        const long long percent = total > 0 ? done * 100 / total : 100;
        err_ << "\rexplored " << done << " of " << total << " combinations (" << percent << "%)"
             << std::flush;
        shown_ = true;
    }

    std::ostream& err_;
    bool shown_ = false;
};

void WriteOutput(const ExploreOptions& options, const ExploreReport& report, char separator,
                 std::ostream& out) {
    switch (options.output) {
        case ExploreOutput::Json:
            WriteExploreJson(report, out);
            break;
        case ExploreOutput::Csv:
            WriteExploreCsv(report.catalogue, report.result.rows, out);
            break;
        case ExploreOutput::Text:
        case ExploreOutput::Help:
            WriteExploreText(report, separator, out);
            break;
    }
    out.flush();
}

}  // namespace

int RunExplore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               char localeSeparator) {
    ExploreOptions options;
    try {
        options = ParseExploreOptions(args);
    } catch (const UsageError& e) {
        return ReportUsage(err, e.what(), "explore");
    }
    if (options.output == ExploreOutput::Help) {
        out << ExploreHelpText();
        return kExitCalculated;
    }
    const char separator = options.decimalSeparator.value_or(localeSeparator);

    Catalogue catalogue;
    ExploreRequest request;
    try {
        std::array<TOptionSlot, kOptionCount> slots;
        LoadObserver quiet;
        LoadCatalogues(catalogue, slots, DirectoryPlatform(options.catalogueDir, separator), quiet);
        WarnOfFindings(err, catalogue);
        request = ResolveRequest(options, catalogue, separator);
    } catch (const UsageError& e) {
        return ReportUsage(err, e.what(), "explore");
    } catch (const Error& e) {
        ReportError(err, e.what());
        return kExitError;
    }

    ProgressLine progress(err);
    const auto start = std::chrono::steady_clock::now();
    ExploreResult result;
    try {
        result = Explore(catalogue, request, progress.Progress());
    } catch (const Error& e) {
        progress.Finish();
        ReportError(err, e.what());
        return kExitError;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    progress.Finish();

    for (const std::string& note : result.notes) ReportError(err, "warning: " + note);
    WriteOutput(options, ExploreReport{catalogue, result, elapsed.count()}, separator, out);

    // The ranking was printed all the same, so the rows can be looked at.
    for (const std::string& mismatch : result.mismatches) {
        ReportError(err, "verification failed: " + mismatch);
    }
    return result.mismatches.empty() ? kExitCalculated : kExitError;
}

}  // namespace mfb::cli
