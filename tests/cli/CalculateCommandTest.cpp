// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "cli/CapturedColumn.h"
#include "cli/CatalogueDirectory.h"
#include "cli/CliChart.h"
#include "json/JsonReader.h"
#include "model/ColumnRows.h"
#include "model/Sweep.h"

namespace mfb::cli {
namespace {

namespace fs = std::filesystem;

const std::string kCombos = std::string(MFB_TEST_DATA) + "/cli/combos";

struct Output {
    int status;
    std::string out;
    std::string err;
};

Output RunCommand(std::vector<std::string> args, char localeSeparator = '.') {
    std::ostringstream out, err;
    const int status = RunProgram(args, out, err, localeSeparator);
    return {status, out.str(), err.str()};
}

// The hand-made catalogues, unless the arguments name others.
std::vector<std::string> Combo(std::vector<std::string> args) {
    if (std::find(args.begin(), args.end(), "--catalogues") == args.end()) {
        args.insert(args.begin(), {"--catalogues", kCombos});
    }
    return args;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::set<std::string> Keys(const JsonValue& object) {
    std::set<std::string> keys;
    for (const auto& [key, value] : object.Object()) keys.insert(key);
    return keys;
}

const std::set<std::string> kAllLabels = {"Weight",    "U Battery",  "U Motor",
                                          "R Total",   "Current",    "Rpm",
                                          "Pin Motor", "Pout Motor", "Efficiency"};
const std::set<std::string> kPackLabels = {"Weight", "U Battery", "R Total"};

// The hand-made catalogues reach every end of a Calculate: a fan that overtakes the motor, one
// that never does, one already 2500 rpm ahead at 75 W, and two whose curves overflow. Two sample
// combinations add the motor that meets its fan only after it has stalled.
struct OutcomeRow {
    std::string name;
    std::vector<std::string> args;
    int status;
    std::string outcome;
    std::string message;
    std::optional<long long> failedStep;  // null in the JSON unless not possible
    std::optional<long long> steps;       // nullopt: some steps, how many is not the point
    std::set<std::string> labels;
};

const std::vector<OutcomeRow>& OutcomeRows() {
    static const std::vector<OutcomeRow> rows = {
        {"calculated",
         {"--motor", "Alpha", "--battery", "Big"},
         0,
         "calculated",
         "",
         {},
         std::nullopt,
         kAllLabels},
        {"stop test true at the start power",
         {"--motor", "Alpha", "--battery", "Big", "--fan", "3"},
         3,
         "motor_too_slow",
         "Combination not possible\nmotor too slow for this fan already at 75 W",
         {},
         0,
         kPackLabels},
        {"turning backwards where it meets the fan",
         {"--catalogues", MFB_SAMPLE_DATA, "--motor", "Inrunner 2230-4500", "--battery",
          "LiPo 5000 40C", "--serie", "3", "--fan", "5", "--decimal-separator", "."},
         3,
         "motor_stalls",
         "Combination not possible\nmotor stalls before the fan absorbs its power",
         {},
         std::nullopt,
         kPackLabels},
        {"turning, but its shaft power crossed 0 before it meets the fan",
         {"--catalogues", MFB_SAMPLE_DATA, "--motor", "Inrunner 2230-4500", "--battery",
          "NiMH 2/3A 1100", "--serie", "3", "--fan", "4", "--decimal-separator", "."},
         3,
         "motor_stalls",
         "Combination not possible\nmotor stalls before the fan absorbs its power",
         {},
         std::nullopt,
         kPackLabels},
        {"not possible at the start power",
         {"--motor", "Alpha", "--battery", "Weak", "--serie", "1", "--fan", "2"},
         3,
         "not_possible",
         "Combination not possible",
         0,
         0,
         {}},
        {"not possible at a step",
         {"--motor", "Alpha", "--battery", "Limit", "--serie", "1", "--fan", "2"},
         3,
         "not_possible",
         "Combination not possible",
         67,
         66,
         kPackLabels},
        {"overflow at the start power",
         {"--motor", "Alpha", "--battery", "Big", "--fan", "4"},
         1,
         "fault",
         "Floating point overflow",
         {},
         0,
         {}},
        {"overflow mid-sweep",
         {"--motor", "Alpha", "--battery", "Big", "--fan", "5"},
         1,
         "fault",
         "Floating point overflow",
         {},
         std::nullopt,
         kPackLabels},
        {"no battery chosen", {"--motor", "Alpha"}, 2, "not_run", "", {}, 0, {}},
    };
    return rows;
}

TEST(CalculateCommand, JsonOfEveryOutcome) {
    for (const OutcomeRow& row : OutcomeRows()) {
        SCOPED_TRACE(row.name);
        auto args = Combo(row.args);
        args.push_back("--json");
        const Output o = RunCommand(args);
        EXPECT_EQ(o.status, row.status);
        const JsonValue json = ParseJson(o.out);
        EXPECT_EQ(Keys(json),
                  (std::set<std::string>{"outcome", "message", "failed_step", "steps", "names",
                                         "labels", "pack", "result", "axes", "title", "derived",
                                         "limits", "flight", "flight_settings"}));
        EXPECT_EQ(json["outcome"].String(), row.outcome);
        EXPECT_EQ(json["message"].String(), row.message);
        if (row.failedStep) {
            EXPECT_EQ(json["failed_step"].Number(), *row.failedStep);
        } else {
            EXPECT_TRUE(json["failed_step"].IsNull());
        }
        if (row.steps) {
            EXPECT_EQ(json["steps"].Number(), *row.steps);
        } else {
            EXPECT_GT(json["steps"].Number(), 0);
        }
        EXPECT_EQ(Keys(json["labels"]), row.labels);

        // Axes and title are set only by a Calculate that reaches its end.
        const bool ended = row.outcome == "calculated";
        for (const char* axis : {"bottom", "left", "right"}) {
            EXPECT_EQ(json["axes"][axis].IsNull(), !ended) << axis;
            if (ended) {
                EXPECT_LT(json["axes"][axis]["min"].Number(), json["axes"][axis]["max"].Number());
            }
        }
        EXPECT_EQ(json["title"].IsNull(), !ended);
        // Figures and limits belong to an operating point.
        EXPECT_EQ(json["derived"].IsNull(), !ended);
        if (!ended) {
            EXPECT_TRUE(json["limits"].Object().empty());
        }

        if (row.status == 0) {
            EXPECT_EQ(o.err, "");
        } else if (row.outcome != "not_run") {
            // Every line of the message says whose it is.
            std::string expected = "mfbcalc-cli: " + row.message + "\n";
            for (std::size_t at = 0; (at = expected.find('\n', at)) + 1 < expected.size();) {
                expected.insert(at + 1, "mfbcalc-cli: ");
                ++at;
            }
            EXPECT_EQ(o.err, expected);
        } else {
            EXPECT_NE(o.err.find("choose a motor with --motor and a battery with --battery"),
                      std::string::npos);
        }
    }
}

// What the command prints is what the same Calculate, run here on the same choices, hands over.
TEST(CalculateCommand, ReportsWhatTheCoreCalculates) {
    struct Row {
        std::string name;
        std::string motor, battery;
        int fan, serie, parallel, option;
    };
    const std::vector<Row> rows = {
        {"defaults", "Alpha 1000", "Big 4V", 1, 10, 1, 1},
        {"every input changed", "alpha 2000", "Big 4V", 1, 12, 2, 3},
        {"fault mid-sweep", "Alpha 1000", "Big 4V", 5, 10, 1, 2},
        {"broken off", "bravo", "Limit", 2, 1, 1, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Catalogue catalogue;
        std::array<TOptionSlot, kOptionCount> slots;
        LoadObserver observer;
        LoadCatalogues(catalogue, slots, DirectoryPlatform(kCombos, '.'), observer);
        TOptionSlot slot;
        const auto line = [](const std::vector<std::string>& lines, const std::string& start) {
            for (const auto& l : lines)
                if (l.rfind(start, 0) == 0) return l;
            throw std::runtime_error("no line " + start);
        };
        ChooseMotor(slot, line(catalogue.MotorLines, row.motor), '.');
        ChooseBattery(slot, line(catalogue.BatteryLines, row.battery), '.');
        ChooseFan(slot, catalogue.Fans, row.fan);
        CapturedColumn view;
        CliChart chart;
        CalculateReport report;
        try {
            Calculate(slot,
                      {catalogue.Fans, catalogue.WireResistance, catalogue.CompleteFans, row.option,
                       row.serie, row.parallel, '.'},
                      view, chart, report);
        } catch (const Error&) {
        }

        const Output o = RunCommand(
            Combo({"--motor", row.motor, "--battery", row.battery, "--fan", std::to_string(row.fan),
                   "--serie", std::to_string(row.serie), "--parallel", std::to_string(row.parallel),
                   "--option", std::to_string(row.option), "--json"}));
        const JsonValue json = ParseJson(o.out);
        EXPECT_EQ(json["steps"].Number(), report.steps);
        EXPECT_EQ(json["pack"]["PackWeight"].Number(), slot.PackWeight);
        EXPECT_EQ(json["pack"]["UBattery"].Number(), slot.UBattery);
        EXPECT_EQ(json["pack"]["RTotal"].Number(), slot.RTotal);
        EXPECT_EQ(json["result"]["Current"].Number(), report.result.Current);
        EXPECT_EQ(json["result"]["RpmMotor"].Number(), report.result.RpmMotor);
        EXPECT_EQ(json["result"]["PinMotor"].Number(), report.result.PinMotor);
        EXPECT_EQ(json["result"]["Efficiency"].Number(), report.result.Efficiency);
        EXPECT_EQ(json["result"]["UMotor"].Number(), report.result.UMotor);
        const std::pair<const char*, Axis> axes[] = {
            {"bottom", Axis::Bottom}, {"left", Axis::Left}, {"right", Axis::Right}};
        for (const auto& [key, axis] : axes) {
            const auto& range = chart.Range(axis);
            ASSERT_EQ(json["axes"][key].IsNull(), !range.has_value()) << key;
            if (!range) continue;
            EXPECT_EQ(json["axes"][key]["min"].Number(), range->min) << key;
            EXPECT_EQ(json["axes"][key]["max"].Number(), range->max) << key;
        }
        for (int f = 0; f < kResultFieldCount; ++f) {
            const auto field = static_cast<ResultField>(f);
            const std::string caption(Caption(field));
            ASSERT_EQ(json["labels"].Has(caption), view.Label(field).has_value()) << caption;
            if (view.Label(field)) {
                EXPECT_EQ(json["labels"][caption].String(), *view.Label(field));
            }
        }
        EXPECT_EQ(json["names"]["fan"].String(), slot.FanName);
        EXPECT_EQ(json["names"]["motor"].String(), slot.MotorName);
        EXPECT_EQ(json["names"]["battery"].String(), slot.BatteryName);
    }
}

// The flight figures of the sample catalogues follow from the command's own operating point and
// the catalogue values by the momentum and part-throttle formulas, worked here step by step.
TEST(CalculateCommand, FlightFiguresFollowFromTheOperatingPoint) {
    const struct {
        std::size_t motor, battery;
        int serie, parallel, fan;
        std::vector<std::string> flight;
        double throttle, fullShare, usable;
        std::optional<double> modelWeight;
    } rows[] = {
        {5, 3, 6, 1, 3, {}, 0.65, 0.25, 0.8, {}},
        {9,
         2,
         6,
         2,
         4,
         {"--throttle", "50", "--full-throttle", "40", "--usable", "70", "--model-weight", "900"},
         0.5,
         0.4,
         0.7,
         900.0},
        {0, 0, 3, 1, 1, {"--throttle", "100"}, 1, 0.25, 0.8, {}},
    };
    const Catalogue catalogue = [] {
        Catalogue c;
        std::array<TOptionSlot, kOptionCount> slots;
        LoadObserver quiet;
        LoadCatalogues(c, slots, DirectoryPlatform(MFB_SAMPLE_DATA, '.'), quiet);
        return c;
    }();
    const auto near = [](double actual, double expected) {
        EXPECT_NEAR(actual, expected, std::abs(expected) * 1e-9);
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"--catalogues",
                                         MFB_SAMPLE_DATA,
                                         "--json",
                                         "--motor",
                                         std::to_string(row.motor),
                                         "--battery",
                                         std::to_string(row.battery),
                                         "--serie",
                                         std::to_string(row.serie),
                                         "--parallel",
                                         std::to_string(row.parallel),
                                         "--fan",
                                         std::to_string(row.fan)};
        args.insert(args.end(), row.flight.begin(), row.flight.end());
        SCOPED_TRACE(row.motor);
        const JsonValue json = ParseJson(RunCommand(args).out);
        TOptionSlot slot;
        ChooseMotor(slot, catalogue.MotorLines.at(row.motor), '.');
        ChooseBattery(slot, catalogue.BatteryLines.at(row.battery), '.');
        const TFanData& curve = catalogue.Fans[static_cast<std::size_t>(row.fan - 1)];
        const TFanJetData& jet = catalogue.FanJet[static_cast<std::size_t>(row.fan - 1)];
        const auto rpmAt = [&](double power) {
            const double l = std::log(power);
            return curve.a0 + curve.a1 * l + curve.a2 * l * l + curve.a3 * l * l * l +
                   curve.a4 * l * l * l * l;
        };
        const auto jetOf = [&](double power) {
            const double rhoA = 1.225 * *jet.SweptArea * 1e-4;
            const double v = std::cbrt(2 * *jet.StaticEfficiency * power / rhoA);
            return std::pair{rhoA * v * v / 9.80665 * 1000, v * 3.6};
        };
        const auto& result = json["result"];
        const auto& flight = json["flight"];
        const auto& part = flight["part_throttle"];
        const double shaft = result["PinMotor"].Number() * result["Efficiency"].Number();
        near(flight["thrust"].Number(), jetOf(shaft).first);
        near(flight["efflux"].Number(), jetOf(shaft).second);

        const double partRpm = row.throttle * rpmAt(shaft);
        near(part["fan_rpm"].Number(), partRpm);
        near(rpmAt(part["shaft_power"].Number()), partRpm);
        const double emf = partRpm / slot.Motor.Kv;
        const double motorCurrent = (part["shaft_power"].Number() + emf * slot.Motor.Io) /
                                    (emf - slot.Motor.Ri * slot.Motor.Io);
        near(part["motor_current"].Number(), motorCurrent);
        const double motorPower = (emf + slot.Motor.Ri * motorCurrent) * motorCurrent;
        const double u = json["pack"]["UBattery"].Number(), r = json["pack"]["RTotal"].Number();
        const double packCurrent = (u - std::sqrt(u * u - 4 * r * motorPower)) / (2 * r);
        near(flight["part_current"].Number(), packCurrent);
        near(flight["part_thrust"].Number(), jetOf(part["shaft_power"].Number()).first);
        near(flight["flight_time"].Number(),
             row.usable * slot.Battery.Capacity / 1000 * row.parallel /
                 (row.fullShare * result["Current"].Number() + (1 - row.fullShare) * packCurrent) *
                 60);
        EXPECT_EQ(flight["thrust_to_weight"].IsNull(), !row.modelWeight);
        if (row.modelWeight) {
            near(flight["thrust_to_weight"].Number(),
                 flight["thrust"].Number() /
                     (*row.modelWeight + json["pack"]["PackWeight"].Number()));
        }
    }
}

// The nine lines are the label texts with caption and unit, in the column's order.
TEST(CalculateCommand, TextLinesAreTheLabels) {
    const std::pair<const char*, const char*> column[] = {
        {"Weight", " g"},    {"U Battery", " V"},  {"U Motor", " V"},
        {"R Total", " Ohm"}, {"Current", " A"},    {"Rpm", " n/min"},
        {"Pin Motor", " W"}, {"Pout Motor", " W"}, {"Efficiency", ""}};
    for (const char separator : {'.', ','}) {
        for (const OutcomeRow& row : OutcomeRows()) {
            SCOPED_TRACE(row.name + " with " + separator);
            auto jsonArgs = Combo(row.args);
            jsonArgs.push_back("--json");
            const JsonValue json = ParseJson(RunCommand(jsonArgs, separator).out);
            const Output text = RunCommand(Combo(row.args), separator);
            EXPECT_EQ(text.status, row.status);
            std::vector<std::string> expected;
            for (const auto& [caption, unit] : column) {
                expected.push_back(std::string(caption) + ":");
                if (json["labels"].Has(caption)) {
                    expected.back() += " " + json["labels"][caption].String() + unit;
                }
            }
            auto lines = Lines(text.out);
            lines.resize(std::min(lines.size(), expected.size()));
            EXPECT_EQ(lines, expected);
        }
    }
}

TEST(CalculateCommand, DecimalSeparatorFromLocaleOrForced) {
    const auto labels = [](const Output& o) { return ParseJson(o.out)["labels"].Object(); };
    const auto dot = labels(RunCommand(Combo({"--motor", "0", "--battery", "Big", "--json"}), '.'));
    const auto comma =
        labels(RunCommand(Combo({"--motor", "0", "--battery", "Big", "--json"}), ','));
    const auto forced = labels(RunCommand(
        Combo({"--motor", "0", "--battery", "Big", "--json", "--decimal-separator", "."}), ','));
    for (const auto& [caption, value] : dot) {
        SCOPED_TRACE(caption);
        std::string withComma = value.String();
        ASSERT_EQ(withComma.find(','), std::string::npos);
        withComma.replace(withComma.find('.'), 1, ",");
        EXPECT_EQ(comma.at(caption).String(), withComma);
        EXPECT_EQ(forced.at(caption).String(), value.String());
    }
    // The separator also reads the catalogues: the sample motors are written with '.'.
    const Output sample =
        RunCommand({"--catalogues", MFB_SAMPLE_DATA, "--motor", "0", "--battery", "0"}, ',');
    EXPECT_EQ(sample.status, 1);
    EXPECT_NE(sample.err.find("is not a valid floating point value"), std::string::npos);
}

TEST(CalculateCommand, CsvHasOneRowPerStep) {
    for (const OutcomeRow& row : OutcomeRows()) {
        SCOPED_TRACE(row.name);
        auto jsonArgs = Combo(row.args);
        jsonArgs.push_back("--json");
        const long long steps =
            static_cast<long long>(ParseJson(RunCommand(jsonArgs).out)["steps"].Number());
        auto csvArgs = Combo(row.args);
        csvArgs.push_back("--csv");
        const Output csv = RunCommand(csvArgs);
        EXPECT_EQ(csv.status, row.status);
        const auto lines = Lines(csv.out);
        ASSERT_EQ(static_cast<long long>(lines.size()), steps + 1);
        EXPECT_EQ(lines[0], "step,shaft_power,rpm_fan,rpm_motor,current");
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::istringstream fields(lines[i]);
            std::vector<std::string> row;
            for (std::string field; std::getline(fields, field, ',');) row.push_back(field);
            ASSERT_EQ(row.size(), 5u) << lines[i];
            EXPECT_EQ(row[0], std::to_string(i));
            for (std::size_t f = 1; f < row.size(); ++f) {
                std::size_t used = 0;
                std::stod(row[f], &used);
                EXPECT_EQ(used, row[f].size()) << row[f];
            }
        }
    }
}

TEST(CalculateCommand, CatalogueErrorsStopBeforeAnyOutput) {
    const fs::path dir = fs::temp_directory_path() / ("mfbcli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::copy_file(kCombos + "/motor.txt", dir / "motor.txt", fs::copy_options::overwrite_existing);
    const std::string motorOnly = dir.string();

    const fs::path shortFans = dir / "short";
    fs::create_directories(shortFans);
    for (const char* name : {"motor.txt", "battery.txt"})
        fs::copy_file(kCombos + "/" + name, shortFans / name, fs::copy_options::overwrite_existing);
    std::ofstream(shortFans / "fan.txt") << "only\nthree\nlines\n";

    struct Row {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const std::string cannotOpen = "mfbcalc-cli: Cannot open file \"" +
                                   (dir / "battery.txt").string() +
                                   "\". No such file or directory\n";
    // An error on a line is told as check tells it.
    const std::vector<Row> rows = {
        {{"--catalogues", motorOnly, "--motor", "0", "--battery", "0"}, 1, cannotOpen},
        {{"--catalogues", motorOnly, "--list"}, 1, cannotOpen},
        {{"--catalogues", shortFans.string(), "--motor", "0", "--battery", "0"},
         1,
         (shortFans / "fan.txt").string() + ":4: error: List index out of bounds (13)\n"},
        {Combo({"--motor", "charlie", "--battery", "Big"}), 1,
         kCombos + "/motor.txt:2:45-48: error: '12x4' is not a valid floating point value\n"},
        {Combo({"--motor", "0", "--battery", "Negative"}), 1,
         kCombos + "/battery.txt:4:51-56: error: cell resistance is -5e-1 (columns 51-56): the "
                   "model needs a value of 0 or more\n"},
        {Combo({"--motor", "7", "--battery", "Big"}), 2,
         "mfbcalc-cli: no motor with index 7: the list has 5 entries, 0 to 4\n"
         "Try \"mfbcalc-cli --help\" for more information.\n"},
        {Combo({"--motor", "0", "--battery", "Lithium"}), 2,
         "mfbcalc-cli: no battery entry starts with \"Lithium\"\n"
         "Try \"mfbcalc-cli --help\" for more information.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.err);
        const Output o = RunCommand(row.args);
        EXPECT_EQ(o.status, row.status);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, row.err);
    }
    fs::remove_all(dir);
}

TEST(CalculateCommand, ListShowsSortedEntriesAndFans) {
    const Output o = RunCommand(Combo({"--list"}));
    EXPECT_EQ(o.status, 0);
    const std::vector<std::string> expected = {
        "Motors (--motor INDEX):",
        "0  Alpha 1000           test motor A1",
        "1  alpha 2000           test motor a2",
        "2  bravo 1000           test motor b",
        "3  charlie bad kv       kv field broken",
        "4  \xC9mile 900            Latin-1 name",
        "Batteries (--battery INDEX):",
        "0  Big 4V               strong cell",
        "1  Limit 4V             limit 81.6 W at 1S",
        "2  Negative             negative resistance",
        "3  Stiff 6V             no resistance",
        "4  Weak 1V2             cannot give 75 W",
        "Fans (--fan NUMBER):",
        "1  Rising fan",
        "2  Slow fan",
        "3  Fast fan",
        "4  Overflow at start",
        "5  Overflow later",
    };
    EXPECT_EQ(Lines(o.out), expected);
}

TEST(CalculateCommand, LatinOneNamesAreEscapedInJson) {
    const Output o = RunCommand(Combo({"--motor", "\xC9", "--battery", "Big", "--json"}));
    EXPECT_EQ(o.status, 0);
    EXPECT_NE(o.out.find("\"\\u00c9mile 900           \""), std::string::npos);
    const JsonValue json = ParseJson(o.out);
    EXPECT_EQ(json["names"]["motor"].String(), "\xC3\x89mile 900           ");
    EXPECT_EQ(json["title"].String(),
              "Rising fan  \xC3\x89mile 900             Big 4V              ");
}

TEST(CalculateCommand, HelpExplainsAndUsageErrorsPointToIt) {
    const Output help = RunCommand({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* text :
         {"--catalogues DIR", "--motor", "--battery", "--fan", "--serie", "--parallel", "--option",
          "--decimal-separator", "--json", "--csv", "--list", "first in the sorted list",
          "Exit status", "mfbcalc-cli --catalogues data --motor 3 --battery 2 --serie 6 --fan 3"})
        EXPECT_NE(help.out.find(text), std::string::npos) << text;

    const Output bad = RunCommand({"--serie", "41"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err,
              "mfbcalc-cli: --serie must be between 1 and 40, not 41\n"
              "Try \"mfbcalc-cli --help\" for more information.\n");
    // A model of next to no weight would show thrust per pack weight as thrust to weight.
    for (const char* grams : {"0", "0.001"}) {
        const Output weightless = RunCommand({"--model-weight", grams});
        EXPECT_EQ(weightless.status, 2);
        EXPECT_NE(weightless.err.find("--model-weight needs a number from 1 to 100000"),
                  std::string::npos);
    }
}

// A pack without resistance puts the power limit beyond a megawatt, where the calculator stops
// the sweep itself: that still counts as calculated, with the limit said.
TEST(CalculateCommand, SweepStoppedAtThePowerLimitCountsAsCalculated) {
    const Output o = RunCommand(
        Combo({"--motor", "0", "--battery", "Stiff", "--serie", "40", "--fan", "2", "--json"}));
    EXPECT_EQ(o.status, 0);
    const JsonValue json = ParseJson(o.out);
    EXPECT_EQ(json["outcome"].String(), "calculated");
    EXPECT_NE(json["message"].String().find("1000000 W"), std::string::npos);
    EXPECT_EQ(o.err, "mfbcalc-cli: " + json["message"].String() + "\n");
    EXPECT_EQ(Keys(json["labels"]), kAllLabels);
}

}  // namespace
}  // namespace mfb::cli
