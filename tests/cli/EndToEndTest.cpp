// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the installed-to-be program itself, on the sample catalogues and on the hand-made ones.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "json/JsonReader.h"

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
        // Every failure says why on stderr, in the program's words; one on a catalogue line as
        // check tells it.
        if (row.status != 0) {
            EXPECT_TRUE(r.err.rfind("mfbcalc-cli: ", 0) == 0 ||
                        r.err.find(": error: ") != std::string::npos)
                << r.err;
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

// Starts the program with standard output on a pipe, reads its first bytes (so it is writing
// rows, held up by the full pipe), sends `signal`, then reads the rest.
Result SignalWhileWriting(const std::vector<std::string>& args, int signal) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        if (FILE* null = std::freopen("/dev/null", "w", stderr); null == nullptr) ::_exit(127);
        std::vector<char*> argv = {const_cast<char*>(MFBCALC_CLI)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(MFBCALC_CLI, argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    Result r;
    char buffer[4096];
    bool sent = false;
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        r.out.append(buffer, static_cast<std::size_t>(n));
        if (!sent) sent = ::kill(pid, signal) == 0;
    }
    ::close(fds[0]);
    int wait = 0;
    ::waitpid(pid, &wait, 0);
    r.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    return r;
}

// A signal while rows are written ends them at a row boundary: the CSV with a last line that
// says so, the JSON parsed whole and marked partial, and the shell's status for the signal.
TEST(EndToEnd, ASignalEndsTheOutputValidlyAndSaysSo) {
    const std::vector<std::string> search = {"explore", "--catalogues", kSample, "--serie",
                                             "4-6",     "--top",        "100000"};
    const Result csv = SignalWhileWriting(With(search, "--csv"), SIGINT);
    EXPECT_EQ(csv.status, 130);
    const std::vector<std::string> lines = Lines(csv.out);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines.back().rfind("# incomplete: the output was stopped by a signal after ", 0), 0u)
        << lines.back();
    const auto commas = [](const std::string& line) {
        return std::count(line.begin(), line.end(), ',');
    };
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(commas(lines[i]), commas(lines[0])) << lines[i];
    }

    const Result json = SignalWhileWriting(With(search, "--json"), SIGTERM);
    EXPECT_EQ(json.status, 143);
    const JsonValue parsed = ParseJson(json.out);
    EXPECT_TRUE(std::get<bool>(parsed["partial"].data));
    EXPECT_LT(static_cast<double>(parsed["rows"].Array().size()),
              parsed["counts"]["ranked"].Number());
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

        const JsonValue v = ParseJson(json.out);
        std::vector<std::string> expected;
        for (const auto& [caption, unit] : column) {
            expected.push_back(std::string(caption) + ":");
            if (v["labels"].Has(caption))
                expected.back() += " " + v["labels"][caption].String() + unit;
        }
        auto lines = Lines(text.out);
        lines.resize(std::min(lines.size(), expected.size()));
        EXPECT_EQ(lines, expected);
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
    // The five fans of the blocks, then the one of the sample's library.
    ASSERT_EQ(lines.size(), 3 + motors + batteries + 5 + 1);
    EXPECT_EQ(lines.back(), "6  Fan 80 mm");
    EXPECT_EQ(lines[0], "Motors (--motor INDEX):");
    EXPECT_EQ(lines[1 + motors], "Batteries (--battery INDEX):");
    EXPECT_EQ(lines[2 + motors + batteries], "Fans (--fan NUMBER):");
    // Each index selects the entry listed beside it.
    const std::string& last = lines[motors];
    const std::string index = std::to_string(motors - 1);
    ASSERT_EQ(last.rfind(index + "  ", 0), 0u) << last;
    const Result chosen =
        RunProgram({"--catalogues", kSample, "--motor", index, "--battery", "0", "--json"});
    const std::string name = ParseJson(chosen.out)["names"]["motor"].String();
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
    EXPECT_EQ(Lines(r.out).at(8).rfind("Efficiency: ", 0), 0u);
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
    const JsonValue v = ParseJson(json.out);
    const auto& rows = *std::get<std::shared_ptr<JsonArray>>(v["rows"].data);
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

// Four shards run as four processes and merged rank exactly as one run: the same rows in the same
// order, the same counts, in every output but the seconds taken.
TEST(EndToEnd, MergedShardsRankAsOneRun) {
    // Every combination calculated, so that the counts agree too: a ranking that settles
    // combinations by bounds settles in each shard what that shard's own rows allow.
    const std::vector<std::string> search = {
        "explore",      "--catalogues", kSample, "--battery", "LiPo",   "--serie", "3-12",
        "--max-weight", "900",          "--top", "30",        "--sort", "power",   "--exhaustive"};
    const auto withoutSeconds = [](const std::string& json) {
        std::string kept;
        for (const std::string& line : Lines(json)) {
            if (line.find("\"seconds\"") == std::string::npos) kept += line + "\n";
        }
        return kept;
    };
    std::vector<std::string> merge = {"explore", "--catalogues", kSample, "--merge"};
    for (int k = 1; k <= 4; ++k) {
        const Result shard = RunProgram(With(With(search, "--shard"), std::to_string(k) + "/4"));
        ASSERT_EQ(shard.status, 0) << shard.err;
        const std::string file = ::testing::TempDir() + "mfbcalc-shard-" +
                                 std::to_string(::getpid()) + "-" + std::to_string(k) + ".txt";
        std::ofstream(file) << shard.out;
        merge.push_back(file);
    }
    for (const char* output : {"--csv", "--json"}) {
        const Result one = RunProgram(With(search, output));
        const Result merged = RunProgram(With(merge, output));
        ASSERT_EQ(one.status, 0) << one.err;
        ASSERT_EQ(merged.status, 0) << merged.err;
        EXPECT_EQ(withoutSeconds(merged.out), withoutSeconds(one.out)) << output;
    }
    const Result missing = RunProgram({merge.begin(), merge.end() - 1});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("shard 4 of 4 is missing"), std::string::npos) << missing.err;
    for (std::size_t i = 4; i < merge.size(); ++i) std::remove(merge[i].c_str());
}

// A fresh directory for a test, holding copies of the sample catalogues.
std::filesystem::path SampleCopy(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("mfbcalc-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* file : {"motor.txt", "battery.txt", "fan.txt"}) {
        fs::copy_file(fs::path(kSample) / file, dir / file);
    }
    return dir;
}

void Overwrite(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// check reports by exit status, and a planted mistake at its file, line and columns.
TEST(EndToEnd, CheckReportsWhereTheMistakesAre) {
    const auto dir = SampleCopy("check");
    const std::string line = "Inrunner 2230-4500  22x30 mm   48 g  2-3S   4500  0.078    1.2";
    const struct {
        const char* what;
        std::string motors;
        int status;
        std::string shown;
    } rows[] = {
        {"the samples", "", 0, "0 errors, 0 warnings\n"},
        {"kv one digit too long", std::string(line).replace(44, 5, "12000") + "\n", 4,
         dir.string() + "/motor.txt:1:45-49: warning: kv '12000' runs past its columns 45-48 and "
                        "is read as '1200'\n0 errors, 1 warnings\n"},
        {"a comma in Ri", std::string(line).replace(51, 1, ",") + "\n", 1,
         dir.string() + "/motor.txt:1:51-55: error: Ri: '0,078' is not a valid floating point "
                        "value: it uses ',', this system's decimal separator is '.'; "
                        "`mfbcalc-cli convert` rewrites a catalogue\n1 errors, 0 warnings\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (!row.motors.empty()) Overwrite(dir / "motor.txt", row.motors);
        const Result r = RunProgram({"check", "--catalogues", dir.string()});
        EXPECT_EQ(r.status, row.status) << r.err;
        EXPECT_EQ(r.out, row.shown);
        const Result json = RunProgram({"check", "--catalogues", dir.string(), "--json"});
        EXPECT_EQ(json.status, row.status);
        const JsonValue v = ParseJson(json.out);
        EXPECT_EQ(static_cast<int>(v["errors"].Number()) > 0, row.status == 1);
    }
    std::filesystem::remove_all(dir);
}

// Converted catalogues read with the new separator give exactly the sweep of the originals, and a
// second conversion into the same folder overwrites nothing.
TEST(EndToEnd, ConvertedCataloguesCalculateAlike) {
    const auto out = SampleCopy("convert");
    std::filesystem::remove_all(out);
    const std::vector<std::string> convert = {
        "convert", "--decimal-separator", ",", "--catalogues", kSample, "--output", out.string()};
    const Result first = RunProgram(convert);
    ASSERT_EQ(first.status, 0) << first.err;
    for (const auto& [motor, battery] : {std::pair{"7", "3"}, std::pair{"3", "2"}}) {
        const std::vector<std::string> args = {"--motor", motor,   "--battery", battery, "--serie",
                                               "6",       "--fan", "3",         "--csv"};
        std::vector<std::string> original = {"--catalogues", kSample};
        std::vector<std::string> converted = {"--catalogues", out.string(), "--decimal-separator",
                                              ","};
        original.insert(original.end(), args.begin(), args.end());
        converted.insert(converted.end(), args.begin(), args.end());
        const Result a = RunProgram(original);
        const Result b = RunProgram(converted);
        EXPECT_EQ(b.status, a.status) << b.err;
        EXPECT_EQ(b.out, a.out);
        EXPECT_GT(Lines(a.out).size(), 100u);
    }
    const Result again = RunProgram(convert);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
    std::filesystem::remove_all(out);
}

// A convert that runs out of room on fan.txt, the last file it writes, fails and takes back the
// two it wrote: no catalogue cut short is left to be loaded, and nothing blocks the next attempt.
TEST(EndToEnd, ConvertThatCannotWriteLeavesNoCatalogue) {
    const auto in = SampleCopy("convert-in");
    std::ofstream(in / "fan.txt", std::ios::app) << std::string(1 << 20, '#') << '\n';
    const auto out = in.string() + "-out";
    std::filesystem::remove_all(out);
    // Files may grow to 64 blocks: the samples' motor.txt and battery.txt fit, fan.txt does not.
    const std::string limited = "LC_ALL=C sh -c 'trap \"\" XFSZ; ulimit -f 64; exec \"$0\" \"$@\"'";
    const Result r = RunProgram(
        {"convert", "--decimal-separator", ",", "--catalogues", in.string(), "--output", out},
        limited);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("mfbcalc-cli: cannot write \"" + out + "/fan.txt\""), std::string::npos)
        << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(out));
    std::filesystem::remove_all(in);
    std::filesystem::remove_all(out);
}

// SIGTERM at any moment of a convert leaves each catalogue whole or absent, and nothing else.
TEST(EndToEnd, ConvertStoppedBySignalLeavesWholeFilesOrNone) {
    const auto in = SampleCopy("convert-signal");
    const std::string whole = in.string() + "-whole";
    std::filesystem::remove_all(whole);
    ASSERT_EQ(RunProgram({"convert", "--decimal-separator", ",", "--catalogues", in.string(),
                          "--output", whole})
                  .status,
              0);
    for (const int microseconds : {0, 2000, 5000, 10000, 20000, 40000}) {
        SCOPED_TRACE(microseconds);
        const std::string out = in.string() + "-out";
        std::filesystem::remove_all(out);
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (std::freopen("/dev/null", "w", stderr) == nullptr) ::_exit(127);
            ::execl(MFBCALC_CLI, MFBCALC_CLI, "convert", "--decimal-separator", ",", "--catalogues",
                    in.c_str(), "--output", out.c_str(), nullptr);
            ::_exit(127);
        }
        ::usleep(static_cast<useconds_t>(microseconds));
        ::kill(pid, SIGTERM);
        int wait = 0;
        ::waitpid(pid, &wait, 0);
        const int status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
        EXPECT_TRUE(status == 0 || status == 143 || (WIFSIGNALED(wait) && status == -1));
        if (!std::filesystem::exists(out)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(out)) {
            const std::string name = entry.path().filename().string();
            ASSERT_TRUE(name == "motor.txt" || name == "battery.txt" || name == "fan.txt") << name;
            std::ifstream a(entry.path(), std::ios::binary),
                b(whole + "/" + name, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}),
                      std::string(std::istreambuf_iterator<char>(b), {}))
                << name;
        }
        std::filesystem::remove_all(out);
    }
    std::filesystem::remove_all(in);
    std::filesystem::remove_all(whole);
}

#ifdef MFBCALC_LAUNCH
bool HasLocale(const std::string& name) {
    FILE* pipe = popen("locale -a 2>/dev/null", "r");
    if (!pipe) return false;
    std::string all;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        all.append(buffer, n);
    pclose(pipe);
    for (const std::string& line : Lines(all)) {
        if (line == name) return true;
    }
    return false;
}

// The environment of a locale that writes "1,5": an installed one, else one compiled for the test
// alone (localedef, from the locales package's sources); nothing when neither can be had.
std::optional<std::string> CommaLocale(const std::filesystem::path& scratch) {
    if (HasLocale("de_DE.utf8")) return "LC_ALL=de_DE.UTF-8";
    const std::string command = "localedef -i de_DE -f UTF-8 " +
                                Quote((scratch / "de_DE.UTF-8").string()) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    return "LOCPATH=" + Quote(scratch.string()) + " LC_ALL=de_DE.UTF-8";
}

// The launcher in an installed tree of its own, with a stand-in window program that notes where it
// was started and what it was given: at the first start in a comma locale the user's folder
// appears, converted; an existing folder is left as it is, and a full-stop locale needs none. A
// setup file named relative to where the launcher started is passed on by its full path.
TEST(EndToEnd, LauncherGivesCommaLocalesConvertedCatalogues) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::path(::testing::TempDir()) / ("mfbcalc-launch-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share/mfbcalc/catalogues");
    fs::create_directories(root / "home");
    for (const char* file : {"motor.txt", "battery.txt", "fan.txt"}) {
        fs::copy_file(fs::path(kSample) / file, root / "share/mfbcalc/catalogues" / file);
    }
    // The build tree's copy is not executable; installing makes it so.
    fs::copy_file(MFBCALC_LAUNCH, root / "bin/mfbcalc-launch");
    fs::permissions(root / "bin/mfbcalc-launch", fs::perms::owner_all);
    fs::create_symlink(MFBCALC_CLI, root / "bin/mfbcalc-cli");
    Overwrite(root / "bin/mfbcalc",
              "#!/bin/sh\nprintf '%s\\n' \"$(pwd -P)\" \"$1\" > \"$HOME/started-in\"\n");
    fs::permissions(root / "bin/mfbcalc", fs::perms::owner_all);
    const fs::path user = root / "home/.local/share/mfbcalc";
    const std::string samples = fs::canonical(root / "share/mfbcalc/catalogues").string();

    std::string given;
    const auto start = [&](const std::string& locale, const std::string& setup = "") {
        const std::string command =
            "cd " + Quote(root.string()) + " && env -i HOME=" + Quote((root / "home").string()) +
            " PATH=/usr/bin:/bin " + locale + " " + Quote((root / "bin/mfbcalc-launch").string()) +
            (setup.empty() ? "" : " " + Quote(setup));
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream in(root / "home/started-in");
        std::string folder;
        std::getline(in, folder);
        std::getline(in, given);
        return folder;
    };

    Overwrite(root / "trial.mfbsetup", "{}");
    EXPECT_EQ(start("LC_ALL=C.UTF-8", "trial.mfbsetup"), samples);
    EXPECT_EQ(given, fs::canonical(root / "trial.mfbsetup").string());
    EXPECT_EQ(start("LC_ALL=C.UTF-8"), samples);
    EXPECT_EQ(given, "");
    EXPECT_FALSE(fs::exists(user));
    const auto locale = CommaLocale(root);
    if (!locale) {
        fs::remove_all(root);
        GTEST_SKIP() << "no de_DE locale, and none could be compiled (package locales)";
    }
    const std::string comma = *locale;
    EXPECT_EQ(start(comma), fs::weakly_canonical(user).string());
    std::ifstream motors(user / "motor.txt");
    std::string first;
    std::getline(motors, first);
    EXPECT_EQ(first, "Inrunner 2230-4500  22x30 mm   48 g  2-3S   4500  0,078    1,2    25    250");

    // A folder of the user's own, even an incomplete one, is never touched.
    fs::remove_all(user);
    fs::create_directories(user);
    Overwrite(user / "motor.txt", "mine\n");
    EXPECT_EQ(start(comma), samples);
    EXPECT_EQ(fs::file_size(user / "motor.txt"), 5u);
    EXPECT_FALSE(fs::exists(user / "fan.txt"));
    fs::remove_all(root);
}
#endif

}  // namespace
}  // namespace mfb::cli
