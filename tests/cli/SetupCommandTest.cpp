// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/Program.h"
#include "json/JsonReader.h"
#include "model/DisplayFormat.h"
#include "setup/SetupFile.h"
#include "setup/SetupMatch.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb::cli {
namespace {

struct Output {
    int status;
    std::string out, err;
};

Output RunCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunProgram(args, out, err, '.');
    return {status, out.str(), err.str()};
}

// A setup of the sample catalogues written to a file of its own.
class SetupFile {
public:
    explicit SetupFile(const mfb::Setup& setup)
        : path_(std::filesystem::temp_directory_path() /
                ("mfbcalc-setup-test-" + std::to_string(::getpid()) + '-' +
                 std::to_string(++count_) + ".mfbsetup")) {
        std::ofstream(path_) << WriteSetup(setup);
    }
    ~SetupFile() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    static inline int count_ = 0;
    std::filesystem::path path_;
};

struct OptionRow {
    std::optional<std::size_t> motor, battery;
    int fan, serie, parallel;
};

mfb::Setup MakeSetup(const Catalogue& catalogue, const std::array<OptionRow, kOptionCount>& rows) {
    mfb::Setup setup;
    for (int k = 1; k <= kOptionCount; ++k) {
        const OptionRow& row = rows[static_cast<std::size_t>(k - 1)];
        SetupOption& o = setup.option(k);
        if (row.motor)
            o.motor = {LineName(catalogue.MotorLines[*row.motor]),
                       catalogue.MotorLines[*row.motor]};
        if (row.battery)
            o.battery = {LineName(catalogue.BatteryLines[*row.battery]),
                         catalogue.BatteryLines[*row.battery]};
        o.fan = row.fan;
        o.fanName = catalogue.Fans[static_cast<std::size_t>(row.fan - 1)].Name;
        o.serie = row.serie;
        o.parallel = row.parallel;
    }
    return setup;
}

// Each option of the setup gives what a single calculation of its combination gives, and the
// status is the worst of theirs.
TEST(SetupCommandTest, EveryOptionAsItsSingleCalculation) {
    const Catalogue catalogue = test::SampleCatalogue();
    struct Case {
        std::array<OptionRow, kOptionCount> options;
        int status;
    };
    const Case cases[] = {
        {{{{3, 2, 2, 8, 2}, {5, 4, 3, 10, 3}, {0, 1, 1, 6, 1}, {8, 6, 4, 12, 2}}}, kExitCalculated},
        {{{{3, 2, 2, 8, 2},
           {std::nullopt, std::nullopt, 1, 10, 1},
           {0, 7, 5, 1, 1},
           {std::nullopt, 3, 3, 10, 1}}},
         kExitNotPossible},
    };
    for (const Case& c : cases) {
        const SetupFile file(MakeSetup(catalogue, c.options));
        const Output json =
            RunCli({"setup", file.path(), "--catalogues", MFB_SAMPLE_DATA, "--json"});
        EXPECT_EQ(json.status, c.status) << json.err;
        const JsonValue document = ParseJson(json.out);
        const JsonArray& options = document["options"].Array();
        ASSERT_EQ(options.size(), std::size_t{kOptionCount});
        for (std::size_t k = 0; k < options.size(); ++k) {
            SCOPED_TRACE(k + 1);
            const OptionRow& row = c.options[k];
            if (!row.motor && !row.battery) {
                EXPECT_TRUE(options[k].IsNull());
                continue;
            }
            std::vector<std::string> single = {"--catalogues",
                                               MFB_SAMPLE_DATA,
                                               "--json",
                                               "--option",
                                               std::to_string(k + 1),
                                               "--fan",
                                               std::to_string(row.fan),
                                               "--serie",
                                               std::to_string(row.serie),
                                               "--parallel",
                                               std::to_string(row.parallel)};
            if (row.motor) single.insert(single.end(), {"--motor", std::to_string(*row.motor)});
            if (row.battery) {
                single.insert(single.end(), {"--battery", std::to_string(*row.battery)});
            }
            const JsonValue alone = ParseJson(RunCli(single).out);
            const JsonValue& got = options[k]["calculation"];
            EXPECT_EQ(options[k]["serie"].Number(), row.serie);
            EXPECT_EQ(got["outcome"].String(), alone["outcome"].String());
            EXPECT_EQ(got["names"]["motor"].String(), alone["names"]["motor"].String());
            EXPECT_EQ(got["labels"].Object().size(), alone["labels"].Object().size());
            for (const auto& [caption, label] : alone["labels"].Object()) {
                EXPECT_EQ(got["labels"][caption].String(), label.String()) << caption;
            }
            EXPECT_EQ(got["derived"].IsNull(), alone["derived"].IsNull());
            if (!alone["derived"].IsNull()) {
                EXPECT_EQ(got["derived"]["run_time"].Number(),
                          alone["derived"]["run_time"].Number());
            }
            EXPECT_EQ(got["limits"].Object().size(), alone["limits"].Object().size());
        }
    }
}

// The text puts the options side by side; a setup the command cannot read is an error that
// prints nothing.
TEST(SetupCommandTest, TextSideBySideAndUnreadableFiles) {
    const Catalogue catalogue = test::SampleCatalogue();
    const SetupFile file(MakeSetup(catalogue, {{{3, 2, 2, 8, 2},
                                                {5, 4, 3, 10, 3},
                                                {std::nullopt, std::nullopt, 1, 10, 1},
                                                {std::nullopt, std::nullopt, 1, 10, 1}}}));
    const Output text = RunCli({"setup", file.path(), "--catalogues", MFB_SAMPLE_DATA});
    EXPECT_EQ(text.status, kExitCalculated) << text.err;
    std::istringstream lines(text.out);
    std::string header, fan, motor, battery, cells;
    std::getline(lines, header);
    std::getline(lines, fan);
    std::getline(lines, motor);
    std::getline(lines, battery);
    std::getline(lines, cells);
    EXPECT_EQ(header.find("Option 1"), cells.find("8S2P"));
    EXPECT_EQ(header.find("Option 2"), cells.find("10S3P"));
    const std::string name = LineName(catalogue.MotorLines[5]);
    EXPECT_EQ(motor.substr(header.find("Option 2")),
              name.substr(0, name.find_last_not_of(' ') + 1));

    const SetupFile notSetup(mfb::Setup{});
    std::ofstream(notSetup.path()) << "motor.txt";
    for (const std::string& path : {notSetup.path(), file.path() + ".missing"}) {
        const Output refused = RunCli({"setup", path, "--catalogues", MFB_SAMPLE_DATA});
        EXPECT_EQ(refused.status, kExitError);
        EXPECT_EQ(refused.out, "");
        EXPECT_NE(refused.err.find("\"" + path + "\""), std::string::npos) << refused.err;
    }
}

// The flight figures use the setup's model weight and flight settings, the program's default for a
// setting it does not hold, and the flight options given in their place; the CSV and the text
// carry them, and what they rest on, as the JSON does.
TEST(SetupCommandTest, FlightFiguresFollowTheSetupUnlessOptionsAreGiven) {
    const Catalogue catalogue = test::SampleCatalogue();
    const std::optional<std::size_t> none;
    mfb::Setup setup = MakeSetup(catalogue, {{{3, 2, 2, 8, 2},
                                              {none, none, 1, 10, 1},
                                              {none, none, 1, 10, 1},
                                              {none, none, 1, 10, 1}}});
    setup.figures.modelWeight = 900;
    setup.figures.throttle = 0.5;
    const SetupFile file(setup);
    struct Row {
        std::vector<std::string> options;
        double modelWeight, throttle;
    };
    const Row rows[] = {
        {{}, 900, 0.5},
        {{"--model-weight", "1500", "--throttle", "70"}, 1500, 0.7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.modelWeight);
        std::vector<std::string> args = {"setup", file.path(), "--catalogues", MFB_SAMPLE_DATA};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const auto with = [&](const std::string& output) {
            std::vector<std::string> all = args;
            if (!output.empty()) all.push_back(output);
            const Output result = RunCli(all);
            EXPECT_EQ(result.status, kExitCalculated) << result.err;
            return result.out;
        };
        const JsonValue json = ParseJson(with("--json"));
        const std::string csv = with("--csv");
        // The JSON's rows are the CSV's.
        for (const JsonValue& row : json["comparison"].Array()) {
            std::string line = '\n' + row["caption"].String();
            for (const JsonValue& cell : row["cells"].Array()) line += ',' + cell.String();
            EXPECT_NE(csv.find(line + '\n'), std::string::npos) << line;
        }
        const JsonValue& calculation = json["options"].Array()[0]["calculation"];
        EXPECT_EQ(calculation["flight_settings"]["throttle"].Number(), row.throttle);
        EXPECT_EQ(calculation["flight_settings"]["full_throttle"].Number(),
                  FlightSettings{}.fullShare);
        const JsonValue& flight = calculation["flight"];
        EXPECT_EQ(flight["all_up_weight"].Number(),
                  row.modelWeight + calculation["pack"]["PackWeight"].Number());
        const double thrustToWeight = flight["thrust_to_weight"].Number();
        EXPECT_GT(thrustToWeight, 0);

        // The sheet's rows: the thrust to weight and what it rests on, under option 1.
        for (const std::string& row :
             {"\nThrust to weight," + FormatValue(thrustToWeight, '.') + ",,,\n",
              "\nModel without pack," + ExactNumber(row.modelWeight) + " g,,,\n",
              "\nPart throttle," + ExactNumber(row.throttle * 100) + " %,,,\n"}) {
            EXPECT_NE(csv.find(row), std::string::npos) << row << csv;
        }
        const std::string text = with("");
        const auto line = text.find("\nThrust to weight ");
        ASSERT_NE(line, std::string::npos) << text;
        EXPECT_NE(text.substr(line, text.find('\n', line + 1) - line)
                      .find(' ' + FormatValue(thrustToWeight, '.')),
                  std::string::npos)
            << text;
    }
}

}  // namespace
}  // namespace mfb::cli
