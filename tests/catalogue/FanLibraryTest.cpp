// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FanLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/FanFit.h"
#include "catalogue/FileReader.h"
#include "catalogue/TextLines.h"
#include "tests/support/DescribedFindings.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

using test::Described;

// Library lines stand after the blocks in any order and case; a fan lacking a number is left out
// with a finding, and the limit and jet lines of a library fan count only for a fan that is there.
TEST(FanLibraryTest, WholeFansReadAndTheOthersAreNamed) {
    std::vector<std::string> lines(kFanFileMinLines, "0");
    lines.insert(lines.end(), {
                                  "fan 7 name:  Fan 7 ",            // 54
                                  "FAN 7 A0 : 1,5",                 // 55
                                  "fan 7 a1: 2",                    // 56
                                  "fan 7 a2: 3",                    // 57
                                  "fan 7 a3: 4",                    // 58
                                  "fan 7 a4: 5",                    // 59
                                  "fan 7 chart minimum power: 60",  // 60
                                  "max rpm fan 7: 40000",           // 61
                                  "swept area fan 7: 38.8",         // 62
                                  "fan 6 name: Half a fan",         // 63
                                  "fan 6 a0: x",                    // 64
                                  "fan 3 name: Not here",           // 65
                                  "max rpm fan 8: 1000",            // 66
                                  "fan 7 reserved: 0",              // 67
                              });
    const std::vector<LibraryFan> library = ReadFanLibrary(lines, ',');
    ASSERT_EQ(library.size(), 1u);
    const LibraryFan& fan = library.front();
    EXPECT_EQ(fan.number, 7);
    EXPECT_EQ(fan.fan.Name, "Fan 7");
    EXPECT_EQ(fan.fan.a0, 1.5);
    EXPECT_EQ(fan.fan.a4, 5);
    EXPECT_EQ(fan.fan.ChartMinPower, 60);
    EXPECT_EQ(fan.maxRpm, 40000.0);
    EXPECT_EQ(fan.jet.SweptArea, std::nullopt);  // '.' does not read with ','
    EXPECT_EQ(LibraryFanNumbers(lines), (std::vector<int>{6, 7}));
    EXPECT_EQ(Described(LimitFindings(kFanFile, lines, ',')),
              (std::vector<std::string>{
                  "62:18-22: ' 38.8' is not a valid floating point value: it uses '.', this "
                  "system's decimal separator is ','; `mfbcalc-cli convert` rewrites a catalogue; "
                  "the swept area is ignored",
                  "64:10-11: ' x' is not a valid floating point value; fan 6's a0 is ignored",
                  "64:1-11: library fan 6 has no a0, a1, a2, a3, a4, chart minimum power that "
                  "reads; the fan is left out",
                  "65:5-5: a library fan's number is from 6 to 999; the line is ignored",
                  "66:13-13: a fan limit line names fan 1 to 5 or a fan of the library: \"max rpm "
                  "fan K: RPM\""}));
}

// What the writer states reads back to the same numbers, in either notation.
TEST(FanLibraryTest, WrittenLinesReadBackBitForBit) {
    LibraryFan fan{12,
                   {"Fan 80 mm", 897.870925298, 2295.84585275, -76.4127962956, 1.0 / 3.0,
                    4.61754301141e-3, 50, 0},
                   41000.0,
                   {38.83793918, 0.700463531727}};
    for (const char separator : {'.', ','}) {
        std::vector<std::string> lines(kFanFileMinLines, "0");
        const auto written = FanLibraryLines(fan, separator);
        lines.insert(lines.end(), written.begin(), written.end());
        const auto library = ReadFanLibrary(lines, separator);
        ASSERT_EQ(library.size(), 1u);
        const LibraryFan& read = library.front();
        EXPECT_EQ(read.fan.Name, fan.fan.Name);
        EXPECT_EQ(read.fan.a0, fan.fan.a0);
        EXPECT_EQ(read.fan.a3, std::stod(FanFileNumber(1.0 / 3.0)));
        EXPECT_EQ(read.fan.a4, fan.fan.a4);
        EXPECT_EQ(read.maxRpm, fan.maxRpm);
        EXPECT_EQ(read.jet.SweptArea, fan.jet.SweptArea);
        EXPECT_EQ(read.jet.StaticEfficiency, fan.jet.StaticEfficiency);
        EXPECT_TRUE(LimitFindings(kFanFile, lines, separator).empty());
    }
}

// The sample's library holds the 80 mm fan with its limit and jet data.
TEST(FanLibraryTest, TheSampleHoldsFan6) {
    const Catalogue catalogue = test::SampleCatalogue();
    ASSERT_EQ(catalogue.FanLibrary.size(), 1u);
    EXPECT_EQ(catalogue.FanLibrary[0].number, 6);
    EXPECT_EQ(catalogue.FanLibrary[0].fan.Name, "Fan 80 mm");
    EXPECT_TRUE(catalogue.FanLibrary[0].maxRpm && catalogue.FanLibrary[0].jet.StaticEfficiency);
}

// A library fan put on a fan button trades places with the fan there, its limit and jet data with
// it, and every other line stays; the same swap again gives the file back.
TEST(FanLibraryTest, ALibraryFanTakesAButton) {
    const std::vector<std::string> original = SplitLines(ReadWholeFile(MFB_SAMPLE_DATA "/fan.txt"));
    const Catalogue sample = test::SampleCatalogue();
    std::vector<std::string> lines = original;
    ASSERT_TRUE(SwapFans(lines, 3, 6));
    EXPECT_EQ(lines[FanNameLine(3) - 1], "Fan 80 mm");
    const std::vector<LibraryFan> library = ReadFanLibrary(lines, '.');
    ASSERT_EQ(library.size(), 1u);
    EXPECT_EQ(library[0].fan.Name, "Fan 70 mm");
    EXPECT_EQ(library[0].fan.a2, sample.Fans[2].a2);
    EXPECT_EQ(library[0].maxRpm, sample.FanLimits[2]);
    EXPECT_EQ(library[0].jet.SweptArea, sample.FanJet[2].SweptArea);
    EXPECT_EQ(ReadFanLimits(lines, '.')[2], sample.FanLibrary[0].maxRpm);
    EXPECT_EQ(ReadFanJetData(lines, '.')[2].StaticEfficiency,
              sample.FanLibrary[0].jet.StaticEfficiency);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) changed += lines[i] != original[i];
    // The names and six numbers of the two, and three data lines of each; the reserved 0 stays.
    EXPECT_EQ(changed, 7u + 7u + 6u);
    EXPECT_TRUE(LimitFindings(kFanFile, lines, '.').empty());

    EXPECT_TRUE(SwapFans(lines, 3, 6));
    EXPECT_EQ(lines, original);
    EXPECT_FALSE(SwapFans(lines, 3, 7));
    EXPECT_FALSE(SwapFans(lines, 6, 6));
    EXPECT_EQ(lines, original);
}

}  // namespace
}  // namespace mfb
