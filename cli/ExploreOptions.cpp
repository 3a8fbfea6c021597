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
#include "catalogue/Choice.h"
#include "cli/CliOptions.h"
#include "cli/LineOrder.h"

namespace mfb::cli {

namespace {

struct SortKeyName {
    std::string_view name;
    ExploreKey key;
};

constexpr std::array<SortKeyName, 5> kSortKeys = {{{"rpm", ExploreKey::Rpm},
                                                   {"power", ExploreKey::Power},
                                                   {"efficiency", ExploreKey::Efficiency},
                                                   {"power-per-weight", ExploreKey::PowerPerWeight},
                                                   {"runtime", ExploreKey::RunTime}}};

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "N" or "N-M" with both ends from low to high. `form` says what was expected when the text is
// neither.
std::pair<int, int> ParseRange(const std::string& option, const std::string& text, int low,
                               int high, std::string_view form) {
    const auto dash = text.find('-');
    const std::string first = text.substr(0, dash);
    const std::string last = dash == std::string::npos ? first : text.substr(dash + 1);
    if (!IsDigits(first) || !IsDigits(last)) {
        throw UsageError(option + " needs " + std::string(form) + ", not \"" + text + "\"");
    }
    const int from = ParseCount(option, first, low, high);
    const int to = ParseCount(option, last, low, high);
    if (from > to) {
        throw UsageError(option + " range " + text + " runs backwards; write " + last + "-" +
                         first);
    }
    return {from, to};
}

// Numbers and ranges from low to high separated by commas, such as "1,3-5"; ascending without
// repeats. `form` names what was expected when the text is not that.
std::vector<int> ParseList(const std::string& option, const std::string& text, int low, int high,
                           std::string_view form) {
    std::set<int> numbers;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        const auto [from, to] =
            ParseRange(option, text.substr(start, comma - start), low, high, form);
        for (int n = from; n <= to; ++n) numbers.insert(n);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return {numbers.begin(), numbers.end()};
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

// "K/N": shard K of N.
std::pair<int, int> ParseShard(const std::string& option, const std::string& text) {
    const auto slash = text.find('/');
    if (slash == std::string::npos || !IsDigits(text.substr(0, slash)) ||
        !IsDigits(text.substr(slash + 1))) {
        throw UsageError(option + " needs K/N such as 2/4, not \"" + text + "\"");
    }
    const int count = ParseCount(option, text.substr(slash + 1), 1, kMaxShards);
    return {ParseCount(option, text.substr(0, slash), 1, count), count};
}

ExploreKey ParseSortKey(const std::string& text) {
    std::string names;
    for (const SortKeyName& k : kSortKeys) {
        if (k.name == text) return k.key;
        names += (names.empty() ? "" : ", ") + std::string(k.name);
    }
    throw UsageError("--sort must be one of " + names + ", not \"" + text + "\"");
}

std::string ParsePattern(const std::string& option, const std::string& text) {
    if (text.empty()) throw UsageError(option + " needs a pattern");
    return text;
}

// Case is ignored as the lists' order and the single mode's selector ignore it.
bool SameLetter(char a, char b) {
    return FoldCase(a) == FoldCase(b);
}

// Backtracks only to the last `*` seen: a later star can absorb whatever an earlier one would.
bool Glob(std::string_view text, std::string_view pattern) {
    std::size_t t = 0, p = 0;
    std::size_t star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], text[t]))) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    return pattern.find_first_not_of('*', p) == std::string_view::npos;
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
    bool merging = false;
    for (ArgumentReader reader(args); reader.Next();) {
        const std::string& name = reader.Name();
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
        } else if (name == "--sort") {
            options.request.key = ParseSortKey(value());
        } else if (name == "--top") {
            options.request.top = static_cast<std::size_t>(ParseCount(name, value(), 1, kMaxTop));
        } else if (name == "--jobs") {
            options.request.threads = static_cast<unsigned>(ParseCount(name, value(), 1, kMaxJobs));
        } else if (name == "--option") {
            options.request.option = ParseCount(name, value(), 1, kOptionCount);
        } else if (name == "--decimal-separator") {
            options.decimalSeparator = ParseSeparator(value());
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
    if (options.sharded && !options.mergeFiles.empty()) {
        throw UsageError("--shard and --merge cannot be combined");
    }
    if (options.sharded && outputSet) {
        throw UsageError("--shard writes its own format and takes no other output mode");
    }
    return options;
}

bool MatchesPattern(std::string_view entryText, std::string_view pattern) {
    const auto end = entryText.find_last_not_of(" \t");
    const std::string_view text = entryText.substr(0, end == std::string_view::npos ? 0 : end + 1);
    if (pattern.find_first_of("*?") != std::string_view::npos) return Glob(text, pattern);
    return text.size() >= pattern.size() &&
           std::equal(pattern.begin(), pattern.end(), text.begin(), SameLetter);
}

std::vector<std::size_t> MatchingLines(const std::vector<std::string>& lines,
                                       const std::optional<std::string>& pattern,
                                       std::string_view what) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!pattern || MatchesPattern(EntryText(lines[i]), *pattern)) chosen.push_back(i);
    }
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
