// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreCommand.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ExploreReport.h"
#include "cli/Program.h"
#include "explore/ShardFile.h"
#include "json/JsonReader.h"
#include "json/JsonWriter.h"

namespace mfb::cli {
namespace {

using Args = std::vector<std::string>;
using CsvRow = std::vector<std::string>;

const std::string kSample = MFB_SAMPLE_DATA;
const std::string kCombos = std::string(MFB_TEST_DATA) + "/cli/combos";

struct Output {
    int status;
    std::string out;
    std::string err;
};

Args With(Args args, const Args& extra) {
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

Output RunCommand(const Args& args, char localeSeparator = '.') {
    std::ostringstream out, err;
    const int status = RunProgram(args, out, err, localeSeparator);
    return {status, out.str(), err.str()};
}

Args Explore(const Args& args, const Args& extra = {}) {
    return With(With({"explore"}, args), extra);
}

std::vector<std::string> Split(const std::string& text, bool words) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string s; words ? bool(in >> s) : bool(std::getline(in, s));) parts.push_back(s);
    return parts;
}

// No name in the test catalogues needs quoting; ExploreTable.CsvFieldQuotesOnlyWhatItMust covers
// that.
CsvRow CsvFields(const std::string& line) {
    CsvRow fields(1);
    for (const char c : line) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

const CsvRow kHeader = CsvFields(
    "rank,motor,battery,fan,serie,parallel,rpm,shaft_power,efficiency,current,pin_motor,u_motor,"
    "pack_weight,power_per_weight,run_time,thrust,efflux,part_current,flight_time,thrust_to_weight,"
    "steps,c_rate,motor_current_limit,motor_current_margin,"
    "motor_power_limit,motor_power_margin,cell_rate_limit,cell_rate_margin,fan_rpm_limit,"
    "fan_rpm_margin");

std::vector<CsvRow> CsvRows(const Args& args) {
    const Output o = RunCommand(Explore(args, {"--csv"}));
    EXPECT_EQ(o.status, 0) << o.err;
    std::vector<CsvRow> rows;
    for (const std::string& line : Split(o.out, false)) rows.push_back(CsvFields(line));
    EXPECT_EQ(rows.at(0), kHeader);
    rows.erase(rows.begin());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].size(), kHeader.size());
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
    }
    return rows;
}

double Value(const CsvRow& row, const std::string& key) {
    const std::string& text =
        row.at(std::find(kHeader.begin(), kHeader.end(), key) - kHeader.begin());
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(ec == std::errc() && ptr == text.data() + text.size()) << key << " " << text;
    return value;
}

// Motor, battery, fan, serie and parallel.
std::vector<CsvRow> Combinations(const std::vector<CsvRow>& rows) {
    std::vector<CsvRow> keys;
    for (const CsvRow& row : rows) keys.emplace_back(row.begin() + 1, row.begin() + 6);
    return keys;
}

// Catalogue names are Latin-1, the JSON reader's strings UTF-8.
std::string Utf8(const std::string& latin1) {
    return ParseJson(JsonString(latin1)).String();
}

std::string Trimmed(const std::string& name) {
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

const Args kComboSpace = {"--catalogues", kCombos, "--serie", "1-4",
                          "--parallel",   "1-2",   "--top",   "100000"};
const Args kSampleSpace = {"--catalogues", kSample,      "--motor", "Inrunner 28*",
                           "--battery",    "LiPo ?000*", "--serie", "4-6",
                           "--parallel",   "1-2",        "--top",   "100000"};

// Every ranked row shows what the single mode calculates for its combination: the same values,
// the same texts, the same number of sweep steps; the table and the JSON hold the CSV's rows.
TEST(ExploreCommand, RowsAgreeWithTheSingleModeInEveryOutput) {
    const Args spaces[] = {
        With(kComboSpace, {"--verify"}),
        {"--catalogues", kCombos, "--serie", "2-5", "--parallel", "2", "--option", "3", "--jobs",
         "1", "--top", "100000"},
        {"--catalogues", kSample, "--motor", "*28?5-*", "--battery", "LiPo 5*", "--serie", "4-5",
         "--parallel", "1-2", "--top", "100000"},
        {"--catalogues", kSample, "--fans", "2,5", "--serie", "3", "--parallel", "1-4", "--sort",
         "power", "--top", "15"},
        // A fan of the library, by its name, beside one of the blocks.
        {"--catalogues", kSample, "--fans", "3,Fan 80 mm", "--battery", "LiPo 4*", "--serie", "6-7",
         "--parallel", "1", "--top", "12", "--verify"},
    };
    // The single mode's labels in the order of the table's first seven value columns.
    const char* const labels[] = {"Rpm",       "Pout Motor", "Efficiency", "Current",
                                  "Pin Motor", "U Motor",    "Weight"};
    for (const Args& space : spaces) {
        SCOPED_TRACE(::testing::PrintToString(space));
        const std::vector<CsvRow> rows = CsvRows(space);
        const Output text = RunCommand(Explore(space));
        // The hand-made catalogues hold no decimal separator, so they also read under a comma.
        const bool commaReads = space[1] == kCombos;
        const Output comma = RunCommand(Explore(space), commaReads ? ',' : '.');
        const Output json = RunCommand(Explore(space, {"--json"}));
        ASSERT_FALSE(rows.empty());
        ASSERT_EQ(text.status, 0);
        const auto lines = Split(text.out, false);
        const auto commaLines = Split(comma.out, false);
        // The header, the rows, a blank line and the summary.
        ASSERT_EQ(lines.size(), rows.size() + 3);
        ASSERT_EQ(commaLines.size(), lines.size());
        const JsonValue v = ParseJson(json.out);
        const auto& jsonRows = *std::get<std::shared_ptr<JsonArray>>(v["rows"].data);
        ASSERT_EQ(jsonRows.size(), rows.size());

        for (std::size_t i = 0; i < rows.size(); ++i) {
            const CsvRow& row = rows[i];
            SCOPED_TRACE(lines[i + 1]);
            Args single = {"--catalogues", space[1], "--motor", row[1],    "--battery",
                           row[2],         "--fan",  row[3],    "--serie", row[4],
                           "--parallel",   row[5],   "--json"};
            if (const auto at = std::find(space.begin(), space.end(), "--option");
                at != space.end())
                single.insert(single.end(), {"--option", at[1]});
            const Output o = RunCommand(single);
            ASSERT_EQ(o.status, 0) << o.err;
            const JsonValue s = ParseJson(o.out);
            // Selected by the start of the entry: it must be the row's own line.
            ASSERT_EQ(Trimmed(s["names"]["motor"].String()), Utf8(row[1]));
            ASSERT_EQ(Trimmed(s["names"]["battery"].String()), Utf8(row[2]));

            EXPECT_EQ(Value(row, "rpm"), s["result"]["RpmMotor"].Number());
            EXPECT_EQ(Value(row, "efficiency"), s["result"]["Efficiency"].Number());
            EXPECT_EQ(Value(row, "current"), s["result"]["Current"].Number());
            EXPECT_EQ(Value(row, "pin_motor"), s["result"]["PinMotor"].Number());
            EXPECT_EQ(Value(row, "u_motor"), s["result"]["UMotor"].Number());
            EXPECT_EQ(Value(row, "pack_weight"), s["pack"]["PackWeight"].Number());
            EXPECT_EQ(Value(row, "steps"), s["steps"].Number());

            // The table from the right: S, P, then fourteen values led by the seven labels (a
            // flight figure not known is a dash), the C-rate and, where the catalogues state
            // limits, the least margin.
            const auto words = Split(lines[i + 1], true);
            const std::size_t values = lines[0].find("Margin %") == std::string::npos ? 15 : 16;
            ASSERT_GE(words.size(), values + 3);
            const std::size_t first = words.size() - values;
            EXPECT_EQ(words.front(), row[0]);
            EXPECT_EQ(words[first - 2], row[4]);
            EXPECT_EQ(words[first - 1], row[5]);
            for (std::size_t k = 0; k < std::size(labels); ++k) {
                EXPECT_EQ(words[first + k], s["labels"][labels[k]].String()) << labels[k];
            }
            std::string withComma = lines[i + 1];
            if (commaReads) std::replace(withComma.begin(), withComma.end(), '.', ',');
            EXPECT_EQ(commaLines[i + 1], withComma);
            EXPECT_EQ(lines[i + 1].size(), lines[0].size()) << "columns not aligned";

            for (std::size_t k = 0; k < kHeader.size(); ++k) {
                const std::string& key = kHeader[k];
                // The limit columns are the JSON's "limits", blank where a row has none.
                const auto under = key.rfind('_');
                const std::string suffix = under == std::string::npos ? "" : key.substr(under);
                if (suffix == "_limit" || suffix == "_margin") {
                    const JsonValue& limits = jsonRows[i]["limits"];
                    const std::string kind = key.substr(0, under);
                    EXPECT_EQ(row[k].empty(), !limits.Has(kind)) << key;
                    if (!row[k].empty()) {
                        EXPECT_EQ(limits[kind][key.substr(under + 1)].Number(), Value(row, key));
                    }
                    continue;
                }
                const JsonValue& field = jsonRows[i][key];
                if (k == 1 || k == 2) {
                    EXPECT_EQ(field.String(), Utf8(row[k]));
                } else if (row[k].empty()) {
                    EXPECT_TRUE(field.IsNull()) << key;  // a flight figure not known
                } else {
                    EXPECT_EQ(field.Number(), Value(row, key)) << key;
                }
            }
        }
        // The summary counts every combination once.
        const std::string& summary = lines.back();
        long long counted = 0;
        // Each count leads its part; the words after it may hold numbers of their own.
        std::string parts = summary.substr(summary.find(':') + 1);
        for (std::size_t at = 0; at != std::string::npos;) {
            counted += std::stoll(parts.substr(at));
            at = parts.find(", ", at);
            if (at != std::string::npos) at += 2;
        }
        EXPECT_EQ(summary.rfind(std::to_string(counted) + " combinations in ", 0), 0u) << summary;
        EXPECT_EQ(counted, static_cast<long long>(v["combinations"].Number()));
    }
}

// Each option keeps exactly the rows of the unrestricted ranking that it describes, in order.
TEST(ExploreCommand, FiltersAndRangesRestrictAsTheySay) {
    const auto starts = [](const std::string& text, const std::string& start) {
        return text.rfind(start, 0) == 0;
    };
    const std::vector<std::pair<Args, std::function<bool(const CsvRow&)>>> cases = {
        {{"--motor", "inrunner 28"}, [&](const CsvRow& r) { return starts(r[1], "Inrunner 28"); }},
        {{"--motor", "*-3?00 *"},
         [](const CsvRow& r) {
             const std::string tail = r[1].substr(r[1].size() - 5);
             return tail.substr(0, 2) == "-3" && tail.substr(3) == "00";
         }},
        {{"--battery", "LiPo 5000*"}, [&](const CsvRow& r) { return starts(r[2], "LiPo 5000"); }},
        {{"--battery", "nimh"}, [&](const CsvRow& r) { return starts(r[2], "NiMH"); }},
        {{"--fans", "1,3"}, [](const CsvRow& r) { return r[3] == "1" || r[3] == "3"; }},
        {{"--serie", "5-6"}, [](const CsvRow& r) { return r[4] != "4"; }},
        {{"--parallel", "2"}, [](const CsvRow& r) { return r[5] == "2"; }},
        {{"--max-current", "40"}, [](const CsvRow& r) { return Value(r, "current") <= 40; }},
        {{"--max-weight", "500"}, [](const CsvRow& r) { return Value(r, "pack_weight") <= 500; }},
        {{"--min-efficiency", "0.9"},
         [](const CsvRow& r) { return Value(r, "efficiency") >= 0.9; }},
    };
    // Every motor and battery, so that any pattern narrows the space.
    const Args space = {"--catalogues", kSample,      "--fans", "1-3",   "--serie",
                        "4-6",          "--parallel", "1-2",    "--top", "100000"};
    const std::vector<CsvRow> all = CsvRows(space);
    for (const auto& [option, keeps] : cases) {
        SCOPED_TRACE(::testing::PrintToString(option));
        Args args = space;
        if (const auto at = std::find(args.begin(), args.end(), option[0]); at != args.end()) {
            args.erase(at, at + 2);
        }
        args.insert(args.end(), option.begin(), option.end());
        std::vector<CsvRow> expected;
        std::copy_if(all.begin(), all.end(), std::back_inserter(expected), keeps);
        // A case that keeps all or nothing would prove little.
        ASSERT_FALSE(expected.empty());
        ASSERT_LT(expected.size(), all.size());
        EXPECT_EQ(Combinations(CsvRows(args)), Combinations(expected));
    }
}

TEST(ExploreCommand, SortOrdersTheSameRowsByItsKey) {
    const std::pair<const char*, const char*> keys[] = {{"rpm", "rpm"},
                                                        {"power", "shaft_power"},
                                                        {"efficiency", "efficiency"},
                                                        {"power-per-weight", "power_per_weight"},
                                                        {"runtime", "run_time"}};
    auto ranked = Combinations(CsvRows(kSampleSpace));
    std::sort(ranked.begin(), ranked.end());
    for (const auto& [sort, key] : keys) {
        SCOPED_TRACE(sort);
        const std::vector<CsvRow> rows = CsvRows(With(kSampleSpace, {"--sort", sort}));
        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_GE(Value(rows[i - 1], key), Value(rows[i], key)) << "row " << i + 1;
        }
        auto same = Combinations(rows);
        std::sort(same.begin(), same.end());
        EXPECT_EQ(same, ranked);
        // --top cuts the same ranking short.
        Args top = With(kSampleSpace, {"--sort", sort});
        std::find(top.begin(), top.end(), "--top")[1] = std::to_string(7);
        auto first = Combinations(rows);
        first.resize(7);
        EXPECT_EQ(Combinations(CsvRows(top)), first);
    }
}

// The shard files of `search` split `shards` ways, in a directory of this process's own: the
// arguments that merge them.
Args ShardFiles(const Args& search, int shards) {
    Args merge = {"--merge"};
    for (int k = 1; k <= shards; ++k) {
        const Output o = RunCommand(
            Explore(search, {"--shard", std::to_string(k) + "/" + std::to_string(shards)}));
        EXPECT_EQ(o.status, 0) << o.err;
        merge.push_back(::testing::TempDir() + "mfbcalc-explore-" + std::to_string(::getpid()) +
                        "-" + std::to_string(k) + ".txt");
        std::ofstream(merge.back()) << o.out;
    }
    return merge;
}

// A fresh copy of the hand-made catalogues, for a test that changes them.
std::filesystem::path CombosCopy(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                      ("mfbcalc-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::copy(kCombos, dir);
    return dir;
}

// Every key ranks merged shards as one run does, those whose figures a shard file does not keep
// included, and --top cuts them alike; the shards' fronts merge into the front of one run.
TEST(ExploreCommand, MergedShardsRankAsOneRunByEveryKey) {
    const Args keys[] = {{"--sort", "efficiency"},
                         {"--sort", "power-per-weight"},
                         {"--sort", "runtime"},
                         {"--target-power", "400"},
                         {"--sort", "flight-time", "--model-weight", "900", "--throttle", "70"},
                         {"--target-thrust", "1500"},
                         {"--pareto", "--model-weight", "900"}};
    for (const Args& key : keys) {
        SCOPED_TRACE(key[0]);
        Args search = With(kSampleSpace, key);
        const auto top = std::find(search.begin(), search.end(), "--top");
        if (key[0] == "--pareto") {
            search.erase(top, top + 2);
        } else {
            top[1] = "6";
        }
        const Args merge = ShardFiles(search, 3);
        const Output merged = RunCommand(Explore({"--catalogues", kSample, "--csv"}, merge));
        EXPECT_EQ(merged.status, 0) << merged.err;
        EXPECT_EQ(merged.out, RunCommand(Explore(search, {"--csv"})).out);
        for (std::size_t i = 1; i < merge.size(); ++i) std::filesystem::remove(merge[i]);
    }
}

// Shards that calculated every combination pass --verify, whose run of their shares settles some
// by bounds: of the counts, those a bound decides differ from run to run, the rows never.
TEST(ExploreCommand, AVerifiedMergeAllowsForCombinationsSettledByBounds) {
    Args search = With(kSampleSpace, {"--sort", "power"});
    std::find(search.begin(), search.end(), "--top")[1] = "3";
    const Args merge = ShardFiles(With(search, {"--exhaustive"}), 2);
    const Output verified = RunCommand(Explore({"--catalogues", kSample, "--verify"}, merge));
    EXPECT_EQ(verified.status, 0) << verified.err;
    for (std::size_t i = 1; i < merge.size(); ++i) std::filesystem::remove(merge[i]);
}

// A note that quotes a field holding a tab, the field separator of a shard file, comes through
// the merge whole, once.
TEST(ExploreCommand, MergeKeepsTheShardsNotes) {
    namespace fs = std::filesystem;
    const fs::path dir = CombosCopy("tab");
    std::string motors;
    {
        std::ifstream in(dir / "motor.txt", std::ios::binary);
        motors.assign(std::istreambuf_iterator<char>(in), {});
    }
    motors.replace(motors.find("12x4"), 4, "12\t4");
    std::ofstream(dir / "motor.txt", std::ios::binary | std::ios::trunc) << motors;

    const Args search = {"--catalogues", dir.string(), "--serie", "1", "--parallel", "1"};
    const Output one = RunCommand(Explore(search));
    const Args merge = ShardFiles(search, 2);
    const Output merged = RunCommand(Explore({"--catalogues", dir.string()}, merge));
    EXPECT_EQ(merged.status, 0) << merged.err;
    EXPECT_NE(one.err.find("'12\t4'"), std::string::npos) << one.err;
    // The shards meet the left-out lines in another order.
    const auto sorted = [](const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(sorted(merged.err), sorted(one.err));
    for (std::size_t i = 1; i < merge.size(); ++i) fs::remove(merge[i]);
    fs::remove_all(dir);
}

// A damaged shard file, one from a machine at fault (its digest right, a row or count wrong), or
// catalogues changed since the shards ran: each is refused, naming the file and, where the damage
// is in one line, the line. Never a crash, nor a ranking no run gives.
TEST(ExploreCommand, MergeRefusesShardsThatDoNotFit) {
    namespace fs = std::filesystem;
    const fs::path changed = CombosCopy("limits");
    std::ofstream(changed / "fan.txt", std::ios::app) << "max rpm fan 1: 1000\n";

    Args search = With(kComboSpace, {"--sort", "rpm"});
    std::find(search.begin(), search.end(), "--top")[1] = "3";
    const Args merge = ShardFiles(search, 2);
    std::ifstream in(merge[1]);
    const std::string first(std::istreambuf_iterator<char>(in), {});
    // The best row: motor 1 ("alpha 2000"), battery 3, fan 1, and the file's lines from it on.
    const std::string row = "\nrow\t1\t3\t1\t";
    ASSERT_NE(first.find(row), std::string::npos) << first;
    const auto line = [&](long offset) {
        const auto before = std::count(first.begin(), first.begin() + first.find(row), '\n');
        return "line " + std::to_string(before + 2 + offset);
    };
    const auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = first;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    // Written afresh after the change, with a digest that matches it.
    const auto rewritten = [&](const std::function<void(ExploreShard&)>& change) {
        std::istringstream text(first);
        ExploreShard shard = ReadExploreShard(text, "shard");
        change(shard);
        std::ostringstream out;
        WriteExploreShard(shard, out);
        return out.str();
    };
    const struct {
        const char* what;
        std::string shard;
        std::string catalogues;
        std::string err;
    } cases[] = {
        {"a value edited", edited("\t0x", "\t0x1"), kCombos, "do not match its digest"},
        {"a battery index edited", edited(row, "\nrow\t1\t2\t1\t"), kCombos,
         "do not match its digest"},
        {"fan 1000", edited(row, "\nrow\t1\t3\t1000\t"), kCombos,
         "(" + line(0) + "): \"1000\" is not from 1 to 999"},
        {"cut short", first.substr(0, first.find("\nend")), kCombos, "it is cut short"},
        {"a line that never ends", std::string(std::size_t{3} << 20, 'x'), kCombos,
         "a line is longer than 1 MiB"},
        {"a wrong rpm", rewritten([](ExploreShard& s) { s.result.rows[0].result.RpmMotor *= 2; }),
         kCombos, line(0) + " holds a row its search does not give: (alpha 2000"},
        {"not a number",
         rewritten([](ExploreShard& s) { s.result.rows[0].result.Current = std::nan(""); }),
         kCombos, "(" + line(0) + "): \"nan\" is not a finite number"},
        {"another battery's row", rewritten([](ExploreShard& s) { s.result.rows[0].battery = 1; }),
         kCombos, line(0) + " holds a row its search does not give"},
        {"a row twice", rewritten([](ExploreShard& s) { s.result.rows[1] = s.result.rows[0]; }),
         kCombos, "(" + line(1) + "): a combination's second row"},
        {"a row left out", rewritten([](ExploreShard& s) { s.result.rows.pop_back(); }), kCombos,
         "it holds 2 rows where its counts promise 3"},
        {"counts that do not add up",
         rewritten([](ExploreShard& s) { s.result.counts.ranked += 1; }), kCombos,
         "its counts do not add up"},
        {"a row of the other shard", rewritten([](ExploreShard& s) { s.result.rows[0].fan = 2; }),
         kCombos, "(" + line(0) + "): a row of a combination outside its share"},
        {"a search not its own", rewritten([](ExploreShard& s) { s.request.ignoreLimits = true; }),
         kCombos, "its search does not match its fingerprint"},
        {"a fan limit added since", first, changed.string(), "made from other catalogues"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(merge[1], std::ios::binary | std::ios::trunc) << c.shard;
        const Output o = RunCommand(Explore({"--catalogues", c.catalogues}, merge));
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
    }

    // The best row swapped for the share's fourth, right in itself: only running the share again
    // tells that a row was left out.
    Args deeper = search;
    std::find(deeper.begin(), deeper.end(), "--top")[1] = "4";
    std::istringstream fourRows(RunCommand(Explore(deeper, {"--shard", "1/2"})).out);
    const ExploreRow fourth = ReadExploreShard(fourRows, "deeper").result.rows.at(3);
    std::ofstream(merge[1], std::ios::binary | std::ios::trunc) << rewritten([&](ExploreShard& s) {
        s.result.rows.erase(s.result.rows.begin());
        s.result.rows.push_back(fourth);
    });
    EXPECT_EQ(RunCommand(Explore({"--catalogues", kCombos}, merge)).status, 0);
    const Output verified = RunCommand(Explore({"--catalogues", kCombos, "--verify"}, merge));
    EXPECT_EQ(verified.status, 2);
    EXPECT_NE(verified.err.find("\"" + merge[1] +
                                "\" is not what its share of the search gives: its row 1"),
              std::string::npos)
        << verified.err;
    for (std::size_t i = 1; i < merge.size(); ++i) fs::remove(merge[i]);
    fs::remove_all(changed);
}

// A merge ranks as its shards did: what would change the search is refused, not ignored.
TEST(ExploreCommand, MergeRefusesWhatItCannotHonour) {
    for (const Args& option : {Args{"--top", "3"}, Args{"--sort", "power"}, Args{"--motor", "a"},
                               Args{"--max-current", "10"}, Args{"--ignore-limits"}}) {
        const Output o = RunCommand(Explore({"--merge", "shard.txt"}, option));
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find(option[0] + " cannot be combined with --merge"), std::string::npos)
            << o.err;
    }
}

TEST(ExploreCommand, ExitStatusAndMessages) {
    const std::string tryHelp = "\nTry \"mfbcalc-cli explore --help\" for more information.\n";
    struct Case {
        Args args;
        int status;
        std::string err;  // the start of standard error
        std::string out;  // something standard output holds
    };
    const std::vector<Case> cases = {
        {{"--catalogues", kCombos + "/none"}, 1, "mfbcalc-cli: Cannot open file", ""},
        {{"--catalogues", kCombos, "--motor", "zzz"},
         2,
         "mfbcalc-cli: --motor \"zzz\" matches no motor" + tryHelp,
         ""},
        {{"--serie", "5-2"},
         2,
         "mfbcalc-cli: --serie range 5-2 runs backwards; write 2-5" + tryHelp,
         ""},
        {{"--catalogues", kCombos, "--serie", "1", "--parallel", "1"},
         0,
         "mfbcalc-cli: warning: motor \"charlie bad kv",
         "Stiff 6V"},
        // Nothing within the budget: the summary alone.
        {{"--catalogues", kSample, "--serie", "1", "--parallel", "1", "--max-current", "0"},
         0,
         "",
         ": 0 ranked"},
        {{"--help"}, 0, "", "Usage: mfbcalc-cli explore"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Output o = RunCommand(Explore(c.args));
        EXPECT_EQ(o.status, c.status);
        EXPECT_TRUE(c.err.empty() ? o.err.empty() : o.err.rfind(c.err, 0) == 0) << o.err;
        EXPECT_EQ(o.out.empty(), c.out.empty());
        EXPECT_NE(o.out.find(c.out), std::string::npos);
    }
    EXPECT_EQ(Split(RunCommand(Explore(cases[4].args)).out, false).size(), 1u);
}

}  // namespace
}  // namespace mfb::cli
