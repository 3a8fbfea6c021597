// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <set>
#include <tuple>
#include <utility>

#include "catalogue/Catalogue.h"
#include "cli/CliOptions.h"
#include "explore/ExploreTable.h"
#include "explore/SpaceText.h"

namespace mfb::cli {

namespace {

// A list of counts read by the shared reader, its message completed with the option's name.
std::vector<int> ParseList(const std::string& option, const std::string& text, int low, int high,
                           std::string_view form) {
    try {
        return ParseCountList(text, low, high, form);
    } catch (const CountListError& e) {
        throw UsageError(option + " " + e.what());
    }
}

double ParseBudget(const std::string& option, const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value) || value < 0) {
        throw UsageError(option + " needs a number of at least 0 with '.' as the decimal point, " +
                         "not \"" + text + "\"");
    }
    return value;
}

// "LO-HI" in watts, LO at most HI.
std::pair<double, double> ParsePowerRange(const std::string& option, const std::string& text) {
    const auto dash = text.find('-');
    if (dash == std::string::npos) {
        throw UsageError(option + " needs a range of shaft power in W such as 1100-1300, not \"" +
                         text + "\"");
    }
    const double low = ParseBudget(option, text.substr(0, dash));
    const double high = ParseBudget(option, text.substr(dash + 1));
    if (low > high) throw UsageError(option + " range " + text + " runs backwards");
    return {low, high};
}

// --target-power chooses the ranking by closeness unless --sort chose another, which would leave
// the target unused; --sort target without a target aims at the middle of --power.
void ResolveTarget(ExploreRequest& request, std::optional<ExploreKey> sort,
                   std::optional<double> target) {
    if (target && sort && *sort != ExploreKey::Target) {
        throw UsageError(
            "--target-power ranks by closeness to it; leave out --sort or use "
            "--sort target");
    }
    if (target) {
        request.key = ExploreKey::Target;
        request.targetPower = *target;
    } else if (sort == ExploreKey::Target) {
        if (!request.minPower) {
            throw UsageError("--sort target needs --target-power W or a --power range");
        }
        request.targetPower = (*request.minPower + *request.maxPower) / 2;
    }
}

// "K/N": shard K of N.
std::pair<int, int> ParseShard(const std::string& option, const std::string& text) {
    const auto slash = text.find('/');
    if (slash == std::string::npos) {
        throw UsageError(option + " needs K/N such as 2/4, not \"" + text + "\"");
    }
    const int count = ParseCount(option, text.substr(slash + 1), 1, kMaxShards);
    return {ParseCount(option, text.substr(0, slash), 1, count), count};
}

ExploreKey ParseSortKey(const std::string& text) {
    std::string names;
    for (const ExploreKeyName& k : ExploreKeyNames()) {
        if (k.name == text) return k.key;
        names += (names.empty() ? "" : ", ") + std::string(k.name);
    }
    throw UsageError("--sort must be one of " + names + ", not \"" + text + "\"");
}

std::string ParsePattern(const std::string& option, const std::string& text) {
    if (text.empty()) throw UsageError(option + " needs a pattern");
    return text;
}

}  // namespace

ExploreOptions ParseExploreOptions(const std::vector<std::string>& args) {
    ExploreOptions options;
    if (AsksForHelp(args)) {
        options.output = ExploreOutput::Help;
        return options;
    }
    ExploreSpace& space = options.request.space;
    space.fans.clear();
    for (int fan = 1; fan <= kFanCount; ++fan) space.fans.push_back(fan);
    space.series = ExploreSpace::Counts(1, kMaxSerie);
    space.parallels = ExploreSpace::Counts(1, kMaxParallel);

    bool outputSet = false;
    std::optional<ExploreKey> sort;
    std::optional<double> target;
    bool merging = false;
    std::vector<std::string> given;
    for (ArgumentReader reader(args); reader.Next();) {
        const std::string& name = reader.Name();
        given.push_back(name);
        const auto value = [&] { return reader.Value(); };
        const auto flag = [&] { reader.NoValue(); };
        const auto output = [&](ExploreOutput mode) {
            flag();
            if (outputSet) throw UsageError(name + " cannot be combined with another output mode");
            options.output = mode;
            outputSet = true;
        };

        if (name == "--json") {
            output(ExploreOutput::Json);
        } else if (name == "--csv") {
            output(ExploreOutput::Csv);
        } else if (name == "--verify") {
            flag();
            options.request.verify = true;
        } else if (name == "--catalogues") {
            options.catalogueDir = ParseDirectory(name, value());
        } else if (name == "--motor") {
            options.motorPattern = ParsePattern(name, value());
        } else if (name == "--battery") {
            options.batteryPattern = ParsePattern(name, value());
        } else if (name == "--fans") {
            space.fans = ParseList(name, value(), 1, kFanCount, "fan numbers such as 1,3-5");
        } else if (name == "--serie") {
            space.series = ParseList(name, value(), 1, kMaxSerie, "cell counts such as 4,6,8-10");
        } else if (name == "--parallel") {
            space.parallels =
                ParseList(name, value(), 1, kMaxParallel, "cell counts such as 1,3-5");
        } else if (name == "--max-current") {
            options.request.filter.maxCurrent = ParseBudget(name, value());
        } else if (name == "--max-weight") {
            options.request.filter.maxWeight = ParseBudget(name, value());
        } else if (name == "--min-efficiency") {
            options.request.filter.minEfficiency = ParseBudget(name, value());
        } else if (name == "--power") {
            const auto [low, high] = ParsePowerRange(name, value());
            options.request.minPower = low;
            options.request.maxPower = high;
        } else if (name == "--target-power") {
            target = ParseBudget(name, value());
        } else if (name == "--ignore-limits") {
            flag();
            options.request.ignoreLimits = true;
        } else if (name == "--sort") {
            sort = ParseSortKey(value());
            options.request.key = *sort;
        } else if (name == "--top") {
            options.request.top = static_cast<std::size_t>(ParseCount(name, value(), 1, kMaxTop));
        } else if (name == "--jobs") {
            options.request.threads = static_cast<unsigned>(ParseCount(name, value(), 1, kMaxJobs));
        } else if (name == "--option") {
            options.request.option = ParseCount(name, value(), 1, kOptionCount);
        } else if (name == "--decimal-separator") {
            options.decimalSeparator = ParseSeparator(value());
        } else if (name == "--output") {
            options.outputFile = ParseDirectory(name, value());
        } else if (name == "--max-seconds") {
            options.maxSeconds = ParseBudget(name, value());
        } else if (name == "--shard") {
            std::tie(options.request.shard, options.request.shards) = ParseShard(name, value());
            options.sharded = true;
        } else if (name == "--merge") {
            options.mergeFiles.push_back(ParseDirectory(name, value()));
            merging = true;
        } else if (merging && !name.starts_with("-")) {
            options.mergeFiles.push_back(name);  // the files after --merge
        } else {
            throw UsageError("unknown argument \"" + reader.Given() + "\"");
        }
    }
    ResolveTarget(options.request, sort, target);
    if (options.sharded && !options.mergeFiles.empty()) {
        throw UsageError("--shard and --merge cannot be combined");
    }
    if (merging) {
        // The shards ran the search; a merge ranks what they found as they ranked it, and an
        // option that would change the search could only be ignored.
        constexpr std::string_view kMergeOptions[] = {
            "--merge",  "--catalogues", "--decimal-separator", "--json", "--csv", "--output",
            "--verify", "--jobs"};
        for (const std::string& name : given) {
            if (!name.starts_with("-") ||
                std::find(std::begin(kMergeOptions), std::end(kMergeOptions), name) !=
                    std::end(kMergeOptions)) {
                continue;
            }
            throw UsageError(name + " cannot be combined with --merge: the shard files hold the " +
                             "search, and the merge ranks as it did");
        }
    }
    if (options.sharded && outputSet) {
        throw UsageError("--shard writes its own format and takes no other output mode");
    }
    return options;
}

std::vector<std::size_t> MatchingLines(const std::vector<std::string>& lines,
                                       const std::optional<std::string>& pattern,
                                       std::string_view what) {
    std::vector<std::size_t> chosen = mfb::MatchingLines(lines, pattern);
    if (pattern && chosen.empty()) {
        throw UsageError("--" + std::string(what) + " \"" + *pattern + "\" matches no " +
                         std::string(what));
    }
    return chosen;
}

ExploreRequest ResolveRequest(const ExploreOptions& options, const Catalogue& catalogue,
                              char decimalSeparator) {
    ExploreRequest request = options.request;
    request.space.motors = MatchingLines(catalogue.MotorLines, options.motorPattern, "motor");
    request.space.batteries =
        MatchingLines(catalogue.BatteryLines, options.batteryPattern, "battery");
    request.decimalSeparator = decimalSeparator;
    return request;
}

}  // namespace mfb::cli
