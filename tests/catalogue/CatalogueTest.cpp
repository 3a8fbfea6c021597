// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "model/DiscardingSinks.h"
#include "model/Error.h"
#include "model/Sweep.h"

namespace mfb {
namespace {

// The first `count` lines of a text, each with its line end.
std::string FirstLines(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t n = 0; n < count && end != std::string::npos; ++n) {
        end = text.find('\n', end);
        if (end != std::string::npos) ++end;
    }
    return text.substr(0, end);
}

bool CaseInsensitiveLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A fan file of `lines` lines: 13 header lines, then fan k's name "Fan k" and numbers 10k + j.
std::string FanFile(std::size_t lines) {
    std::vector<std::string> all(13, "header");
    for (int k = 1; k <= kFanCount; ++k) {
        all.push_back("Fan " + std::to_string(k));
        for (int j = 1; j <= 7; ++j) all.push_back(" " + std::to_string(10 * k + j) + " ");
    }
    all.resize(lines, "trailer");
    std::string text;
    for (const auto& line : all) text += line + "\r\n";
    return text;
}

class Recorder : public LoadObserver {
public:
    void MotorsRead(const Catalogue&) override { stages.push_back("motors"); }
    void BatteriesRead(const Catalogue&) override { stages.push_back("batteries"); }
    void FansRead(const Catalogue&) override { stages.push_back("fans"); }
    std::vector<std::string> stages;
};

struct Load {
    Catalogue catalogue;
    std::array<TOptionSlot, kOptionCount> slots;
    Recorder recorder;
    std::string error;
};

std::unique_ptr<Load> LoadFrom(const std::map<std::string, std::string>& files, char sep = '.') {
    auto load = std::make_unique<Load>();
    CataloguePlatform platform;
    platform.readFile = [&files](const std::string& name) {
        const auto it = files.find(name);
        if (it == files.end()) {
            throw Error("Cannot open file \"/cat/" + name + "\". No such file or directory");
        }
        return it->second;
    };
    platform.lineLess = CaseInsensitiveLess;
    platform.decimalSeparator = sep;
    try {
        LoadCatalogues(load->catalogue, load->slots, platform, load->recorder);
    } catch (const Error& e) {
        load->error = e.what();
    }
    return load;
}

const std::map<std::string, std::string> kGood = {
    {"motor.txt", "b motor\nA motor\nc motor\n"},
    {"battery.txt", "NiMH\r\nlipo\r\nLiFe"},
    {"fan.txt", FanFile(53)},
};

std::map<std::string, std::string> WithFan(std::string text) {
    auto files = kGood;
    files["fan.txt"] = std::move(text);
    return files;
}

TEST(LoadCataloguesTest, LoadsAndSortsCaseInsensitively) {
    const auto load = LoadFrom(kGood);
    ASSERT_EQ(load->error, "");
    const Catalogue& c = load->catalogue;
    EXPECT_EQ(c.MotorLines, (std::vector<std::string>{"A motor", "b motor", "c motor"}));
    EXPECT_EQ(c.BatteryLines, (std::vector<std::string>{"LiFe", "lipo", "NiMH"}));
    EXPECT_EQ(c.FanLines.size(), 53u);
    EXPECT_EQ(c.FanLines[0], "header");  // file order
    EXPECT_EQ(c.WireResistance, 0.01);
    EXPECT_EQ(c.CompleteFans.count, kFanCount);
    for (int k = 1; k <= kFanCount; ++k) {
        const TFanData& fan = c.Fans[k - 1];
        EXPECT_EQ(fan.Name, "Fan " + std::to_string(k));
        EXPECT_EQ(fan.a0, 10 * k + 1);
        EXPECT_EQ(fan.a4, 10 * k + 5);
        EXPECT_EQ(fan.ChartMinPower, 10 * k + 6);
        EXPECT_EQ(fan.Reserved, 10 * k + 7);
    }
    for (const auto& slot : load->slots) EXPECT_EQ(slot.FanName, "Fan 1");
    EXPECT_EQ(load->recorder.stages, (std::vector<std::string>{"motors", "batteries", "fans"}));
}

TEST(LoadCataloguesTest, EqualLinesAreAllKeptInFileOrder) {
    auto files = kGood;
    files["motor.txt"] = "X\n\nx\nX\n";
    const auto load = LoadFrom(files);
    // The empty line sorts first; lines equal but for case stay in file order.
    EXPECT_EQ(load->catalogue.MotorLines, (std::vector<std::string>{"", "X", "x", "X"}));
}

struct FailureCase {
    const char* name;
    std::map<std::string, std::string> files;
    std::string error;
    std::vector<std::string> stages;
    bool wireResistanceSet;
};

TEST(LoadCataloguesTest, FailureKeepsExactlyTheStepsBeforeIt) {
    auto without = [](const char* file) {
        auto files = kGood;
        files.erase(file);
        return files;
    };
    std::string badNumber = FanFile(53);
    badNumber.replace(badNumber.find(" 23 "), 4, "\t23 ");
    const FailureCase cases[] = {
        {"no motor file",
         without("motor.txt"),
         "Cannot open file \"/cat/motor.txt\". No such file or directory",
         {},
         false},
        {"no battery file",
         without("battery.txt"),
         "Cannot open file \"/cat/battery.txt\". No such file or directory",
         {"motors"},
         false},
        {"no fan file",
         without("fan.txt"),
         "Cannot open file \"/cat/fan.txt\". No such file or directory",
         {"motors", "batteries"},
         true},
        {"empty fan file",
         WithFan(""),
         "List index out of bounds (13)",
         {"motors", "batteries"},
         true},
        {"13 lines",
         WithFan(FanFile(13)),
         "List index out of bounds (13)",
         {"motors", "batteries"},
         true},
        {"20 lines",
         WithFan(FanFile(20)),
         "List index out of bounds (20)",
         {"motors", "batteries"},
         true},
        {"52 lines",
         WithFan(FanFile(52)),
         "List index out of bounds (52)",
         {"motors", "batteries"},
         true},
        {"tab beside a number",
         WithFan(badNumber),
         "'\t23 ' is not a valid floating point value: it holds a tab, where only blanks may "
         "stand",
         {"motors", "batteries"},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto load = LoadFrom(c.files);
        EXPECT_EQ(load->error, c.error);
        EXPECT_EQ(load->recorder.stages, c.stages);
        EXPECT_EQ(load->catalogue.WireResistance, c.wireResistanceSet ? 0.01 : 0);
        EXPECT_LT(load->catalogue.CompleteFans.count, kFanCount);
        for (const auto& slot : load->slots) EXPECT_EQ(slot.FanName, "");
        if (c.stages.empty()) {
            EXPECT_TRUE(load->catalogue.MotorLines.empty());
        }
        if (c.stages.size() < 2) {
            EXPECT_TRUE(load->catalogue.BatteryLines.empty());
        }
    }
}

TEST(LoadCataloguesTest, ShortFanFileKeepsTheFansReadBeforeTheGap) {
    const auto load = LoadFrom({{"motor.txt", ""}, {"battery.txt", ""}, {"fan.txt", FanFile(52)}});
    const FanTable& fans = load->catalogue.Fans;
    EXPECT_EQ(fans[3].Name, "Fan 4");
    EXPECT_EQ(fans[3].Reserved, 47);
    // Fan 5: name and the first six numbers were read; the seventh line is missing.
    EXPECT_EQ(fans[4].Name, "Fan 5");
    EXPECT_EQ(fans[4].ChartMinPower, 56);
    EXPECT_EQ(fans[4].Reserved, 0);
}

// A failure in fan 5's block leaves fans 1 to 4 whole: each calculates exactly as with the intact
// file, while fan 5 (cut short) and the empty name every slot keeps after the failure are refused.
TEST(LoadCataloguesTest, FansReadWholeBeforeAFailureCalculate) {
    const auto sample = [](const char* name) {
        return ReadWholeFile(std::string(MFB_SAMPLE_DATA) + "/" + name);
    };
    const std::string fans = sample("fan.txt");
    std::string badNumber = fans;
    badNumber.replace(badNumber.find("-62.1874036423"), 14, "-62.18x");
    const struct {
        const char* what;
        std::string fanFile;
        std::string error;
    } files[] = {
        {"52 lines", FirstLines(fans, 52), "List index out of bounds (52)"},
        {"a bad a2 of fan 5", badNumber, "'-62.18x' is not a valid floating point value"},
    };
    const auto run = [](const Catalogue& c, const TOptionSlot& chosen, CalculateReport& report) {
        TOptionSlot slot = chosen;
        DiscardingSinks sinks;
        Calculate(slot, {c.Fans, c.WireResistance, c.CompleteFans, 1, 8, 1, '.'}, sinks, sinks,
                  report);
    };
    const auto intact = LoadFrom({{"motor.txt", sample("motor.txt")},
                                  {"battery.txt", sample("battery.txt")},
                                  {"fan.txt", fans}});
    ASSERT_EQ(intact->error, "");
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        const auto broken = LoadFrom({{"motor.txt", sample("motor.txt")},
                                      {"battery.txt", sample("battery.txt")},
                                      {"fan.txt", file.fanFile}});
        ASSERT_EQ(broken->error, file.error);
        for (int fan = 0; fan <= kFanCount; ++fan) {
            SCOPED_TRACE(fan);
            TOptionSlot slot = broken->slots[0];
            ChooseMotor(slot, broken->catalogue.MotorLines.back(), '.');
            ChooseBattery(slot, broken->catalogue.BatteryLines.front(), '.');
            if (fan > 0) ChooseFan(slot, broken->catalogue.Fans, fan);
            CalculateReport report;
            if (fan == 0 || fan == kFanCount) {
                EXPECT_THROW(run(broken->catalogue, slot, report), Error);
                EXPECT_EQ(report.outcome, Outcome::NotRun);
                continue;
            }
            CalculateReport expected;
            run(intact->catalogue, slot, expected);
            run(broken->catalogue, slot, report);
            EXPECT_EQ(report.outcome, Outcome::Calculated);
            EXPECT_EQ(report.outcome, expected.outcome);
            EXPECT_EQ(report.steps, expected.steps);
            EXPECT_EQ(report.result.RpmMotor, expected.result.RpmMotor);
            EXPECT_EQ(report.result.Current, expected.result.Current);
        }
    }
}

TEST(LoadCataloguesTest, FanBlockIsFoundByLineNumberOnly) {
    std::string text = FanFile(60);
    // Anything in the header and after line 53; trailing blanks belong to a name.
    text.replace(0, 6, "\x01\xff garbage");
    text.replace(text.find("Fan 2"), 5, "Fan 2  ");
    const auto load = LoadFrom({{"motor.txt", ""}, {"battery.txt", ""}, {"fan.txt", text}});
    EXPECT_EQ(load->error, "");
    EXPECT_EQ(load->catalogue.Fans[1].Name, "Fan 2  ");
}

TEST(LoadCataloguesTest, FanNumbersUseTheLocaleSeparator) {
    std::string text = FanFile(53);
    text.replace(text.find(" 11 "), 4, " 1,5 ");
    EXPECT_EQ(LoadFrom(WithFan(text), ',')->catalogue.Fans[0].a0, 1.5);
    EXPECT_EQ(LoadFrom(WithFan(text), '.')->error,
              "' 1,5 ' is not a valid floating point value: it uses ',', this system's decimal "
              "separator is '.'; `mfbcalc-cli convert` rewrites a catalogue");
}

class FileReaderTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("mfb-reader-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_, previous_;
};

TEST_F(FileReaderTest, ReadsEveryByte) {
    const std::string bytes("a\0b\r\n\xff", 6);
    std::ofstream("motor.txt", std::ios::binary) << bytes;
    EXPECT_EQ(ReadWholeFile("motor.txt"), bytes);
}

TEST_F(FileReaderTest, FailuresNameTheFullPathAndTheReason) {
    std::filesystem::create_directory("fan.txt");
    const std::string full = (dir_ / "").string();
    const std::pair<const char*, std::string> cases[] = {
        {"motor.txt", "Cannot open file \"" + full + "motor.txt\". No such file or directory"},
        {"fan.txt", "Cannot open file \"" + full + "fan.txt\". Is a directory"},
    };
    for (const auto& [name, message] : cases) {
        try {
            ReadWholeFile(name);
            ADD_FAILURE() << name;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

}  // namespace
}  // namespace mfb
