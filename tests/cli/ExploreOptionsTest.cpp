// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreOptions.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/Catalogue.h"
#include "cli/CatalogueDirectory.h"
#include "cli/CliOptions.h"
#include "explore/SpaceText.h"

namespace mfb::cli {
namespace {

using Args = std::vector<std::string>;

const std::string kCombos = std::string(MFB_TEST_DATA) + "/cli/combos";

const Catalogue& Combos() {
    static const Catalogue catalogue = [] {
        Catalogue c;
        std::array<TOptionSlot, kOptionCount> slots;
        LoadObserver quiet;
        LoadCatalogues(c, slots, DirectoryPlatform(kCombos, '.'), quiet);
        return c;
    }();
    return catalogue;
}

// Everything a command line decides, comparable in one go.
auto Fields(const ExploreOptions& o) {
    const ExploreRequest& r = o.request;
    return std::make_tuple(
        o.catalogueDir, o.motorPattern, o.batteryPattern, r.space.fans, r.space.series,
        r.space.parallels, r.filter.maxCurrent, r.filter.maxWeight, r.filter.minEfficiency,
        r.filter.minThrust, r.filter.minFlightTime, r.filter.minThrustToWeight, r.key, r.top,
        r.threads, r.option, r.verify, r.exhaustive, o.decimalSeparator, o.output, o.maxSeconds,
        r.shard, r.shards, o.sharded, o.mergeFiles, r.targetThrust, r.pareto, r.flight.throttle,
        r.flight.fullShare, r.flight.usable, r.flight.modelWeight);
}

TEST(ExploreOptions, AcceptedArguments) {
    struct Row {
        Args args;
        void (*change)(ExploreOptions&);  // from what no arguments give
    };
    const std::vector<Row> rows = {
        {{}, [](ExploreOptions&) {}},
        {{"--catalogues", "data", "--motor=Inrunner*", "--battery", "lipo"},
         [](ExploreOptions& o) {
             o.catalogueDir = "data";
             o.motorPattern = "Inrunner*";
             o.batteryPattern = "lipo";
         }},
        {{"--fans", "4,2,2-3", "--serie", "4-8", "--parallel=3"},
         [](ExploreOptions& o) {
             o.request.space.fans = {2, 3, 4};
             o.request.space.series = {4, 5, 6, 7, 8};
             o.request.space.parallels = {3};
         }},
        {{"--fans", "1,3-5", "--serie", "40", "--parallel", "1-10"},
         [](ExploreOptions& o) {
             o.request.space.fans = {1, 3, 4, 5};
             o.request.space.series = {40};
         }},
        {{"--serie", "8-10,4,6", "--parallel", "2,1"},
         [](ExploreOptions& o) {
             o.request.space.series = {4, 6, 8, 9, 10};
             o.request.space.parallels = {1, 2};
         }},
        {{"--max-current", "60.5", "--max-weight", "0", "--min-efficiency", "8e-1"},
         [](ExploreOptions& o) {
             o.request.filter.maxCurrent = 60.5;
             o.request.filter.maxWeight = 0.0;
             o.request.filter.minEfficiency = 0.8;
         }},
        {{"--sort", "power-per-weight", "--top", "100000", "--jobs", "3", "--option", "4",
          "--verify", "--decimal-separator", ",", "--csv"},
         [](ExploreOptions& o) {
             o.request.key = ExploreKey::PowerPerWeight;
             o.request.top = 100000;
             o.request.threads = 3;
             o.request.option = 4;
             o.request.verify = true;
             o.decimalSeparator = ',';
             o.output = ExploreOutput::Csv;
         }},
        {{"--sort=power", "--json", "--exhaustive"},
         [](ExploreOptions& o) {
             o.request.key = ExploreKey::Power;
             o.output = ExploreOutput::Json;
             o.request.exhaustive = true;
         }},
        {{"--sort", "efficiency"},
         [](ExploreOptions& o) { o.request.key = ExploreKey::Efficiency; }},
        {{"--sort", "runtime"}, [](ExploreOptions& o) { o.request.key = ExploreKey::RunTime; }},
        {{"--sort", "rpm"}, [](ExploreOptions&) {}},
        {{"--max-seconds", "2.5", "--shard", "3/4"},
         [](ExploreOptions& o) {
             o.maxSeconds = 2.5;
             o.request.shard = 3;
             o.request.shards = 4;
             o.sharded = true;
         }},
        {{"--min-thrust", "2000", "--min-flight-time=4.5", "--min-thrust-to-weight", "1",
          "--target-thrust", "2500", "--model-weight", "900", "--throttle", "70", "--full-throttle",
          "30", "--usable", "75"},
         [](ExploreOptions& o) {
             o.request.filter.minThrust = 2000;
             o.request.filter.minFlightTime = 4.5;
             o.request.filter.minThrustToWeight = 1;
             o.request.key = ExploreKey::TargetThrust;
             o.request.targetThrust = 2500;
             o.request.flight = {0.7, 0.3, 0.75, 900.0};
         }},
        {{"--pareto"},
         [](ExploreOptions& o) {
             o.request.pareto = true;
             o.request.top = kMaxTop;
         }},
        {{"--csv", "--merge", "a.txt", "b.txt"},
         [](ExploreOptions& o) {
             o.output = ExploreOutput::Csv;
             o.mergeFiles = {"a.txt", "b.txt"};
         }},
    };
    // Without arguments: everything, ranked by rpm, twenty rows, all cores.
    ExploreOptions defaults;
    defaults.request.space = {
        {}, {}, {1, 2, 3, 4, 5}, ExploreSpace::Counts(1, 40), ExploreSpace::Counts(1, 10)};
    defaults.request.key = ExploreKey::Rpm;
    defaults.request.top = 20;
    defaults.request.threads = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        ExploreOptions expected = defaults;
        row.change(expected);
        EXPECT_EQ(Fields(ParseExploreOptions(row.args)), Fields(expected));
    }
    EXPECT_EQ(ParseExploreOptions({"--top", "0", "-h"}).output, ExploreOutput::Help);
    // Without --sort the catalogue decides: the hand-made fans state no jet data.
    EXPECT_EQ(ResolveRequest(ParseExploreOptions({}), Combos(), '.').key,
              ExploreKey::PowerPerWeight);
    EXPECT_EQ(ResolveRequest(ParseExploreOptions({"--sort", "rpm"}), Combos(), '.').key,
              ExploreKey::Rpm);
}

// Each bad command line, the patterns resolved against the hand-made catalogues.
TEST(ExploreOptions, RejectedArguments) {
    struct Row {
        Args args;
        std::string message;
    };
    const std::vector<Row> rows = {
        {{"--serie", "0-3"}, "--serie must be between 1 and 40, not 0"},
        {{"--serie", "5-2"}, "--serie range 5-2 runs backwards; write 2-5"},
        {{"--serie", "4-"}, "--serie needs cell counts such as 4,6,8-10, not \"4-\""},
        {{"--serie", "-3"}, "--serie needs cell counts such as 4,6,8-10, not \"-3\""},
        {{"--parallel", "1-11"}, "--parallel must be between 1 and 10, not 11"},
        {{"--fans", "1000"}, "--fans must be between 1 and 999, not 1000"},
        {{"--fans", "1,,2"}, "--fans needs fan numbers such as 1,3-5, not \"\""},
        {{"--fans", "3-1"}, "--fans range 3-1 runs backwards; write 1-3"},
        {{"--sort", "foo"},
         "--sort must be one of rpm, power, efficiency, power-per-weight, runtime, target, thrust, "
         "thrust-to-weight, efflux, flight-time, target-thrust, not \"foo\""},
        {{"--target-thrust", "2000", "--sort", "thrust"},
         "--target-thrust ranks by closeness to it; leave out --sort or use --sort target-thrust"},
        {{"--sort", "target-thrust"}, "--sort target-thrust needs --target-thrust G"},
        {{"--pareto", "--sort", "thrust"},
         "--pareto sorts by thrust or shaft power; leave out --sort and targets"},
        {{"--pareto", "--top", "5"}, "--pareto shows the whole front; leave out --top"},
        {{"--throttle", "0"},
         "--throttle needs a number from 1 to 100 with '.' as the decimal point, not \"0\""},
        {{"--top", "0"}, "--top must be between 1 and 100000, not 0"},
        {{"--jobs", "257"}, "--jobs must be between 1 and 256, not 257"},
        {{"--option", "5"}, "--option must be between 1 and 4, not 5"},
        {{"--max-current", "-1"}, "--max-current needs a number of at least 0, not \"-1\""},
        {{"--max-weight", "1,5"},
         "--max-weight: '1,5' is not a valid floating point value: it uses ',', this system's "
         "decimal separator is '.'; `mfbcalc-cli convert` rewrites a catalogue"},
        {{"--min-efficiency", "inf"},
         "--min-efficiency: 'inf' is not a valid floating point value"},
        {{"--max-current", ""}, "--max-current: '' is not a valid floating point value"},
        {{"--top", "5", "--top=6"}, "--top is given more than once"},
        {{"--json", "--csv"}, "--csv cannot be combined with another output mode"},
        {{"--verify=yes"}, "--verify takes no value"},
        {{"--motor", ""}, "--motor needs a pattern"},
        {{"--jobs"}, "--jobs needs a value"},
        {{"--fan", "1"}, "unknown argument \"--fan\""},
        {{"--merge", "a.txt", "--bogus"}, "unknown argument \"--bogus\""},
        {{"shard.txt"}, "unknown argument \"shard.txt\""},
        {{"--shard", "5/4"}, "--shard must be between 1 and 4, not 5"},
        {{"--shard", "2"}, "--shard needs K/N such as 2/4, not \"2\""},
        {{"--shard", "1/2", "--merge", "a"}, "--shard and --merge cannot be combined"},
        {{"--shard", "1/2", "--json"},
         "--shard writes its own format and takes no other output mode"},
        {{"--max-seconds", "soon"}, "--max-seconds: 'soon' is not a valid floating point value"},
        {{"--motor", "X"}, "--motor \"X\" matches no motor"},
        {{"--battery", "*Big"}, "--battery \"*Big\" matches no battery"},
        {{"--battery", "big?"}, "--battery \"big?\" matches no battery"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        try {
            ResolveRequest(ParseExploreOptions(row.args), Combos(), '.');
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), row.message);
        }
    }
}

TEST(ExploreOptions, PatternMatching) {
    struct Row {
        std::string entry;
        std::string pattern;
        bool matches;
    };
    const std::vector<Row> rows = {
        {"LiPo 5000 40C       pouch cell   ", "lipo", true},
        {"LiPo 5000 40C       pouch cell   ", "pouch", false},
        {"LiPo 5000 40C       pouch cell   ", "*pouch*", true},
        {"LiPo 5000 40C       pouch cell   ", "*CELL", true},
        {"LiPo 5000 40C       pouch cell   ", "*cell ", false},
        {"LiPo 5000 40C       pouch cell   ", "lipo ?000*", true},
        {"LiPo 5000 40C       pouch cell   ", "lipo ?00 *", false},
        {"LiPo 5000 40C       pouch cell   ", "lipo ????0 40C*", false},
        {"LiPo 5000 40C       pouch cell   ", "*5000*40c*", true},
        {"LiPo 5000 40C       pouch cell   ", "*0*0*0*0*0*", false},
        {"LiPo 5000 40C       pouch cell   ", "*0*0*0*0*", true},
        {"LiPo 5000 40C       pouch cell", "LiPo 5000 40C       pouch cell", true},
        {"LiPo 5000 40C       pouch cell", "LiPo 5000 40C       pouch cell ", false},
        {"abab", "*ab", true},
        {"aab", "*a?b", true},
        {"ab", "?", false},
        {"", "*", true},
        {"", "?", false},
        {"Inrunner", "", true},
        // Latin-1 capitals fold too, as in the lists' order; the multiplication sign is no letter.
        {"\xC9mile 900", "\xC9MILE", true},
        {"\xC9mile 900", "\xE9mile", true},
        {"2\xD7"
         "3 mm",
         "2\xF7", false},
        {"\xC9mile 900", "?mile*", true},  // one byte a character, as Latin-1 has it
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("\"" + row.entry + "\" against \"" + row.pattern + "\"");
        EXPECT_EQ(MatchesPattern(row.entry, row.pattern), row.matches);
    }
}

}  // namespace
}  // namespace mfb::cli
