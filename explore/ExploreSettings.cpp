// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ExploreSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <set>
#include <utility>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "explore/ParetoFront.h"
#include "explore/SpaceText.h"
#include "model/Error.h"

namespace mfb {

namespace {

const ExploreSpace kWhole;

constexpr ExplorePatternField kPatternFields[] = {
    {"motor", {"--motor", "Motors"}, &Catalogue::MotorLines, &ExploreSpace::motors},
    {"battery", {"--battery", "Cell types"}, &Catalogue::BatteryLines, &ExploreSpace::batteries},
};

const ExploreListField kListFields[] = {
    {"fanList",
     {"--fans", "Fans"},
     1,
     kMostFanNumber,
     "fan numbers such as 1,3-5",
     &ExploreSpace::fans},
    {"serieList",
     {"--serie", "Cells in series"},
     kWhole.series.front(),
     kWhole.series.back(),
     "cell counts such as 4,6,8-10",
     &ExploreSpace::series},
    {"parallelList",
     {"--parallel", "Cells in parallel"},
     kWhole.parallels.front(),
     kWhole.parallels.back(),
     "cell counts such as 1,3-5",
     &ExploreSpace::parallels},
};

template <auto member>
std::optional<double>& Budget(ExploreSettings& s) {
    return s.request.filter.*member;
}
template <auto member>
std::optional<double>& Bound(ExploreSettings& s) {
    return s.request.*member;
}
template <auto member>
std::optional<double>& Setting(ExploreSettings& s) {
    return s.*member;
}

constexpr ExploreNumberField kNumberFields[] = {
    {"maxCurrent", {"--max-current", "Max current (A)"}, &Budget<&ExploreFilter::maxCurrent>},
    {"maxWeight", {"--max-weight", "Max pack weight (g)"}, &Budget<&ExploreFilter::maxWeight>},
    {"minEfficiency",
     {"--min-efficiency", "Min efficiency"},
     &Budget<&ExploreFilter::minEfficiency>},
    {"minThrust", {"--min-thrust", "Min thrust (g)"}, &Budget<&ExploreFilter::minThrust>},
    {"minFlightTime",
     {"--min-flight-time", "Min flight time (min)"},
     &Budget<&ExploreFilter::minFlightTime>},
    {"minThrustToWeight",
     {"--min-thrust-to-weight", "Min thrust to weight"},
     &Budget<&ExploreFilter::minThrustToWeight>},
    {"minPower", {"--power", "Min shaft power (W)"}, &Bound<&ExploreRequest::minPower>},
    {"maxPower", {"--power", "Max shaft power (W)"}, &Bound<&ExploreRequest::maxPower>},
    {"targetPower",
     {"--target-power", "Target power (W)"},
     &Setting<&ExploreSettings::targetPower>},
    {"targetThrust",
     {"--target-thrust", "Target thrust (g)"},
     &Setting<&ExploreSettings::targetThrust>},
};

constexpr SettingName kPowerRange{"--power range", "The shaft power range"};
constexpr SettingName kTargetWithOtherKey{
    "--target-power ranks by closeness to it; leave out --sort or use --sort target",
    "Target power (W) ranks by closeness to it; leave it empty or rank by Closeness to target "
    "power"};
constexpr SettingName kThrustTargetWithOtherKey{
    "--target-thrust ranks by closeness to it; leave out --sort or use --sort target-thrust",
    "Target thrust (g) ranks by closeness to it; leave it empty or rank by Closeness to target "
    "thrust"};
constexpr SettingName kTwoTargets{"--target-power and --target-thrust cannot be combined",
                                  "Target power (W) and Target thrust (g) cannot be combined"};
constexpr SettingName kThrustTargetWanted{"--sort target-thrust needs --target-thrust G",
                                          "Closeness to target thrust needs a target thrust"};
constexpr SettingName kParetoWithKey{
    "--pareto sorts by thrust or shaft power; leave out --sort and targets",
    "The trade-off front is sorted by thrust or shaft power; leave the targets empty"};
// Without a model weight no combination has a thrust to weight: the search would keep none.
constexpr SettingName kThrustToWeightWantsWeight{
    "--sort thrust-to-weight and --min-thrust-to-weight need --model-weight G",
    "Thrust to weight needs the model's weight without its pack"};
constexpr SettingName kTargetWanted{
    "--sort target needs --target-power W or a --power range",
    "Closeness to target power needs a target power or a shaft power range"};

std::string Text(double value) {
    return HexNumber(value);
}
std::string Text(const std::optional<double>& value) {
    return OptionalHexNumber(value);
}
std::string Text(bool value) {
    return value ? "1" : "0";
}
std::string Text(char value) {
    return std::string(1, value);
}
std::string Text(ExploreKey key) {
    return std::to_string(static_cast<int>(key));
}
std::string Text(const FlightSettings& flight) {
    return Text(flight.throttle) + ',' + Text(flight.fullShare) + ',' + Text(flight.usable) + ',' +
           Text(flight.modelWeight);
}
template <typename Integer>
std::string Text(Integer value) {
    return std::to_string(value);
}
template <typename T>
std::string Text(const std::vector<T>& values) {
    std::string text;
    for (const T& value : values) text += std::to_string(value) + ',';
    return text;
}

template <auto member>
std::string FieldText(const ExploreRequest& request) {
    return Text(request.*member);
}
template <auto part, auto member>
std::string PartText(const ExploreRequest& request) {
    return Text(request.*part.*member);
}

template <auto part, auto member>
ExploreRequestField SpaceField(std::string_view name, long long low, long long high) {
    return {name, true, &PartText<part, member>, ShardLine::Space, member, low, high};
}
// The fans and cell counts a shard may hold are those the settings take.
template <auto part, auto member>
ExploreRequestField SpaceField(std::string_view name) {
    const auto field = std::find_if(std::begin(kListFields), std::end(kListFields),
                                    [](const ExploreListField& f) { return f.counts == member; });
    return SpaceField<part, member>(name, field->low, field->high);
}
template <auto part, auto member>
constexpr ExploreRequestField FilterField(std::string_view name) {
    return {name, true, &PartText<part, member>, ShardLine::Filter, member};
}
template <auto member>
constexpr ExploreRequestField FilterField(std::string_view name, long long low = 0,
                                          long long high = 0) {
    return {name, true, &FieldText<member>, ShardLine::Filter, member, low, high};
}

constexpr auto kSpace = &ExploreRequest::space;
constexpr auto kFilter = &ExploreRequest::filter;

const ExploreRequestField kRequestFields[] = {
    SpaceField<kSpace, &ExploreSpace::motors>("motors", 0, kMostCatalogueLines),
    SpaceField<kSpace, &ExploreSpace::batteries>("batteries", 0, kMostCatalogueLines),
    SpaceField<kSpace, &ExploreSpace::fans>("fans"),
    SpaceField<kSpace, &ExploreSpace::series>("series"),
    SpaceField<kSpace, &ExploreSpace::parallels>("parallels"),
    FilterField<kFilter, &ExploreFilter::maxCurrent>("maxCurrent"),
    FilterField<kFilter, &ExploreFilter::maxWeight>("maxWeight"),
    FilterField<kFilter, &ExploreFilter::minEfficiency>("minEfficiency"),
    FilterField<kFilter, &ExploreFilter::minThrust>("minThrust"),
    FilterField<kFilter, &ExploreFilter::minFlightTime>("minFlightTime"),
    FilterField<kFilter, &ExploreFilter::minThrustToWeight>("minThrustToWeight"),
    FilterField<&ExploreRequest::minPower>("minPower"),
    FilterField<&ExploreRequest::maxPower>("maxPower"),
    FilterField<&ExploreRequest::ignoreLimits>("ignoreLimits", 0, 1),
    {"key", false, &FieldText<&ExploreRequest::key>},
    {"targetPower", true, &FieldText<&ExploreRequest::targetPower>},
    {"targetThrust", true, &FieldText<&ExploreRequest::targetThrust>},
    {"flight", true, &FieldText<&ExploreRequest::flight>},
    {"pareto", true, &FieldText<&ExploreRequest::pareto>},
    {"top", false, &FieldText<&ExploreRequest::top>},
    FilterField<&ExploreRequest::option>("option", 1, kOptionCount),
    {"threads", false, &FieldText<&ExploreRequest::threads>},
    FilterField<&ExploreRequest::decimalSeparator>("decimalSeparator", 1, 127),
    {"verify", false, &FieldText<&ExploreRequest::verify>},
    {"exhaustive", false, &FieldText<&ExploreRequest::exhaustive>},
    {"shard", false, &FieldText<&ExploreRequest::shard>},
    {"shards", false, &FieldText<&ExploreRequest::shards>},
};

// The number of members of an aggregate: the most initialisers a brace list of it takes.
struct AnyValue {
    // Defined, though only ever asked about: clang holds an undefined function of internal
    // linkage that a brace list names as used.
    template <typename T>
    operator T() const {
        return T{};
    }
};

template <typename T, typename... Given>
constexpr std::size_t MemberCount() {
    if constexpr (requires { T{Given{}..., AnyValue{}}; }) {
        return MemberCount<T, Given..., AnyValue>();
    } else {
        return sizeof...(Given);
    }
}
// A member added to the request, its space or its filter must be given a row above, or a shard of
// one search could merge with a shard of another.
static_assert(std::size(kRequestFields) == MemberCount<ExploreRequest>() - 2 +
                                               MemberCount<ExploreSpace>() +
                                               MemberCount<ExploreFilter>(),
              "a field of ExploreRequest missing from kRequestFields");

}  // namespace

std::span<const ExplorePatternField> ExplorePatternFields() {
    return kPatternFields;
}

std::vector<std::size_t> ChooseLines(const ExplorePatternField& field, const Catalogue& catalogue,
                                     const std::optional<std::string>& pattern,
                                     SettingNaming naming) {
    std::vector<std::size_t> chosen = MatchingLines(catalogue.*field.lines, pattern);
    if (pattern && chosen.empty()) {
        throw ExploreSettingError(std::string(field.name.In(naming)) + " \"" + *pattern +
                                  "\" matches no " + std::string(field.noun));
    }
    return chosen;
}

std::span<const ExploreListField> ExploreListFields() {
    return kListFields;
}

std::vector<int> ParseListSetting(const ExploreListField& field, std::string_view text,
                                  SettingNaming naming) {
    try {
        return ParseCountList(text, field.low, field.high, field.form);
    } catch (const CountListError& e) {
        throw ExploreSettingError(std::string(field.name.In(naming)) + " " + e.what());
    }
}

std::vector<int> ParseFanSetting(std::string_view text, const Catalogue& catalogue,
                                 SettingNaming naming) {
    const ExploreListField& field = kListFields[0];
    const std::string setting(field.name.In(naming));
    std::vector<std::pair<int, std::string_view>> named;  // every fan with its name
    for (int j = 1; j <= kFanCount; ++j) {
        named.emplace_back(j, catalogue.Fans[static_cast<std::size_t>(j - 1)].Name);
    }
    for (const LibraryFan& fan : catalogue.FanLibrary) named.emplace_back(fan.number, fan.fan.Name);

    std::string numbers;  // the entries that are numbers, read by the list rule together
    bool anyNumber = false;
    std::set<int> fans;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        const std::string_view entry = Trimmed(text.substr(start, comma - start));
        if (entry.find_first_not_of("0123456789-") == std::string_view::npos) {
            numbers += (anyNumber ? "," : "") + std::string(entry);
            anyNumber = true;
        } else {
            std::vector<int> matches;
            for (const auto& [number, name] : named) {
                if (SameFanName(name, entry)) matches.push_back(number);
            }
            if (matches.size() != 1) {
                std::string which;
                for (const int m : matches)
                    which += (which.empty() ? "" : ", ") + std::to_string(m);
                throw ExploreSettingError(
                    setting + ": \"" + Excerpt(entry) + "\" " +
                    (matches.empty()
                         ? "names no fan of " + std::string(kFanFile)
                         : "names more than one fan (" + which + "); give its number instead"));
            }
            fans.insert(matches.front());
        }
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (anyNumber) {
        for (const int fan : ParseListSetting(field, numbers, naming)) {
            if (FanNumbered(catalogue, fan) == nullptr) {
                throw ExploreSettingError(setting + ": " + kFanFile + " has fans 1 to " +
                                          std::to_string(kFanCount) + " and no library fan " +
                                          std::to_string(fan));
            }
            fans.insert(fan);
        }
    }
    return {fans.begin(), fans.end()};
}

std::span<const ExploreNumberField> ExploreNumberFields() {
    return kNumberFields;
}

double ParseNumberSetting(std::string_view name, std::string_view text, char decimalSeparator) {
    // The catalogues' number rule, so that a mistake in a field reads as the same one in a file.
    double value = 0;
    try {
        value = ParseNumber(text, decimalSeparator);
    } catch (const Error& e) {
        throw ExploreSettingError(std::string(name) + ": " + e.what());
    }
    // The number rule reads a field of blanks or a lone separator as 0, as the catalogues hold
    // them; a setting typed that way is a mistake, not a budget of nothing.
    if (!(value >= 0) || text.find_first_of("0123456789") == std::string_view::npos) {
        throw ExploreSettingError(std::string(name) + " needs a number of at least 0, not \"" +
                                  Excerpt(text) + "\"");
    }
    return value;
}

ExploreRequest ResolveSettings(const ExploreSettings& settings, SettingNaming naming) {
    ExploreRequest request = settings.request;
    if (request.minPower && request.maxPower && *request.minPower > *request.maxPower) {
        throw ExploreSettingError(std::string(kPowerRange.In(naming)) + " runs backwards");
    }
    const auto refuse = [naming](const SettingName& message) {
        throw ExploreSettingError(std::string(message.In(naming)));
    };
    if (settings.targetPower && settings.targetThrust) refuse(kTwoTargets);
    if (!request.flight.modelWeight &&
        (request.filter.minThrustToWeight || settings.key == ExploreKey::ThrustToWeight)) {
        refuse(kThrustToWeightWantsWeight);
    }
    if (request.pareto) {
        if (KeyChosen(settings)) refuse(kParetoWithKey);
        // Cut, a shard's front could not be merged into the front of all.
        request.top = kMaxTop;
        return request;
    }
    if (settings.targetThrust) {
        if (settings.key && *settings.key != ExploreKey::TargetThrust) {
            refuse(kThrustTargetWithOtherKey);
        }
        request.key = ExploreKey::TargetThrust;
        request.targetThrust = *settings.targetThrust;
        return request;
    }
    if (settings.key == ExploreKey::TargetThrust) refuse(kThrustTargetWanted);
    request.key =
        settings.key.value_or(settings.targetPower ? ExploreKey::Target : ExploreKey::Rpm);
    if (settings.targetPower) {
        if (request.key != ExploreKey::Target) refuse(kTargetWithOtherKey);
        request.targetPower = *settings.targetPower;
    } else if (request.key == ExploreKey::Target) {
        if (!request.minPower || !request.maxPower) refuse(kTargetWanted);
        request.targetPower = (*request.minPower + *request.maxPower) / 2;
    }
    return request;
}

bool KeyChosen(const ExploreSettings& settings) {
    return settings.key || settings.targetPower || settings.targetThrust;
}

ExploreKey KeyFor(const ExploreRequest& request, bool keyChosen, const Catalogue& catalogue) {
    if (request.pareto) return ParetoKey(ParetoAxesOf(catalogue, request));
    return keyChosen ? request.key : DefaultKey(catalogue, request);
}

std::span<const ExploreRequestField> ExploreRequestFields() {
    return kRequestFields;
}

std::string HexNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

std::string OptionalHexNumber(const std::optional<double>& value) {
    return value ? HexNumber(*value) : "-";
}

}  // namespace mfb
