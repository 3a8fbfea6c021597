// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreOptions.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <tuple>
#include <utility>

#include "cli/CliOptions.h"
#include "cli/FlightOptions.h"
#include "explore/ExploreTable.h"

namespace mfb::cli {

namespace {

// A setting read by the rules every front end shares, their message a usage error here.
template <typename Read>
auto Setting(Read read) {
    try {
        return read();
    } catch (const ExploreSettingError& e) {
        throw UsageError(e.what());
    }
}

double ParseNumber(std::string_view name, const std::string& text) {
    return Setting([&] { return ParseNumberSetting(name, text, '.'); });
}

// "LO-HI" in watts.
void ParsePowerRange(ExploreSettings& settings, const std::string& option,
                     const std::string& text) {
    const auto dash = text.find('-');
    if (dash == std::string::npos) {
        throw UsageError(option + " needs a range of shaft power in W such as 1100-1300, not \"" +
                         text + "\"");
    }
    settings.request.minPower = ParseNumber(option, text.substr(0, dash));
    settings.request.maxPower = ParseNumber(option, text.substr(dash + 1));
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

// The list or number setting the option names, if it names one; the power range is two numbers
// under one option and read apart.
bool ParseSetting(ExploreSettings& settings, std::optional<std::string>& fanList,
                  const std::string& name, const std::function<std::string()>& value) {
    for (const ExploreListField& field : ExploreListFields()) {
        if (field.name.option != name) continue;
        const std::string text = value();
        if (field.counts == &ExploreSpace::fans) {
            fanList = text;
            // A fan's name is known only to the catalogue; numbers alone are checked now.
            if (text.find_first_not_of("0123456789-,") != std::string::npos) return true;
        }
        settings.request.space.*field.counts =
            Setting([&] { return ParseListSetting(field, text, SettingNaming::Option); });
        return true;
    }
    for (const ExploreNumberField& field : ExploreNumberFields()) {
        if (field.name.option != name || name == "--power") continue;
        field.value(settings) = ParseNumber(name, value());
        return true;
    }
    return false;
}

}  // namespace

ExploreOptions ParseExploreOptions(const std::vector<std::string>& args) {
    ExploreOptions options;
    if (AsksForHelp(args)) {
        options.output = ExploreOutput::Help;
        return options;
    }
    ExploreSettings settings;
    ExploreRequest& request = settings.request;
    request.space.fans.clear();
    for (int fan = 1; fan <= kFanCount; ++fan) request.space.fans.push_back(fan);

    bool outputSet = false;
    bool merging = false;
    std::vector<std::string> given;
    bool topGiven = false;
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

        if (ParseSetting(settings, options.fanList, name, value)) {
            continue;
        } else if (name == "--json") {
            output(ExploreOutput::Json);
        } else if (name == "--csv") {
            output(ExploreOutput::Csv);
        } else if (name == "--verify") {
            flag();
            request.verify = true;
        } else if (name == "--exhaustive") {
            flag();
            request.exhaustive = true;
        } else if (name == "--catalogues") {
            options.catalogueDir = ParseDirectory(name, value());
        } else if (name == "--motor") {
            options.motorPattern = ParsePattern(name, value());
        } else if (name == "--battery") {
            options.batteryPattern = ParsePattern(name, value());
        } else if (name == "--power") {
            ParsePowerRange(settings, name, value());
        } else if (name == "--ignore-limits") {
            flag();
            request.ignoreLimits = true;
        } else if (name == "--pareto") {
            flag();
            request.pareto = true;
        } else if (name == "--sort") {
            settings.key = ParseSortKey(value());
        } else if (name == "--top") {
            request.top = static_cast<std::size_t>(ParseCount(name, value(), 1, kMaxTop));
            topGiven = true;
        } else if (name == "--jobs") {
            request.threads = static_cast<unsigned>(ParseCount(name, value(), 1, kMaxJobs));
        } else if (name == "--option") {
            request.option = ParseCount(name, value(), 1, kOptionCount);
        } else if (name == "--decimal-separator") {
            options.decimalSeparator = ParseSeparator(value());
        } else if (name == "--output") {
            options.outputFile = ParseDirectory(name, value());
        } else if (name == "--max-seconds") {
            options.maxSeconds = ParseNumber(name, value());
        } else if (name == "--shard") {
            std::tie(request.shard, request.shards) = ParseShard(name, value());
            options.sharded = true;
        } else if (name == "--merge") {
            options.mergeFiles.push_back(ParseDirectory(name, value()));
            merging = true;
        } else if (merging && !name.starts_with("-")) {
            options.mergeFiles.push_back(name);  // the files after --merge
        } else if (!ReadFlightOption(reader, request.flight)) {
            throw UsageError("unknown argument \"" + reader.Given() + "\"");
        }
    }
    if (request.pareto && topGiven)
        throw UsageError("--pareto shows the whole front; leave out --top");
    options.request = Setting([&] { return ResolveSettings(settings, SettingNaming::Option); });
    options.keyChosen = KeyChosen(settings);
    if (options.sharded && !options.mergeFiles.empty()) {
        throw UsageError("--shard and --merge cannot be combined");
    }
    if (merging) {
        // The shards ran the search; a merge ranks what they found as they ranked it, and an
        // option that would change the search could only be ignored.
        constexpr std::string_view kMergeOptions[] = {
            "--merge",  "--catalogues", "--decimal-separator", "--json", "--csv", "--output",
            "--verify", "--jobs",       "--max-seconds"};
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

ExploreRequest ResolveRequest(const ExploreOptions& options, const Catalogue& catalogue,
                              char decimalSeparator) {
    ExploreRequest request = options.request;
    const std::optional<std::string>* patterns[] = {&options.motorPattern, &options.batteryPattern};
    const auto fields = ExplorePatternFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        request.space.*fields[i].chosen = Setting(
            [&] { return ChooseLines(fields[i], catalogue, *patterns[i], SettingNaming::Option); });
    }
    if (options.fanList) {
        request.space.fans = Setting(
            [&] { return ParseFanSetting(*options.fanList, catalogue, SettingNaming::Option); });
    }
    request.decimalSeparator = decimalSeparator;
    request.key = KeyFor(request, options.keyChosen, catalogue);
    return request;
}

}  // namespace mfb::cli
