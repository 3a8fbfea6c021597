// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WholeFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

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
