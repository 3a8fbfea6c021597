// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ShardFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <limits>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <sstream>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>

#include "catalogue/Catalogue.h"
#include "catalogue/TextLines.h"
#include "explore/ExploreSettings.h"
#include "explore/ExploreWork.h"
#include "explore/ParetoFront.h"

namespace mfb {

namespace {

// The third form: the first kept neither the search nor a digest, so a merge could not check its
// rows; the second did not count the combinations a ranking settles by bounds.
constexpr char kMagic[] = "mfbcalc explore shard 3";

// The row's stored doubles in file order.
// The derived figures and limit checks are not kept: the merge works them out again.
constexpr double ExploreRow::*kRowValues[] = {&ExploreRow::packWeight, &ExploreRow::uBattery,
                                              &ExploreRow::rTotal};
constexpr double ResultPoint::*kResultValues[] = {&ResultPoint::Current, &ResultPoint::RpmMotor,
                                                  &ResultPoint::PinMotor, &ResultPoint::Efficiency,
                                                  &ResultPoint::UMotor};
static_assert(sizeof(ResultPoint) == std::size(kResultValues) * sizeof(double),
              "a value of ResultPoint missing from kResultValues");

// The cells an option's boxes take; a count beyond them is damage.
constexpr long long kMostSerie = 40;
constexpr long long kMostParallel = 10;

// A list that claims more entries than a catalogue has lines is damage: reading it would only take
// memory.
constexpr long long kMaxListed = kMostCatalogueLines;

// Ascending numbers as runs: "0-41,57".
template <typename T>
std::string ListText(const std::vector<T>& list) {
    if (list.empty()) return "-";
    std::string text;
    for (std::size_t i = 0; i < list.size();) {
        std::size_t j = i;
        while (j + 1 < list.size() && list[j + 1] == list[j] + 1) ++j;
        if (!text.empty()) text += ',';
        text += std::to_string(list[i]);
        if (j > i) text += '-' + std::to_string(list[j]);
        i = j + 1;
    }
    return text;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// FNV-1a: enough to tell searches apart and to find damage done in transit or by an edit, though
// not to resist forgery; the merge recalculates every row for that.
class Digest {
public:
    void Mix(std::string_view text) {
        for (const char c : text) hash_ = (hash_ ^ static_cast<unsigned char>(c)) * kPrime;
        hash_ = (hash_ ^ 0xff) * kPrime;
    }
    std::string Text() const {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
        return text;
    }

private:
    static constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t hash_ = 14695981039346656037ull;
};

class Parser {
public:
    explicit Parser(const std::string& source) : source_(source) {}

    [[noreturn]] void Fail(const std::string& what) const { FailAt(line_, what); }
    [[noreturn]] void FailAt(std::size_t line, const std::string& what) const {
        throw ShardError("\"" + source_ + "\" is not a whole explore shard" +
                         (line > 0 ? " (line " + std::to_string(line) + ")" : std::string()) +
                         ": " + what);
    }
    std::size_t Line() const { return line_; }

    // Like std::getline, but no line of a shard comes near a mebibyte: reading on would take a
    // device that never ends a line, or a large file without any, into memory whole.
    bool ReadLine(std::istream& in, std::string& line) {
        constexpr std::size_t kMaxLine = std::size_t{1} << 20;
        line.clear();
        ++line_;
        for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
            if (c == '\n') return true;
            if (line.size() == kMaxLine) Fail("a line is longer than 1 MiB");
            line += static_cast<char>(c);
        }
        return !line.empty();
    }
    long long Integer(const std::string& text) const {
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || errno == ERANGE) {
            Fail("\"" + Excerpt(text) + "\" is not a whole number");
        }
        return value;
    }
    // A value a run writes only within these bounds; anything else is a damaged file, which
    // would otherwise rank or name rows wrongly.
    long long Integer(const std::string& text, long long low, long long high) const {
        const long long value = Integer(text);
        if (value < low || value > high) {
            Fail("\"" + Excerpt(text) + "\" is not from " + std::to_string(low) + " to " +
                 std::to_string(high));
        }
        return value;
    }
    double Number(const std::string& text) const {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') Fail("\"" + Excerpt(text) + "\" is not a number");
        // A run writes only finite values; NaN would rank anywhere and print as a word.
        if (!std::isfinite(value)) Fail("\"" + Excerpt(text) + "\" is not a finite number");
        return value;
    }
    std::optional<double> OptionalNumber(const std::string& text) const {
        if (text == "-") return std::nullopt;
        return Number(text);
    }
    // A list as ListText writes it: ascending runs from `low` to `high`.
    template <typename T>
    std::vector<T> List(const std::string& text, long long low, long long high) const {
        std::vector<T> list;
        if (text == "-") return list;
        for (const std::string& run : Split(text, ',')) {
            const auto dash = run.find('-');
            const long long from = Integer(run.substr(0, dash), low, high);
            const long long to =
                dash == std::string::npos ? from : Integer(run.substr(dash + 1), low, high);
            if (to < from || (!list.empty() && from <= static_cast<long long>(list.back())) ||
                static_cast<long long>(list.size()) + (to - from) >= kMaxListed) {
                Fail("\"" + Excerpt(text) + "\" is not an ascending list");
            }
            for (long long n = from; n <= to; ++n) list.push_back(static_cast<T>(n));
        }
        return list;
    }

private:
    static std::vector<std::string> Split(const std::string& text, char by) {
        std::vector<std::string> parts;
        std::istringstream in(text);
        for (std::string part; std::getline(in, part, by);) parts.push_back(part);
        if (text.empty() || text.back() == by) parts.emplace_back();
        return parts;
    }

    const std::string& source_;
    std::size_t line_ = 0;
};

template <typename T>
std::size_t Position(const std::vector<T>& list, T value) {
    const auto at = std::lower_bound(list.begin(), list.end(), value);
    return at != list.end() && *at == value ? static_cast<std::size_t>(at - list.begin())
                                            : list.size();
}

// The value a path of members leads to from the shard: its request's, its result's or its own.
template <auto first, auto... rest, typename Object>
auto& Member(Object& object) {
    if constexpr (sizeof...(rest) == 0) {
        return object.*first;
    } else {
        return Member<rest...>(object.*first);
    }
}
template <auto... path>
using MemberType = std::remove_cvref_t<decltype(Member<path...>(std::declval<ExploreShard&>()))>;

// One field of a header record: how a run writes it, and how a read takes it back, refusing what
// a run does not write.
struct Column {
    std::string (*write)(const ExploreShard& shard);
    void (*read)(ExploreShard& shard, const std::string& text, const Parser& parse);
};

// A whole number from `low` to `high`, stored in whatever integer, flag or key its member is.
template <auto... path>
std::string WriteWhole(const ExploreShard& shard) {
    return std::to_string(static_cast<long long>(Member<path...>(shard)));
}
template <long long low, long long high, auto... path>
void ReadWhole(ExploreShard& shard, const std::string& text, const Parser& parse) {
    Member<path...>(shard) = static_cast<MemberType<path...>>(parse.Integer(text, low, high));
}
template <long long low, long long high, auto... path>
constexpr Column kWhole{&WriteWhole<path...>, &ReadWhole<low, high, path...>};
template <auto... path>
constexpr Column kFlag = kWhole<0, 1, path...>;
// A count, which the consistency checks bound once every record is read.
template <auto... path>
constexpr Column kCount =
    kWhole<std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max(), path...>;

// A number, or one that may be unset: `write` turns the member into its text, `read` back.
template <auto write, auto... path>
std::string WriteWith(const ExploreShard& shard) {
    return write(Member<path...>(shard));
}
template <auto read, auto... path>
void ReadWith(ExploreShard& shard, const std::string& text, const Parser& parse) {
    Member<path...>(shard) = (parse.*read)(text);
}
template <auto... path>
constexpr Column kReal{&WriteWith<&HexNumber, path...>, &ReadWith<&Parser::Number, path...>};
template <auto... path>
constexpr Column kOptional{&WriteWith<&OptionalHexNumber, path...>,
                           &ReadWith<&Parser::OptionalNumber, path...>};

// A digest, kept as written.
template <auto... path>
std::string WriteText(const ExploreShard& shard) {
    return Member<path...>(shard);
}
template <auto... path>
void ReadText(ExploreShard& shard, const std::string& text, const Parser&) {
    Member<path...>(shard) = text;
}
template <auto... path>
constexpr Column kText{&WriteText<path...>, &ReadText<path...>};

constexpr auto kRequest = &ExploreShard::request;
constexpr auto kResult = &ExploreShard::result;

void ReadShardNumber(ExploreShard& shard, const std::string& text, const Parser& parse) {
    shard.request.shard = static_cast<int>(parse.Integer(text, 1, shard.request.shards));
}
// The member of the request a field of its table points to.
template <typename Request, typename T>
auto& Of(Request& request, T ExploreSpace::*member) {
    return request.space.*member;
}
template <typename Request, typename T>
auto& Of(Request& request, T ExploreFilter::*member) {
    return request.filter.*member;
}
template <typename Request, typename T>
auto& Of(Request& request, T ExploreRequest::*member) {
    return request.*member;
}

template <typename T>
constexpr bool kIsList = false;
template <typename T>
constexpr bool kIsList<std::vector<T>> = true;

// A field the request's table keeps on a shard's line: a list as runs, a number in hexadecimal, and
// a flag, a count or a character as a whole number.
std::string FieldText(const ExploreRequest& request, const ExploreRequestField& field) {
    return std::visit(
        [&request](auto member) -> std::string {
            if constexpr (std::is_same_v<decltype(member), std::monostate>) {
                return "-";  // no field a shard's line keeps is without its member
            } else {
                const auto& value = Of(request, member);
                using Value = std::remove_cvref_t<decltype(value)>;
                if constexpr (kIsList<Value>) {
                    return ListText(value);
                } else if constexpr (std::is_same_v<Value, std::optional<double>>) {
                    return OptionalHexNumber(value);
                } else {
                    return std::to_string(static_cast<long long>(value));
                }
            }
        },
        field.member);
}
void ReadField(ExploreRequest& request, const ExploreRequestField& field, const std::string& text,
               const Parser& parse) {
    std::visit(
        [&](auto member) {
            if constexpr (!std::is_same_v<decltype(member), std::monostate>) {
                auto& value = Of(request, member);
                using Value = std::remove_cvref_t<decltype(value)>;
                if constexpr (kIsList<Value>) {
                    value = parse.List<typename Value::value_type>(text, field.low, field.high);
                } else if constexpr (std::is_same_v<Value, std::optional<double>>) {
                    value = parse.OptionalNumber(text);
                } else {
                    value = static_cast<Value>(parse.Integer(text, field.low, field.high));
                }
            }
        },
        field.member);
}

// The fields of the request's table that `line` keeps, in the table's order.
std::vector<const ExploreRequestField*> FieldsOn(ShardLine line) {
    std::vector<const ExploreRequestField*> fields;
    for (const ExploreRequestField& field : ExploreRequestFields()) {
        if (line != ShardLine::Elsewhere && field.shardLine == line) fields.push_back(&field);
    }
    return fields;
}

// Every field of the request is kept but its threads, verify and exhaustive, which say how a run
// goes rather than what it finds: on the line its table names, or in a column below. A field added
// to the request needs one of the two, and a new kMagic.
constexpr Column kShardColumns[] = {
    {&WriteWhole<kRequest, &ExploreRequest::shard>, &ReadShardNumber},
    kWhole<1, kMaxShards, kRequest, &ExploreRequest::shards>,
};
// The number of shards bounds the shard's, so it is read first.
constexpr std::size_t kShardsFirst[] = {1, 0};
constexpr Column kSearchColumns[] = {
    kWhole<0, static_cast<long long>(kLastExploreKey), kRequest, &ExploreRequest::key>,
    kReal<kRequest, &ExploreRequest::targetPower>,
    kReal<kRequest, &ExploreRequest::targetThrust>,
    kWhole<1, kMaxTop, kRequest, &ExploreRequest::top>,
    kText<&ExploreShard::fingerprint>,
    kText<&ExploreShard::catalogue>,
};
constexpr Column kParetoColumns[] = {kFlag<kRequest, &ExploreRequest::pareto>};
constexpr Column kFlightColumns[] = {
    kReal<kRequest, &ExploreRequest::flight, &FlightSettings::throttle>,
    kReal<kRequest, &ExploreRequest::flight, &FlightSettings::fullShare>,
    kReal<kRequest, &ExploreRequest::flight, &FlightSettings::usable>,
    kOptional<kRequest, &ExploreRequest::flight, &FlightSettings::modelWeight>,
};
constexpr Column kCombinationsColumns[] = {kCount<kResult, &ExploreResult::combinations>};
constexpr Column kSecondsColumns[] = {kReal<&ExploreShard::seconds>};
constexpr Column kPartialColumns[] = {kFlag<kResult, &ExploreResult::partial>};
template <std::size_t... i>
constexpr std::array<Column, sizeof...(i)> CountColumns(std::index_sequence<i...>) {
    return {kCount<kResult, &ExploreResult::counts, kExploreCounts[i]>...};
}
constexpr auto kCountsColumns = CountColumns(std::make_index_sequence<std::size(kExploreCounts)>());

// The header records, each once, before the notes and rows, in the order a run writes them.
struct Record {
    std::string_view name;
    std::span<const Column> columns;          // in the order of the line
    std::span<const std::size_t> readOrder;   // where a column bounds another; empty: the line's
    ShardLine fields = ShardLine::Elsewhere;  // the request's fields after the columns
};
constexpr Record kRecords[] = {
    {"shard", kShardColumns, kShardsFirst},
    {"search", kSearchColumns, {}},
    {"pareto", kParetoColumns, {}},
    {"flight", kFlightColumns, {}},
    {"space", {}, {}, ShardLine::Space},
    {"filter", {}, {}, ShardLine::Filter},
    {"combinations", kCombinationsColumns, {}},
    {"seconds", kSecondsColumns, {}},
    {"partial", kPartialColumns, {}},
    {"counts", kCountsColumns, {}},
};

// What a run of the shard's search writes and nothing else: checked with its digest already
// matching, so a failure here is a writer at fault, not transit.
void CheckConsistent(const ExploreShard& shard, const Parser& parse) {
    const ExploreRequest& request = shard.request;
    const ExploreResult& result = shard.result;
    const ExploreCounts& counts = result.counts;
    if (shard.fingerprint != ExploreFingerprint(request)) {
        parse.FailAt(0, "its search does not match its fingerprint");
    }
    const ExploreSpace& space = request.space;
    const WorkUnits items(space.motors.size(), space.batteries.size(), space.fans.size(),
                          static_cast<std::size_t>(request.shard - 1),
                          static_cast<std::size_t>(request.shards));
    const long long share = static_cast<long long>(items.Count()) *
                            static_cast<long long>(space.series.size() * space.parallels.size());
    if (result.combinations != share) {
        parse.FailAt(0, "it counts " + std::to_string(result.combinations) +
                            " combinations, but its share of the search has " +
                            std::to_string(share));
    }
    long long ended = 0;
    for (const auto count : kExploreCounts) {
        if (counts.*count < 0) parse.FailAt(0, "a count is negative");
        if (count != &ExploreCounts::visited && count != &ExploreCounts::fullSweeps) {
            ended += counts.*count;
        }
    }
    if (ended != counts.visited || counts.fullSweeps > counts.visited || counts.visited > share ||
        result.partial != (counts.visited < share)) {
        parse.FailAt(0, "its counts do not add up");
    }
    // A trade-off front holds at most the ranked rows; a ranking, the best `top` of them.
    const auto expected = std::min<long long>(static_cast<long long>(request.top), counts.ranked);
    const auto rows = static_cast<long long>(result.rows.size());
    if (request.pareto ? rows > counts.ranked : rows != expected) {
        parse.FailAt(0, "it holds " + std::to_string(result.rows.size()) + " rows where its " +
                            "counts promise " + std::to_string(expected));
    }
    std::set<std::tuple<std::size_t, std::size_t, int, int, int>> seen;
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        const ExploreRow& row = result.rows[i];
        const std::size_t m = Position(space.motors, row.motor);
        const std::size_t b = Position(space.batteries, row.battery);
        const std::size_t f = Position(space.fans, row.fan);
        const bool inSpace = m < space.motors.size() && b < space.batteries.size() &&
                             f < space.fans.size() &&
                             Position(space.series, row.serie) < space.series.size() &&
                             Position(space.parallels, row.parallel) < space.parallels.size();
        const std::size_t item = (m * space.batteries.size() + b) * space.fans.size() + f;
        if (!inSpace || item % static_cast<std::size_t>(request.shards) !=
                            static_cast<std::size_t>(request.shard - 1)) {
            parse.FailAt(shard.rowLines[i], "a row of a combination outside its share");
        }
        if (!seen.emplace(row.motor, row.battery, row.fan, row.serie, row.parallel).second) {
            parse.FailAt(shard.rowLines[i], "a combination's second row");
        }
    }
}

}  // namespace

std::string CatalogueFingerprint(const Catalogue& catalogue) {
    Digest digest;
    for (const auto* lines : {&catalogue.MotorLines, &catalogue.BatteryLines}) {
        for (const std::string& line : *lines) digest.Mix(line);
    }
    const auto mixCurve = [&](const TFanData& fan) {
        for (const double value : {fan.a0, fan.a1, fan.a2, fan.a3, fan.a4, fan.ChartMinPower}) {
            digest.Mix(HexNumber(value));
        }
    };
    const auto mixKnown = [&](const std::optional<double>& value) {
        digest.Mix(OptionalHexNumber(value));
    };
    for (const TFanData& fan : catalogue.Fans) {
        digest.Mix(fan.Name);
        mixCurve(fan);
    }
    // A changed fan limit moves rows in or out of a ranking as surely as a changed curve, and
    // changed jet data move them within one.
    for (const auto& limit : catalogue.FanLimits) mixKnown(limit);
    for (const TFanJetData& jet : catalogue.FanJet) {
        mixKnown(jet.SweptArea);
        mixKnown(jet.StaticEfficiency);
    }
    // A catalogue without a library keeps the fingerprint it had before there were libraries.
    for (const LibraryFan& fan : catalogue.FanLibrary) {
        digest.Mix(std::to_string(fan.number) + ' ' + fan.fan.Name);
        mixCurve(fan.fan);
        for (const auto& value : {fan.maxRpm, fan.jet.SweptArea, fan.jet.StaticEfficiency}) {
            mixKnown(value);
        }
    }
    return digest.Text();
}

std::string ExploreFingerprint(const ExploreRequest& request) {
    std::string what;
    const char* separator = "";
    for (const ExploreRequestField& field : ExploreRequestFields()) {
        if (!field.defining) continue;
        what += separator + field.text(request);
        separator = ";";
    }
    Digest digest;
    digest.Mix(what);
    return digest.Text();
}

void WriteExploreShard(const ExploreShard& shard, std::ostream& out) {
    const ExploreResult& result = shard.result;
    std::ostringstream text;
    text << kMagic << '\n';
    for (const Record& record : kRecords) {
        text << record.name;
        for (const Column& column : record.columns) text << '\t' << column.write(shard);
        for (const ExploreRequestField* field : FieldsOn(record.fields)) {
            text << '\t' << FieldText(shard.request, *field);
        }
        text << '\n';
    }
    for (const std::string& note : result.notes) text << "note\t" << note << '\n';
    for (const ExploreRow& row : result.rows) {
        text << "row\t" << row.motor << '\t' << row.battery << '\t' << row.fan << '\t' << row.serie
             << '\t' << row.parallel << '\t' << row.steps;
        for (const auto value : kResultValues) text << '\t' << HexNumber(row.result.*value);
        for (const auto value : kRowValues) text << '\t' << HexNumber(row.*value);
        text << '\n';
    }
    const std::string body = text.str();
    out << body << "end\t" << ShardDigest(body) << '\n';
}

std::string ShardDigest(std::string_view body) {
    Digest digest;
    for (std::size_t start = 0; start < body.size();) {
        const auto end = body.find('\n', start);
        digest.Mix(body.substr(start, end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return digest.Text();
}

ExploreShard ReadExploreShard(std::istream& in, const std::string& source,
                              const std::atomic<bool>* stop) {
    Parser parse(source);
    ExploreShard shard;
    ExploreResult& result = shard.result;
    Digest digest;
    std::string line;
    if (!parse.ReadLine(in, line) || line != kMagic) {
        parse.Fail("its first line is not \"" + std::string(kMagic) + "\"");
    }
    digest.Mix(line);
    std::set<std::string> records;
    std::optional<std::string> ended;
    while (!ended && parse.ReadLine(in, line)) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) throw MergeStopped{};
        const std::vector<std::string> f = Fields(line);
        const auto need = [&](std::size_t count) {
            if (f.size() != count)
                parse.Fail("a \"" + Excerpt(f[0]) + "\" line has the wrong fields");
        };
        const auto record = std::find_if(std::begin(kRecords), std::end(kRecords),
                                         [&f](const Record& r) { return r.name == f[0]; });
        const bool header = record != std::end(kRecords);
        if (header &&
            (!records.insert(f[0]).second || !result.notes.empty() || !result.rows.empty())) {
            parse.Fail("a \"" + Excerpt(f[0]) + "\" line out of place");
        }
        if ((f[0] == "note" || f[0] == "row") && records.size() != std::size(kRecords)) {
            parse.Fail("a \"" + Excerpt(f[0]) + "\" line before the search it belongs to");
        }
        if (header) {
            const std::span<const Column> columns = record->columns;
            const auto fields = FieldsOn(record->fields);
            need(1 + columns.size() + fields.size());
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const std::size_t at = record->readOrder.empty() ? i : record->readOrder[i];
                columns[at].read(shard, f[1 + at], parse);
            }
            for (std::size_t i = 0; i < fields.size(); ++i) {
                ReadField(shard.request, *fields[i], f[1 + columns.size() + i], parse);
            }
            if (shard.request.minPower.has_value() != shard.request.maxPower.has_value() &&
                record->fields == ShardLine::Filter) {
                parse.Fail("a power range with one end");
            }
        } else if (f[0] == "note") {
            // The rest of the line: a note may quote a catalogue field that holds a tab.
            if (f.size() < 2) parse.Fail("a \"note\" line has the wrong fields");
            result.notes.push_back(line.substr(f[0].size() + 1));
        } else if (f[0] == "row") {
            need(7 + std::size(kResultValues) + std::size(kRowValues));
            ExploreRow row;
            row.motor = static_cast<std::size_t>(parse.Integer(f[1], 0, kMaxListed));
            row.battery = static_cast<std::size_t>(parse.Integer(f[2], 0, kMaxListed));
            row.fan = static_cast<int>(parse.Integer(f[3], 1, kMostFanNumber));
            row.serie = static_cast<int>(parse.Integer(f[4], 1, kMostSerie));
            row.parallel = static_cast<int>(parse.Integer(f[5], 1, kMostParallel));
            row.steps = parse.Integer(f[6], 0, std::numeric_limits<long long>::max());
            std::size_t at = 7;
            for (const auto value : kResultValues) row.result.*value = parse.Number(f[at++]);
            for (const auto value : kRowValues) row.*value = parse.Number(f[at++]);
            result.rows.push_back(row);
            shard.rowLines.push_back(parse.Line());
        } else if (f[0] == "end") {
            need(2);
            ended = f[1];
        } else {
            parse.Fail("unknown line \"" + Excerpt(f[0]) + "\"");
        }
        if (!ended) digest.Mix(line);
    }
    if (!ended) parse.Fail("it is cut short");
    if (parse.ReadLine(in, line)) parse.Fail("it goes on after its \"end\" line");
    if (*ended != digest.Text()) {
        parse.FailAt(0, "its contents (" + std::to_string(parse.Line()) +
                            " lines read) do not match its digest; it was damaged or edited");
    }
    for (const Record& record : kRecords) {
        if (records.count(std::string(record.name)) == 0) {
            parse.FailAt(0, "it has no \"" + std::string(record.name) + "\" line");
        }
    }
    CheckConsistent(shard, parse);
    return shard;
}

}  // namespace mfb
