// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the installed-to-be program itself, on the sample catalogues and on the hand-made ones.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "JsonReader.h"

namespace mfb::cli {
namespace {

const std::string kSample = MFB_SAMPLE_DATA;
const std::string kCombos = std::string(MFB_TEST_DATA) + "/cli/combos";

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Standard output is read through a pipe unless `stdoutTo` names a file to send it to instead.
Result RunProgram(const std::vector<std::string>& args, const std::string& environment = "LC_ALL=C",
                  const std::string& stdoutTo = "") {
    // Test cases run as parallel processes: each needs its own file.
    const std::string errFile =
        ::testing::TempDir() + "mfbcalc-cli-stderr-" + std::to_string(::getpid()) + ".txt";
    std::string command = "env " + environment + " " + Quote(MFBCALC_CLI);
    for (const auto& a : args) command += " " + Quote(a);
    command += " 2>" + Quote(errFile);
    if (!stdoutTo.empty()) command += " >" + Quote(stdoutTo);

    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        r.out.append(buffer, n);
    const int wait = pclose(pipe);
    r.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    std::ifstream err(errFile);
    r.err.assign(std::istreambuf_iterator<char>(err), {});
    std::remove(errFile.c_str());
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> With(std::vector<std::string> args, const std::string& extra) {
    args.push_back(extra);
    return args;
}

TEST(EndToEnd, ExitStatus) {
    struct Row {
        std::vector<std::string> args;
        int status;
    };
    const std::vector<Row> rows = {
        {{"--help"}, 0},
        {{"--catalogues", kSample, "--list"}, 0},
        {{"--catalogues", kSample, "--motor", "3", "--battery", "2", "--serie", "6", "--fan", "3"},
         0},
        {{"--catalogues", kSample, "--motor", "0", "--battery", "NiMH 2/3A", "--serie", "1"}, 3},
        {{"--catalogues", kSample, "--motor", "0", "--battery", "0", "--serie", "0"}, 2},
        {{"--catalogues", kSample, "--motor", "999", "--battery", "0"}, 2},
        {{"--catalogues", kSample, "--bogus"}, 2},
        {{"--catalogues", kSample + "/no such dir", "--motor", "0", "--battery", "0"}, 1},
        {{"--catalogues", kSample, "--motor", "0", "--battery", "0", "--decimal-separator", ","},
         1},
        {{"--catalogues", kCombos, "--motor", "0", "--battery", "Big", "--fan", "4"}, 1},
        {{"--catalogues", kCombos, "--motor", "0", "--battery", "Limit", "--serie", "1", "--fan",
          "2"},
         3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        const Result r = RunProgram(row.args);
        EXPECT_EQ(r.status, row.status) << r.err;
        // Every failure says why on stderr, in the program's words.
        if (row.status != 0) {
            EXPECT_EQ(r.err.rfind("mfbcalc-cli: ", 0), 0u) << r.err;
        }
    }
}

// Text, JSON and CSV of one run agree with each other, whatever the sample numbers are.
// Every write to a full disk fails; the program must not report success for output that never
// arrived.
TEST(EndToEnd, AnOutputThatCannotBeWrittenFails) {
    const std::vector<std::string> calculate = {"--catalogues", kSample, "--motor", "3",
                                                "--battery",    "2",     "--serie", "6"};
    const std::vector<std::vector<std::string>> rows = {
        calculate,
        With(calculate, "--json"),
        With(calculate, "--csv"),
        {"--catalogues", kSample, "--list"},
        {"--help"},
        {"explore", "--catalogues", kSample, "--serie", "6", "--parallel", "1"},
    };
    for (const auto& args : rows) {
        SCOPED_TRACE(args.back());
        const Result r = RunProgram(args, "LC_ALL=C", "/dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("mfbcalc-cli: the output could not be written"), std::string::npos)
            << r.err;
    }
}

TEST(EndToEnd, OutputsAgreeOnTheSampleCatalogues) {
    const std::vector<std::vector<std::string>> runs = {
        {"--catalogues", kSample, "--motor", "3", "--battery", "2", "--serie", "6", "--fan", "3"},
        {"--catalogues", kSample, "--motor", "Inrunner 36", "--battery", "LiPo", "--serie", "6"},
        {"--catalogues", kSample, "--motor", "0", "--battery", "0", "--serie", "3", "--parallel",
         "2", "--fan", "2", "--option", "4"},
        {"--catalogues", kSample, "--motor", "0", "--battery", "NiMH 2/3A", "--serie", "1"},
    };
    const std::pair<const char*, const char*> column[] = {
        {"Weight", " g"},    {"U Battery", " V"},  {"U Motor", " V"},
        {"R Total", " Ohm"}, {"Current", " A"},    {"Rpm", " n/min"},
        {"Pin Motor", " W"}, {"Pout Motor", " W"}, {"Efficiency", ""}};
    for (const auto& args : runs) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Result text = RunProgram(args);
        const Result json = RunProgram(With(args, "--json"));
        const Result csv = RunProgram(With(args, "--csv"));
        EXPECT_EQ(text.status, json.status);
        EXPECT_EQ(csv.status, json.status);
        EXPECT_EQ(text.err, json.err);

        const test::JsonValue v = test::ParseJson(json.out);
        std::vector<std::string> expected;
        for (const auto& [caption, unit] : column) {
            expected.push_back(std::string(caption) + ":");
            if (v["labels"].Has(caption))
                expected.back() += " " + v["labels"][caption].String() + unit;
        }
        EXPECT_EQ(Lines(text.out), expected);
        EXPECT_EQ(static_cast<double>(Lines(csv.out).size()), v["steps"].Number() + 1);

        const std::string outcome = v["outcome"].String();
        EXPECT_EQ(json.status, outcome == "calculated" ? 0 : outcome == "not_possible" ? 3 : 1);
        if (outcome == "calculated") {
            EXPECT_EQ(v["labels"].Object().size(), 9u);
            EXPECT_EQ(v["title"].String(), v["names"]["fan"].String() + "  " +
                                               v["names"]["motor"].String() + "  " +
                                               v["names"]["battery"].String());
        }
    }
}

TEST(EndToEnd, ListHasEveryCatalogueEntry) {
    const auto lineCount = [](const std::string& file) {
        std::ifstream in(kSample + "/" + file, std::ios::binary);
        std::size_t n = 0;
        for (std::string line; std::getline(in, line);) ++n;
        return n;
    };
    const Result r = RunProgram({"--catalogues", kSample, "--list"});
    ASSERT_EQ(r.status, 0);
    const auto lines = Lines(r.out);
    const std::size_t motors = lineCount("motor.txt");
    const std::size_t batteries = lineCount("battery.txt");
    ASSERT_EQ(lines.size(), 3 + motors + batteries + 5);
    EXPECT_EQ(lines[0], "Motors (--motor INDEX):");
    EXPECT_EQ(lines[1 + motors], "Batteries (--battery INDEX):");
    EXPECT_EQ(lines[2 + motors + batteries], "Fans (--fan NUMBER):");
    // Each index selects the entry listed beside it.
    const std::string& last = lines[motors];
    const std::string index = std::to_string(motors - 1);
    ASSERT_EQ(last.rfind(index + "  ", 0), 0u) << last;
    const Result chosen =
        RunProgram({"--catalogues", kSample, "--motor", index, "--battery", "0", "--json"});
    const std::string name = test::ParseJson(chosen.out)["names"]["motor"].String();
    EXPECT_EQ(last.substr(index.size() + 2, name.find_last_not_of(' ') + 1),
              name.substr(0, name.find_last_not_of(' ') + 1));
}

TEST(EndToEnd, DecimalSeparatorFromTheEnvironment) {
    // The hand-made catalogues hold no decimal separator, so they read under any.
    const std::vector<std::string> args = {"--catalogues", kCombos, "--motor", "0",
                                           "--battery",    "Big"};
    const Result c = RunProgram(args, "LC_ALL=C");
    ASSERT_EQ(c.status, 0);
    ASSERT_NE(c.out.find('.'), std::string::npos);
    // A locale the system does not have falls back to the full stop.
    EXPECT_EQ(RunProgram(args, "LC_ALL=xx_YY.UTF-8").out, c.out);
    EXPECT_EQ(RunProgram(args, "LC_ALL= LC_NUMERIC=C LANG=xx_YY.UTF-8").out, c.out);
    std::string comma = c.out;
    for (char& ch : comma)
        if (ch == '.') ch = ',';
    EXPECT_EQ(RunProgram(With(With(args, "--decimal-separator"), ",")).out, comma);
}

TEST(EndToEnd, HelpExampleRuns) {
    const Result help = RunProgram({"--help"});
    const std::string example = "mfbcalc-cli --catalogues data --motor";
    const auto at = help.out.find(example);
    ASSERT_NE(at, std::string::npos);
    std::istringstream words(
        help.out.substr(at + example.size(), help.out.find('\n', at) - at - example.size()));
    std::vector<std::string> args = {"--catalogues", kSample, "--motor"};
    for (std::string w; words >> w;) args.push_back(w);
    const Result r = RunProgram(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 9u);
}

// The explore mode through the program itself: a short run prints no progress, and the table
// shows the rows the JSON holds.
TEST(EndToEnd, ExploreRanksASmallSpace) {
    const std::vector<std::string> args = {
        "explore", "--catalogues", kSample,      "--motor", "Inrunner 36*", "--battery", "LiPo",
        "--serie", "4-6",          "--parallel", "1",       "--top",        "5"};
    const Result text = RunProgram(args);
    const Result json = RunProgram(With(args, "--json"));
    ASSERT_EQ(text.status, 0) << text.err;
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(text.err, "");
    const test::JsonValue v = test::ParseJson(json.out);
    const auto& rows = *std::get<std::shared_ptr<test::JsonArray>>(v["rows"].data);
    ASSERT_EQ(rows.size(), 5u);
    const auto lines = Lines(text.out);
    ASSERT_EQ(lines.size(), rows.size() + 3);
    // Rank, motor and battery lead each line, in words since the columns are padded.
    const auto words = [](const std::string& line) {
        std::istringstream in(line);
        std::string all, w;
        while (in >> w) all += (all.empty() ? "" : " ") + w;
        return all;
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string start = std::to_string(i + 1) + " " + rows[i]["motor"].String() + " " +
                                  rows[i]["battery"].String() + " ";
        EXPECT_EQ(words(lines[i + 1]).rfind(start, 0), 0u) << lines[i + 1];
    }
    const std::string combinations =
        std::to_string(static_cast<long long>(v["combinations"].Number()));
    EXPECT_EQ(lines.back().rfind(combinations + " combinations in ", 0), 0u) << lines.back();
}

}  // namespace
}  // namespace mfb::cli
