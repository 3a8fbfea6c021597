// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreCommand.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>

#include "catalogue/Catalogue.h"
#include "catalogue/FileReader.h"
#include "cli/CatalogueDirectory.h"
#include "cli/CliOptions.h"
#include "cli/ExploreHelpText.h"
#include "cli/ExploreOptions.h"
#include "cli/ExploreReport.h"
#include "cli/Interruption.h"
#include "cli/Program.h"
#include "cli/WholeFile.h"
#include "explore/ExploreTable.h"
#include "explore/Explorer.h"
#include "explore/ShardMerge.h"
#include "model/Error.h"

namespace mfb::cli {

namespace {

// Time as the progress line shows it: "45 s", "12 min", "3.5 h", "16 days".
std::string Duration(double seconds) {
    const auto rounded = [](double value, const char* unit) {
        char text[32];
        std::snprintf(text, sizeof text, value < 10 ? "%.1f %s" : "%.0f %s", value, unit);
        return std::string(text);
    };
    if (seconds < 120) return rounded(seconds, "s");
    if (seconds < 7200) return rounded(seconds / 60, "min");
    if (seconds < 172800) return rounded(seconds / 3600, "h");
    return rounded(seconds / 86400, "days");
}

// One line on standard error, rewritten in place, at most once a second and only after the first
// second, so a short run leaves standard error alone. It also ends a run that reached
// --max-seconds, by setting the stop flag Explore watches, which a signal sets as well.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, std::optional<double> maxSeconds, std::atomic<bool>& stop)
        : err_(err),
          maxSeconds_(maxSeconds),
          start_(std::chrono::steady_clock::now()),
          stop_(stop) {}

    ExploreProgress Progress() {
        ExploreProgress progress;
        progress.interval = maxSeconds_ ? std::clamp(*maxSeconds_ / 10, 0.01, 0.25) : 0.25;
        progress.report = [this](long long done, long long total) {
            Show("explored", done, total, "combinations");
        };
        progress.rechecked = [this](long long done, long long total) {
            Show("rechecked", done, total, "rows");
        };
        progress.stop = &stop_;
        return progress;
    }

    double Elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

    // The output must not start on the progress line.
    void Finish() {
        if (shown_) err_ << '\n';
    }

private:
    void Show(const char* verb, long long done, long long total, const char* what) {
        const double elapsed = Elapsed();
        if (maxSeconds_ && elapsed >= *maxSeconds_) stop_ = true;
        if (elapsed < shownAt_ + 1) return;
        shownAt_ = elapsed;
        const long long percent = total > 0 ? done * 100 / total : 100;
        std::string line = std::string(verb) + " " + std::to_string(done) + " of " +
                           std::to_string(total) + " " + what + " (" + std::to_string(percent) +
                           "%)";
        if (done > 0 && done < total) {
            line += ", about " + Duration(TimeLeft(elapsed, done, total)) + " left";
        }
        // Blanks over what a longer line before it left.
        const std::size_t length = line.size();
        line.resize(std::max(length, shownLength_), ' ');
        shownLength_ = length;
        err_ << '\r' << line << std::flush;
        shown_ = true;
    }

    std::ostream& err_;
    std::optional<double> maxSeconds_;
    std::chrono::steady_clock::time_point start_;
    std::atomic<bool>& stop_;
    double shownAt_ = 0;
    std::size_t shownLength_ = 0;
    bool shown_ = false;
};

// Reads a text already in memory without a copy.
class TextBuffer : public std::streambuf {
public:
    explicit TextBuffer(std::string& text) {
        setg(text.data(), text.data(), text.data() + text.size());
    }
};

// Spaces this small run in a second or two: sampling them would only add to that.
constexpr long long kEstimateFrom = 1000000;

// Reads the shard files given to --merge; the catalogues must be the ones they ran on.
ExploreShard MergeFiles(const std::vector<std::string>& files, const Catalogue& catalogue,
                        const ExploreRequest& request, const ExploreProgress& progress) {
    std::vector<ExploreShard> shards;
    for (const std::string& file : files) {
        std::string text;
        try {
            text = ReadWholeFile(file, kShardFile);
        } catch (const Error& e) {
            // The files given are at fault, as with a damaged one.
            throw UsageError(e.what());
        }
        TextBuffer buffer(text);
        std::istream in(&buffer);
        shards.push_back(ReadExploreShard(in, file, progress.stop));
    }
    return MergeExploreShards(shards, files, catalogue, request.threads, request.verify, progress);
}

// False when a signal cut the rows short.
bool WriteReport(const ExploreOptions& options, const ExploreReport& report, char separator,
                 std::ostream& out) {
    switch (options.output) {
        case ExploreOutput::Json:
            return WriteExploreJson(report, out);
        case ExploreOutput::Csv:
            return WriteExploreCsv(report, out);
        case ExploreOutput::Text:
        case ExploreOutput::Help:
            break;
    }
    return WriteExploreText(report, separator, out);
}

// The output `write` gives, to --output FILE whole or not at all, else to `out`, where it ends
// validly however it ends. Returns the exit status.
int WriteOutput(WholeFile* file, const std::function<bool(std::ostream&)>& write,
                const Interruption& interruption, std::ostream& out, std::ostream& err) {
    if (file != nullptr) {
        try {
            if (write(file->Stream())) {
                file->Place();
            } else {
                ReportError(err, "interrupted: \"" + file->Path() + "\" was not written");
            }
        } catch (const Error& e) {
            ReportError(err, e.what());
            return kExitError;
        }
    } else {
        write(out);
        out.flush();
    }
    return interruption.Signal() != 0 ? interruption.ExitStatus() : kExitCalculated;
}

// Every catalogue entry left out, then how many, so that a long list still ends in its sum.
void ReportNotes(std::ostream& err, const ExploreResult& result) {
    for (const std::string& note : result.notes) ReportError(err, "warning: " + note);
    if (!result.notes.empty()) ReportError(err, "warning: " + LeftOutLine(result.notes.size()));
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

    Interruption interruption;
    // Made before the search, so that a place it cannot be written is known at once.
    std::unique_ptr<WholeFile> output;
    try {
        if (options.outputFile) {
            output = std::make_unique<WholeFile>(*options.outputFile, Existing::Replace);
        }
    } catch (const Error& e) {
        ReportError(err, e.what());
        return kExitError;
    }
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

    if (!options.mergeFiles.empty()) {
        ProgressLine progress(err, options.maxSeconds, interruption.Stop());
        ExploreShard merged;
        try {
            merged = MergeFiles(options.mergeFiles, catalogue, request, progress.Progress());
        } catch (const UsageError& e) {
            progress.Finish();
            return ReportUsage(err, e.what(), "explore");
        } catch (const ShardError& e) {
            progress.Finish();
            return ReportUsage(err, e.what(), "explore");
        } catch (const Error& e) {
            progress.Finish();
            ReportError(err, e.what());
            return kExitError;
        } catch (const MergeStopped&) {
            // No ranking yet, so nothing to write that could say how far it got.
            progress.Finish();
            ReportError(err, "stopped before the shards' rows were ranked: nothing was merged");
            return interruption.Signal() != 0 ? interruption.ExitStatus() : kExitError;
        }
        progress.Finish();
        ReportNotes(err, merged.result);
        // Stopped, the rows are written all the same, marked; only another signal cuts them short.
        interruption.Stop() = false;
        const ExploreReport report{catalogue, merged.result, merged.seconds, &interruption.Stop()};
        return WriteOutput(
            output.get(),
            [&](std::ostream& to) { return WriteReport(options, report, separator, to); },
            interruption, out, err);
    }

    const long long packs =
        static_cast<long long>(request.space.series.size() * request.space.parallels.size());
    const long long combinations =
        static_cast<long long>(request.space.motors.size() * request.space.batteries.size() *
                               request.space.fans.size()) *
        packs / request.shards;
    if (combinations >= kEstimateFrom) {
        err << "exploring about " << combinations << " combinations; estimated time "
            << Duration(EstimateSeconds(catalogue, request)) << '\n';
    }
    ProgressLine progress(err, options.maxSeconds, interruption.Stop());
    ExploreResult result;
    try {
        result = Explore(catalogue, request, progress.Progress());
    } catch (const Error& e) {
        progress.Finish();
        ReportError(err, e.what());
        return kExitError;
    }
    const double elapsed = progress.Elapsed();
    progress.Finish();

    ReportNotes(err, result);
    // The best rows of a search a signal or the time stopped are written; only another signal
    // cuts them short.
    interruption.Stop() = false;
    int status = kExitCalculated;
    const ExploreReport report{catalogue, result, elapsed, &interruption.Stop()};
    if (options.sharded) {
        ExploreShard shard{
            request, CatalogueFingerprint(catalogue), ExploreFingerprint(request), elapsed, result,
            {}};
        shard.request.threads = 0;
        // A shard is a file a merge reads; cut short, it would be refused, so it is written
        // whole even when a signal ended the search.
        status = WriteOutput(
            output.get(),
            [&](std::ostream& to) {
                WriteExploreShard(shard, to);
                return true;
            },
            interruption, out, err);
    } else {
        status = WriteOutput(
            output.get(),
            [&](std::ostream& to) { return WriteReport(options, report, separator, to); },
            interruption, out, err);
    }
    if (status != kExitCalculated) return status;

    // The ranking was printed all the same, so the rows can be looked at.
    for (const std::string& mismatch : result.mismatches) {
        ReportError(err, "verification failed: " + mismatch);
    }
    return result.mismatches.empty() ? kExitCalculated : kExitError;
}

}  // namespace mfb::cli
