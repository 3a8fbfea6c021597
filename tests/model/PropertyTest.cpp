// SPDX-License-Identifier: GPL-3.0-or-later
// Whole Calculates over random catalogue lines: whatever the values, a Calculate ends in one of
// the program's outcomes and every label it writes is a plain number.
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "chart/CurveTable.h"
#include "model/ColumnRows.h"
#include "model/Error.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"
#include "tests/support/RecordingSinks.h"
#include "tests/support/ShownText.h"

#if defined(__SANITIZE_ADDRESS__)
#define MFB_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MFB_SANITIZED 1
#endif
#endif

namespace mfb {
namespace {

// Every label text a Calculate showed that is not a number as the display format writes it.
std::vector<std::string> OddTexts(const test::RecordingSinks& sinks, char separator) {
    std::vector<std::string> odd;
    for (const auto& [field, text] : sinks.values) {
        if (!test::IsShownNumber(text, separator))
            odd.push_back(std::string(Caption(field)) + "=" + text);
    }
    return odd;
}

enum class Kind { Completed, AtLimit, NotPossible, Refused, Fault };

struct Ending {
    Kind kind;
    std::string message;  // the refusal's or fault's
    CalculateReport report;
};

const char* const kFaults[] = {"Invalid floating point operation",
                               "Floating point division by zero", "Floating point overflow"};

std::string Fit(double value, int width) {
    char buffer[64];
    for (int decimals = width; decimals >= 0; --decimals) {
        std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
        if (static_cast<int>(std::string(buffer).size()) <= width) return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.0e", value);
    return buffer;
}

std::string Padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// Lines in the catalogue's column layout, number fields as given.
std::string MotorLine(const std::string& name, const std::string& kv, const std::string& ri,
                      const std::string& io) {
    return Padded(name, 44) + Padded(kv, 4) + "  " + Padded(ri, 5) + "   " + io;
}
std::string BatteryLine(const std::string& name, const std::string& capacity,
                        const std::string& rCell, const std::string& uCell,
                        const std::string& weight) {
    return Padded(name, 44) + Padded(capacity, 4) + "  " + Padded(rCell, 6) + "  " +
           Padded(uCell, 5) + " " + weight;
}

struct Case {
    std::string motorLine;
    std::string batteryLine;
    FanTable fans;
    WholeFans completeFans = kAllFansWhole;
    int fan = 1;
    int option = 1;
    int serie = 1;
    int parallel = 1;
};

FanTable SampleFans() {
    CataloguePlatform platform;
    platform.readFile = [](const std::string& name) {
        return ReadWholeFile(std::string(MFB_SAMPLE_DATA) + "/" + name);
    };
    platform.lineLess = [](const std::string& a, const std::string& b) { return a < b; };
    Catalogue catalogue;
    std::array<TOptionSlot, kOptionCount> slots;
    LoadObserver observer;
    LoadCatalogues(catalogue, slots, platform, observer);
    return catalogue.Fans;
}

Ending CalculateCase(const Case& c, test::RecordingSinks& sinks) {
    TOptionSlot slot;
    // A value no part can have is refused but stored: the model must cope with it all the same.
    try {
        ChooseMotor(slot, c.motorLine, '.');
    } catch (const LocatedError&) {
    }
    try {
        ChooseBattery(slot, c.batteryLine, '.');
    } catch (const LocatedError&) {
    }
    ChooseFan(slot, c.fans, c.fan);
    Ending out{Kind::Completed, {}, {}};
    try {
        Calculate(slot,
                  {c.fans, kWireResistance, c.completeFans, c.option, c.serie, c.parallel, '.'},
                  sinks, sinks, out.report);
    } catch (const FloatingPointError& e) {
        out.kind = Kind::Fault;
        out.message = e.what();
        return out;
    } catch (const Error& e) {
        out.kind = Kind::Refused;
        out.message = e.what();
        return out;
    }
    switch (out.report.outcome) {
        case Outcome::Calculated:
            out.kind = Kind::Completed;
            break;
        case Outcome::StoppedAtLimit:
            out.kind = Kind::AtLimit;
            break;
        case Outcome::NotPossible:
            out.kind = Kind::NotPossible;
            break;
        case Outcome::NotRun:
            ADD_FAILURE() << "a chosen motor and battery did not run";
            break;
    }
    return out;
}

// What every Calculate must satisfy, whatever its outcome.
void ExpectSound(const Ending& out, const test::RecordingSinks& sinks) {
    const std::vector<std::string> odd = OddTexts(sinks, '.');
    EXPECT_TRUE(odd.empty()) << odd.front();
    EXPECT_EQ(sinks.nonFinite, 0);
    EXPECT_EQ(sinks.points, 3 * out.report.steps);
    const long long maxSteps =
        static_cast<long long>((MaxSweepPower - StartPower) / static_cast<double>(PowerStep)) + 2;
    EXPECT_LE(out.report.steps, maxSteps);
    switch (out.kind) {
        case Kind::Completed:
            // Whatever is shown as an operating point is one: the motor turns and delivers power.
            EXPECT_EQ(KeptStepReason(out.report.result), NotPossibleReason::None);
            EXPECT_EQ(sinks.values.size(), std::size_t{kResultFieldCount});
            EXPECT_TRUE(sinks.warnings.empty());
            EXPECT_TRUE(sinks.chartEnabled);
            break;
        case Kind::AtLimit:
            EXPECT_EQ(sinks.values.size(), std::size_t{kResultFieldCount});
            ASSERT_EQ(sinks.warnings.size(), 1u);
            EXPECT_NE(sinks.warnings[0].find("stopped at 1000000 W"), std::string::npos)
                << sinks.warnings[0];
            EXPECT_TRUE(sinks.chartEnabled);
            break;
        case Kind::NotPossible:
            EXPECT_EQ(sinks.warnings,
                      std::vector<std::string>{NotPossibleMessage(out.report.reason)});
            // Only the pack's failure at the start power comes before the pack's labels.
            EXPECT_EQ(sinks.values.size(), out.report.reason == NotPossibleReason::PackTooWeak &&
                                                   out.report.failedStep == 0
                                               ? 0u
                                               : 3u);
            EXPECT_FALSE(sinks.chartEnabled);
            break;
        case Kind::Refused:
            EXPECT_TRUE(out.message.find("has no valid fan") != std::string::npos ||
                        out.message.find("total resistance is negative") != std::string::npos)
                << out.message;
            EXPECT_TRUE(sinks.values.empty());
            EXPECT_TRUE(sinks.warnings.empty());
            break;
        case Kind::Fault:
            EXPECT_TRUE(std::find(std::begin(kFaults), std::end(kFaults), out.message) !=
                        std::end(kFaults))
                << out.message;
            EXPECT_FALSE(sinks.chartEnabled);
            break;
    }
}

TEST(PropertyTest, RandomCataloguesEndInAnOutcomeOfTheProgram) {
    std::mt19937_64 random(0x6d66'6263'616c'63ULL);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto integer = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const FanTable sample = SampleFans();

    constexpr int kCombinations = 300;
    std::array<int, 5> seen{};
    long long steps = 0;
    for (int i = 0; i < kCombinations; ++i) {
        Case c;
        c.serie = integer(1, 40);
        c.parallel = integer(1, 10);
        c.option = integer(1, 4);
        c.fan = integer(1, 5);
        const double uCell = uniform(0.9, 4.2);
        // Motors wound for the pack, as a modeller would pick them, keep the sweeps short: the
        // fan overtakes the motor long before the pack's limit.
        const double kv = uniform(0.3, 1.0) * 60000.0 / (c.serie * uCell);
        c.motorLine = MotorLine("Motor " + std::to_string(i), Fit(std::min(kv, 9999.0), 4),
                                Fit(uniform(0.002, 0.2), 5), Fit(uniform(0.2, 5), 4));
        c.batteryLine =
            BatteryLine("Cell " + std::to_string(i), Fit(uniform(300, 9999), 4),
                        Fit(uniform(0, 0.05), 6), Fit(uCell, 5), Fit(uniform(5, 200), 4));
        c.fans = sample;
        const double scale = uniform(0.6, 1.6);
        for (TFanData& fan : c.fans) {
            for (double* a : {&fan.a0, &fan.a1, &fan.a2, &fan.a3, &fan.a4}) *a *= scale;
            fan.ChartMinPower = uniform(0, 500);
        }
        // Some rows without any fan that matches, as after a broken fan catalogue.
        c.completeFans = integer(0, 19) != 0 ? kAllFansWhole : WholeFans(0);

        SCOPED_TRACE(c.motorLine + " | " + c.batteryLine + " | serie " + std::to_string(c.serie) +
                     " parallel " + std::to_string(c.parallel) + " fan " + std::to_string(c.fan));
        test::RecordingSinks sinks(false);
        const Ending out = CalculateCase(c, sinks);
        ExpectSound(out, sinks);
        ++seen[static_cast<std::size_t>(out.kind)];
        steps += out.report.steps;
    }
    // The ranges are meant to reach the ordinary outcomes; a generator that drifted into one
    // corner would check little.
    EXPECT_GT(seen[static_cast<std::size_t>(Kind::Completed)], kCombinations / 2);
    EXPECT_GT(seen[static_cast<std::size_t>(Kind::Refused)], 0);
    RecordProperty("sweep_steps", std::to_string(steps));
}

// Degenerate catalogues, each aimed at one way out of a Calculate.
struct DegenerateRow {
    const char* what;
    const char* kv;
    const char* ri;
    const char* io;
    const char* rCell;
    const char* uCell;
    int serie;
    int parallel;
    std::array<double, 5> curve;  // of the option's fan
    Kind kind;
    const char* message;  // refusal or fault; empty for the others
};

const DegenerateRow kDegenerate[] = {
    {"negative cell resistance",
     "1000",
     "0.05",
     "1.5",
     "-0.01",
     "1.2",
     10,
     1,
     {0, 2500, 0, 0, 0},
     Kind::Refused,
     "The pack's total resistance is negative: check the cell resistance of \"Cell                "
     "\""},
    {"cells cancel the wiring: zero total resistance",
     "1000",
     "0.05",
     "1.5",
     "-0.01",
     "1.2",
     1,
     1,
     {0, 2500, 0, 0, 0},
     Kind::Fault,
     "Invalid floating point operation"},
    {"fan curve overflows",
     "1000",
     "0.05",
     "1.5",
     "0.006",
     "1.2",
     10,
     1,
     {0, 0, 0, 0, 1e308},
     Kind::Fault,
     "Floating point overflow"},
    {"pack cannot deliver the start power",
     "1000",
     "0.05",
     "1.5",
     "9.9",
     "1.0",
     1,
     1,
     {0, 2500, 0, 0, 0},
     Kind::NotPossible,
     ""},
    {"fan never overtakes: the pack runs out",
     "1000",
     "0.05",
     "1.5",
     "0.006",
     "1.2",
     10,
     1,
     {0, 0, 0, 0, 0},
     Kind::NotPossible,
     ""},
    {"motor turning backwards stops at once",
     "-999",
     "0.05",
     "1.5",
     "0.006",
     "1.2",
     10,
     1,
     {0, 0, 0, 0, 0},
     Kind::NotPossible,
     ""},
    // Beside 1e203 volts squared the start power vanishes: the current comes out exactly 0 and
    // the efficiency is 0 / 0.
    {"huge voltage cancels the current",
     "1e-9",
     "1e-99",
     "0",
     "0",
     "9e99",
     40,
     10,
     {9e99, 0, 0, 0, 0},
     Kind::Fault,
     "Invalid floating point operation"},
    {"huge voltage and resistance: labels in scientific notation",
     "1e-9",
     "1e-99",
     "0",
     "2.5e31",
     "9e15",
     40,
     10,
     {9e99, 0, 0, 0, 0},
     Kind::NotPossible,
     ""},
    {"denormal resistances",
     "1000",
     "1e-99",
     "1e-99",
     "5e-324",
     "1.2",
     10,
     1,
     {0, 2500, 0, 0, 0},
     Kind::Completed,
     ""},
    {"no-load current above any current",
     "1000",
     "0.05",
     "9999",
     "0.006",
     "1.2",
     10,
     1,
     {0, 2500, 0, 0, 0},
     Kind::NotPossible,
     ""},
};

void PrintTo(const DegenerateRow& row, std::ostream* os) {
    *os << row.what;
}

class DegenerateTest : public testing::TestWithParam<DegenerateRow> {};

TEST_P(DegenerateTest, EndsWithItsOutcome) {
    const DegenerateRow& row = GetParam();
    Case c;
    c.motorLine = MotorLine("Motor", row.kv, row.ri, row.io);
    c.batteryLine = BatteryLine("Cell", "2000", row.rCell, row.uCell, "25");
    for (int k = 0; k < kFanCount; ++k) c.fans[k].Name = "Fan " + std::to_string(k + 1);
    c.fans[0].a0 = row.curve[0];
    c.fans[0].a1 = row.curve[1];
    c.fans[0].a2 = row.curve[2];
    c.fans[0].a3 = row.curve[3];
    c.fans[0].a4 = row.curve[4];
    c.serie = row.serie;
    c.parallel = row.parallel;
    test::RecordingSinks sinks(false);
    const Ending out = CalculateCase(c, sinks);
    EXPECT_EQ(static_cast<int>(out.kind), static_cast<int>(row.kind)) << out.message;
    EXPECT_EQ(out.message, row.message);
    ExpectSound(out, sinks);
}

INSTANTIATE_TEST_SUITE_P(Rows, DegenerateTest, testing::ValuesIn(kDegenerate));

// A pack of zero resistance at a huge voltage, with a fan that never overtakes: the power limit is
// out of reach and only the calculator's bound stops the sweep. It must say so and show what it
// computed.
TEST(PropertyTest, UnboundedSweepStopsAtTheLimit) {
    Case c;
    // No no-load current: a quarter of an ampere at 4 MV would not even cover it.
    c.motorLine = MotorLine("Motor", "1000", "0.05", "0");
    c.batteryLine = BatteryLine("Cell", "2000", "0", "99999", "25");
    for (int k = 0; k < kFanCount; ++k) c.fans[k].Name = "Fan " + std::to_string(k + 1);
    c.serie = 40;
    test::RecordingSinks sinks(false);
    const Ending out = CalculateCase(c, sinks);

    ASSERT_EQ(static_cast<int>(out.kind), static_cast<int>(Kind::AtLimit)) << out.message;
    ExpectSound(out, sinks);
    EXPECT_GE(out.report.result.PinMotor, MaxSweepPower - 0.2);
    EXPECT_GT(out.report.steps, 9'000'000);
}

#ifndef MFB_SANITIZED
// Four charts of such sweeps must fit an ordinary desktop's memory with room to spare: 30 million
// points each. Measured on a million points a series, as a chart keeps them.
TEST(PropertyTest, FourFullChartsFitInFourGigabytes) {
    constexpr std::size_t kPoints = 1'000'000;
    // Large blocks come straight from mmap and are counted apart from the heap's.
    const auto inUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
    };
    const std::size_t before = inUse();
    {
        CurveTable chart({kRed, kGreen, kYellow});
        for (std::size_t i = 0; i < kPoints; ++i) {
            const double y = 1000.0 - static_cast<double>(i);
            chart.AddRow(75.0 + 0.1 * static_cast<double>(i), {y, y, y});
        }
        const double bytesPerPoint =
            static_cast<double>(inUse() - before) / (kSeriesCount * kPoints);
        const double fourCharts = 4.0 * 3 * 10'000'000 * bytesPerPoint;
        EXPECT_GE(bytesPerPoint, sizeof(ChartRow) / 3.0) << "the measurement misses the points";
        EXPECT_LT(fourCharts, 4.0e9) << bytesPerPoint << " bytes a point";
    }
}
#endif

}  // namespace
}  // namespace mfb
