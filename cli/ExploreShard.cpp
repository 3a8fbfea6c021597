// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreShard.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <istream>
#include <ostream>
#include <set>
#include <sstream>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "cli/CliOptions.h"
#include "cli/ExploreOptions.h"
#include "explore/ExploreSettings.h"
#include "explore/ParetoFront.h"

namespace mfb::cli {

namespace {

constexpr char kMagic[] = "mfbcalc explore shard 1";

// The counts in file order; a new count goes at the end, and older files then lack it.
// The row's stored doubles in file order.
// The derived figures and limit checks are not kept: the merge works them out again.
constexpr double ExploreRow::*kRowValues[] = {&ExploreRow::packWeight, &ExploreRow::uBattery,
                                              &ExploreRow::rTotal};
constexpr double ResultPoint::*kResultValues[] = {&ResultPoint::Current, &ResultPoint::RpmMotor,
                                                  &ResultPoint::PinMotor, &ResultPoint::Efficiency,
                                                  &ResultPoint::UMotor};
static_assert(sizeof(ResultPoint) == std::size(kResultValues) * sizeof(double),
              "a value of ResultPoint missing from kResultValues");

std::string Exact(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
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

class Parser {
public:
    explicit Parser(const std::string& source) : source_(source) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw UsageError(source_ + " is not an explore shard: " + what);
    }
    // Like std::getline, but no line of a shard comes near a mebibyte: reading on would take a
    // device that never ends a line, or a large file without any, into memory whole.
    bool ReadLine(std::istream& in, std::string& line) const {
        constexpr std::size_t kMaxLine = std::size_t{1} << 20;
        line.clear();
        for (int c; (c = in.get()) != std::char_traits<char>::eof();) {
            if (c == '\n') return true;
            if (line.size() == kMaxLine) Fail("a line is longer than 1 MiB");
            line += static_cast<char>(c);
        }
        return !line.empty();
    }
    long long Integer(const std::string& text) const {
        char* end = nullptr;
        const long long value = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0') Fail("\"" + text + "\" is not a whole number");
        return value;
    }
    // A value a run writes only within these bounds; anything else is a damaged file, which
    // would otherwise rank or name rows wrongly.
    long long Integer(const std::string& text, long long low, long long high) const {
        const long long value = Integer(text);
        if (value < low || value > high) {
            Fail("\"" + text + "\" is not from " + std::to_string(low) + " to " +
                 std::to_string(high));
        }
        return value;
    }
    double Number(const std::string& text) const {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') Fail("\"" + text + "\" is not a number");
        return value;
    }

private:
    const std::string& source_;
};

// FNV-1a: a merge only needs to tell searches apart, not to resist forgery.
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

}  // namespace

std::string CatalogueFingerprint(const Catalogue& catalogue) {
    Digest digest;
    for (const auto* lines : {&catalogue.MotorLines, &catalogue.BatteryLines}) {
        for (const std::string& line : *lines) digest.Mix(line);
    }
    for (const TFanData& fan : catalogue.Fans) {
        digest.Mix(fan.Name);
        for (const double value : {fan.a0, fan.a1, fan.a2, fan.a3, fan.a4, fan.ChartMinPower}) {
            digest.Mix(Exact(value));
        }
    }
    // A changed fan limit moves rows in or out of a ranking as surely as a changed curve, and
    // changed jet data move them within one.
    for (const auto& limit : catalogue.FanLimits) digest.Mix(limit ? Exact(*limit) : "-");
    for (const TFanJetData& jet : catalogue.FanJet) {
        for (const auto& value : {jet.SweptArea, jet.StaticEfficiency}) {
            digest.Mix(value ? Exact(*value) : "-");
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
    out << kMagic << '\n'
        << "shard\t" << shard.shard << '\t' << shard.shards << '\n'
        << "search\t" << static_cast<int>(shard.key) << '\t' << Exact(shard.target) << '\t'
        << shard.top << '\t' << shard.fingerprint << '\t' << shard.catalogue << '\n'
        << "pareto\t" << (shard.pareto ? 1 : 0) << '\n'
        << "flight\t" << Exact(shard.flight.throttle) << '\t' << Exact(shard.flight.fullShare)
        << '\t' << Exact(shard.flight.usable) << '\t'
        << (shard.flight.modelWeight ? Exact(*shard.flight.modelWeight) : "-") << '\n'
        << "combinations\t" << result.combinations << '\n'
        << "seconds\t" << Exact(shard.seconds) << '\n'
        << "partial\t" << (result.partial ? 1 : 0) << '\n'
        << "counts";
    for (const auto count : kExploreCounts) out << '\t' << result.counts.*count;
    out << '\n';
    for (const std::string& note : result.notes) out << "note\t" << note << '\n';
    for (const ExploreRow& row : result.rows) {
        out << "row\t" << row.motor << '\t' << row.battery << '\t' << row.fan << '\t' << row.serie
            << '\t' << row.parallel << '\t' << row.steps;
        for (const auto value : kResultValues) out << '\t' << Exact(row.result.*value);
        for (const auto value : kRowValues) out << '\t' << Exact(row.*value);
        out << '\n';
    }
    out << "end\n";
}

ExploreShard ReadExploreShard(std::istream& in, const std::string& source) {
    const Parser parse(source);
    ExploreShard shard;
    ExploreResult& result = shard.result;
    std::string line;
    if (!parse.ReadLine(in, line) || line != kMagic)
        parse.Fail("its first line is not \"" + std::string(kMagic) + "\"");
    bool ended = false;
    while (!ended && parse.ReadLine(in, line)) {
        const std::vector<std::string> f = Fields(line);
        const auto need = [&](std::size_t count) {
            if (f.size() != count) parse.Fail("a \"" + f[0] + "\" line has the wrong fields");
        };
        if (f[0] == "shard") {
            need(3);
            shard.shards = static_cast<int>(parse.Integer(f[2], 1, kMaxShards));
            shard.shard = static_cast<int>(parse.Integer(f[1], 1, shard.shards));
        } else if (f[0] == "search") {
            need(6);
            shard.key = static_cast<ExploreKey>(
                parse.Integer(f[1], 0, static_cast<long long>(kLastExploreKey)));
            shard.target = parse.Number(f[2]);
            shard.top = static_cast<std::size_t>(parse.Integer(f[3], 1, kMaxTop));
            shard.fingerprint = f[4];
            shard.catalogue = f[5];
        } else if (f[0] == "pareto") {
            need(2);
            shard.pareto = parse.Integer(f[1], 0, 1) != 0;
        } else if (f[0] == "flight") {
            need(5);
            shard.flight.throttle = parse.Number(f[1]);
            shard.flight.fullShare = parse.Number(f[2]);
            shard.flight.usable = parse.Number(f[3]);
            if (f[4] != "-") shard.flight.modelWeight = parse.Number(f[4]);
        } else if (f[0] == "combinations") {
            need(2);
            result.combinations = parse.Integer(f[1]);
        } else if (f[0] == "seconds") {
            need(2);
            shard.seconds = parse.Number(f[1]);
        } else if (f[0] == "partial") {
            need(2);
            result.partial = parse.Integer(f[1]) != 0;
        } else if (f[0] == "counts") {
            need(1 + std::size(kExploreCounts));
            for (std::size_t i = 0; i < std::size(kExploreCounts); ++i) {
                result.counts.*kExploreCounts[i] = parse.Integer(f[1 + i]);
            }
        } else if (f[0] == "note") {
            // The rest of the line: a note may quote a catalogue field that holds a tab.
            if (f.size() < 2) parse.Fail("a \"note\" line has the wrong fields");
            result.notes.push_back(line.substr(f[0].size() + 1));
        } else if (f[0] == "row") {
            need(7 + std::size(kResultValues) + std::size(kRowValues));
            ExploreRow row;
            row.motor = static_cast<std::size_t>(parse.Integer(f[1]));
            row.battery = static_cast<std::size_t>(parse.Integer(f[2]));
            row.fan = static_cast<int>(parse.Integer(f[3], 1, kFanCount));
            row.serie = static_cast<int>(parse.Integer(f[4], 1, kMaxSerie));
            row.parallel = static_cast<int>(parse.Integer(f[5], 1, kMaxParallel));
            row.steps = parse.Integer(f[6]);
            std::size_t at = 7;
            for (const auto value : kResultValues) row.result.*value = parse.Number(f[at++]);
            for (const auto value : kRowValues) row.*value = parse.Number(f[at++]);
            result.rows.push_back(row);
        } else if (f[0] == "end") {
            ended = true;
        } else {
            parse.Fail("unknown line \"" + f[0] + "\"");
        }
    }
    if (!ended) parse.Fail("it is cut short");
    return shard;
}

ExploreShard MergeExploreShards(const std::vector<ExploreShard>& shards, const Catalogue& catalogue,
                                char decimalSeparator) {
    if (shards.empty()) throw UsageError("--merge needs shard files");
    const ExploreShard& first = shards.front();
    std::set<int> present;
    for (const ExploreShard& s : shards) {
        if (s.shards != first.shards || s.fingerprint != first.fingerprint || s.key != first.key ||
            s.top != first.top || s.catalogue != first.catalogue) {
            throw UsageError("the shard files come from different searches");
        }
        if (!present.insert(s.shard).second) {
            throw UsageError("shard " + std::to_string(s.shard) + " is given twice");
        }
    }
    for (int k = 1; k <= first.shards; ++k) {
        if (present.count(k) == 0) {
            throw UsageError("shard " + std::to_string(k) + " of " + std::to_string(first.shards) +
                             " is missing");
        }
    }
    if (first.catalogue != CatalogueFingerprint(catalogue)) {
        throw UsageError("the shard files were made from other catalogues than --catalogues");
    }

    ExploreShard merged;
    merged.shards = 1;
    merged.key = first.key;
    merged.target = first.target;
    merged.pareto = first.pareto;
    merged.flight = first.flight;
    merged.top = first.top;
    merged.fingerprint = first.fingerprint;
    merged.catalogue = first.catalogue;
    ExploreResult& result = merged.result;
    std::set<std::string> noted;
    for (const ExploreShard& s : shards) {
        result.combinations += s.result.combinations;
        result.partial = result.partial || s.result.partial;
        merged.seconds = std::max(merged.seconds, s.seconds);
        for (const auto count : kExploreCounts) result.counts.*count += s.result.counts.*count;
        for (const std::string& note : s.result.notes) {
            // Every shard reads every cell type, so each notes the same bad battery lines.
            if (noted.insert(note).second) result.notes.push_back(note);
        }
        result.rows.insert(result.rows.end(), s.result.rows.begin(), s.result.rows.end());
    }
    for (ExploreRow& row : result.rows) {
        if (row.motor >= catalogue.MotorLines.size() ||
            row.battery >= catalogue.BatteryLines.size()) {
            throw UsageError(
                "the shard files hold a row of a motor or battery the catalogues "
                "do not have");
        }
        // Power per weight, run time and the flight figures rank by figures a shard file does not
        // keep.
        AssessRow(catalogue, row, first.flight, decimalSeparator);
    }
    // The front of all is the front of the shards' fronts: a row that another shard's row
    // dominates is dominated by a row of that shard's front.
    // A front is sorted by its first axis, so the key tells which axes the shards' run chose.
    if (merged.pareto) {
        const ParetoAxes axes{merged.key == ExploreKey::Thrust,
                              merged.flight.modelWeight.has_value()};
        result.rows = ParetoFilter(result.rows, axes);
    }
    // Each shard kept its best `top`, so the best `top` of all are among them.
    std::sort(result.rows.begin(), result.rows.end(),
              [&merged](const ExploreRow& a, const ExploreRow& b) {
                  return RanksBefore(a, b, merged.key, merged.target);
              });
    if (result.rows.size() > merged.top) result.rows.resize(merged.top);
    return merged;
}

}  // namespace mfb::cli
