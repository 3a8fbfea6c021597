// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WholeFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "model/Error.h"

namespace mfb::cli {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Whatever happens, the target holds the old text or the whole new one, nothing is left beside
// it, and a link is never followed.
TEST(WholeFile, WholeOrNothing) {
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("mfbcalc-whole-" + std::to_string(::getpid()));
    const fs::path elsewhere = dir / "elsewhere.txt";
    enum class Before { Nothing, File, Link, DanglingLink };
    const struct {
        const char* what;
        Before before;
        Existing existing;
        bool finish;  // false: the writer abandons the file half way
        bool throws;
        std::string after;  // the target's text afterwards; "-" for none
    } cases[] = {
        {"new file", Before::Nothing, Existing::Refuse, true, false, "new"},
        {"replaced", Before::File, Existing::Replace, true, false, "new"},
        {"abandoned", Before::File, Existing::Replace, false, false, "old"},
        {"abandoned, nothing there", Before::Nothing, Existing::Replace, false, false, "-"},
        {"a file in the way", Before::File, Existing::Refuse, true, true, "old"},
        {"a link in the way", Before::Link, Existing::Refuse, true, true, "old"},
        {"a dangling link in the way", Before::DanglingLink, Existing::Refuse, true, true, "-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path target = dir / "out.txt";
        switch (c.before) {
            case Before::Nothing:
                break;
            case Before::File:
                std::ofstream(target) << "old";
                break;
            case Before::Link:
                std::ofstream(elsewhere) << "old";
                fs::create_symlink(elsewhere, target);
                break;
            case Before::DanglingLink:
                fs::create_symlink(elsewhere, target);
                break;
        }
        bool written = false;
        try {
            written = WriteWholeFile(target.string(), c.existing, [&](std::ostream& out) {
                out << "ne";
                if (c.finish) out << "w";
                return c.finish;
            });
            EXPECT_FALSE(c.throws);
        } catch (const Error& e) {
            EXPECT_TRUE(c.throws) << e.what();
            EXPECT_NE(std::string(e.what()).find("File exists"), std::string::npos) << e.what();
        }
        EXPECT_EQ(written, c.finish && !c.throws);
        EXPECT_EQ(fs::exists(target) ? Read(target) : "-", c.after);
        if (c.before == Before::DanglingLink) {
            EXPECT_FALSE(fs::exists(elsewhere));
        }
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(dir)) files += entry.path() != elsewhere;
        EXPECT_EQ(files, c.after == "-" && c.before == Before::Nothing ? 0u : 1u);
    }
    fs::remove_all(dir);
}

// A set of files is placed whole or not at all: a name taken between writing and placing fails
// the placing of that file, and those placed before it are taken back.
TEST(WholeFile, PlaceAllOrNone) {
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("mfbcalc-set-" + std::to_string(::getpid()));
    const char* const names[] = {"motor.txt", "battery.txt", "fan.txt"};
    for (const int blocked : {-1, 0, 1, 2}) {
        SCOPED_TRACE(blocked);
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::vector<std::unique_ptr<WholeFile>> files;
        std::vector<WholeFile*> placing;
        for (const char* name : names) {
            files.push_back(std::make_unique<WholeFile>((dir / name).string(), Existing::Refuse));
            files.back()->Stream() << name;
            placing.push_back(files.back().get());
        }
        if (blocked >= 0) std::ofstream(dir / names[blocked]) << "in the way";
        if (blocked >= 0) {
            EXPECT_THROW(PlaceAll(placing), Error);
        } else {
            PlaceAll(placing);
        }
        files.clear();
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(dir)) {
            left.push_back(entry.path().filename().string() + "=" + Read(entry.path()));
        }
        std::sort(left.begin(), left.end());
        const std::vector<std::string> expected =
            blocked >= 0 ? std::vector<std::string>{std::string(names[blocked]) + "=in the way"}
                         : std::vector<std::string>{"battery.txt=battery.txt", "fan.txt=fan.txt",
                                                    "motor.txt=motor.txt"};
        EXPECT_EQ(left, expected);
    }
    fs::remove_all(dir);
}

TEST(WholeFile, AFailureSaysWhy) {
    try {
        WriteWholeFile("/nonexistent-folder/out.txt", Existing::Replace, [](std::ostream& out) {
            out << "x";
            return true;
        });
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "cannot write \"/nonexistent-folder/out.txt\": No such file or directory");
    }
}

}  // namespace
}  // namespace mfb::cli
