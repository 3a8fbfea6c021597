// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FitFanCommand.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/CatalogueConvert.h"
#include "catalogue/FanFit.h"
#include "catalogue/FanLibrary.h"
#include "catalogue/FileReader.h"
#include "catalogue/TextLines.h"

namespace mfb::cli {
namespace {

namespace fs = std::filesystem;

struct Output {
    int status;
    std::string out, err;
};

Output FitFan(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunFitFan(args, out, err);
    return {status, out.str(), err.str()};
}

class FitFanCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        Write("points.csv",
              "input_power_w,rpm,thrust_g\n100,11500,\n200,14410,\n420,18490,850\n830,23200,1350\n"
              "1500,28310,2000\n2500,33400,2830\n");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    const fs::path dir_ = fs::temp_directory_path() / ("mfb-fit-fan-" + std::to_string(getpid()));
};

// A fan added to a library in ',' with CR LF line ends keeps every byte that was there, writes
// in the file's own notation, takes the next number and reads back as it was printed.
TEST_F(FitFanCommandTest, IntoAddsTheNextLibraryFanInTheFilesNotation) {
    std::string original =
        ConvertCatalogueText(ReadWholeFile(MFB_SAMPLE_DATA "/fan.txt"), "fan.txt", ',').text;
    std::string crlf;
    for (const std::string& line : SplitLines(original)) crlf += line + "\r\n";
    Write("fan.txt", crlf);
    const std::vector<std::string> args = {Path("points.csv"),
                                           "--name",
                                           "Fan 80 test",
                                           "--motor-efficiency",
                                           "0.6",
                                           "--diameter",
                                           "79",
                                           "--hub",
                                           "36"};
    const Output printed = FitFan(args);
    ASSERT_EQ(printed.status, 0) << printed.err;

    std::vector<std::string> into = args;
    into.insert(into.end(), {"--into", dir_.string()});
    // The sample's library holds fan 6 already.
    for (const int number : {7, 8}) {
        const std::string before = ReadWholeFile(Path("fan.txt"));
        into[2] = "Fan 80 test " + std::to_string(number);
        const Output added = FitFan(into);
        ASSERT_EQ(added.status, 0) << added.err;
        const std::string after = ReadWholeFile(Path("fan.txt"));
        ASSERT_EQ(after.substr(0, before.size()), before);
        EXPECT_EQ(after.find('.', before.size()), std::string::npos);
        const auto library = ReadFanLibrary(SplitLines(after), ',');
        ASSERT_EQ(library.size(), static_cast<std::size_t>(number - 5));
        const LibraryFan& fan = library.back();
        EXPECT_EQ(fan.number, number);
        EXPECT_EQ(fan.fan.Name, into[2]);
        std::ostringstream block;
        block << "Fan 80 test\n";
        for (const double a : {fan.fan.a0, fan.fan.a1, fan.fan.a2, fan.fan.a3, fan.fan.a4}) {
            block << FanFileNumber(a) << '\n';
        }
        EXPECT_EQ(printed.out.rfind(block.str(), 0), 0u) << printed.out;
        EXPECT_TRUE(fan.jet.SweptArea && fan.jet.StaticEfficiency);
    }

    // A name the file already has leaves it as it was.
    const std::string before = ReadWholeFile(Path("fan.txt"));
    const Output again = FitFan(into);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("library fan 8 is already named"), std::string::npos) << again.err;
    EXPECT_EQ(ReadFanLibrary(SplitLines(ReadWholeFile(Path("fan.txt"))), ',').size(), 3u);
    EXPECT_EQ(ReadWholeFile(Path("fan.txt")), before);
}

TEST_F(FitFanCommandTest, PointsThatDoNotReadAreUsageErrors) {
    struct Row {
        std::string csv;
        std::vector<std::string> options;
        std::string message;
    };
    const Row rows[] = {
        {"rpm,thrust_g\n1,2\n", {}, "the first line names the columns"},
        {"input_power_w,rpm\n100,1000\n", {}, "input_power_w needs --motor-efficiency"},
        {"shaft_power_w,rpm\n100,1000\n",
         {"--motor-efficiency", "0.8"},
         "--motor-efficiency goes with an input_power_w column"},
        {"shaft_power_w,rpm\n100,1000\n200\n", {}, ":3: a point has as many cells"},
        {"shaft_power_w,rpm\n100,1x00\n", {}, ":2: rpm: '1x00' is not a valid floating point"},
        {"shaft_power_w,rpm\n100,1000\n", {"--diameter", "70"}, "--diameter and --hub go"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.csv);
        Write("bad.csv", row.csv);
        std::vector<std::string> args = {Path("bad.csv"), "--name", "Fan"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const Output output = FitFan(args);
        EXPECT_EQ(output.status, 2);
        EXPECT_NE(output.err.find(row.message), std::string::npos) << output.err;
    }
}

}  // namespace
}  // namespace mfb::cli
