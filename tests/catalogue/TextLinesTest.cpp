// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mfb {
namespace {

using namespace std::string_literals;

struct SplitCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

class SplitLinesTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLinesTest, EndsLinesAsReadFromDisk) {
    EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, SplitLinesTest,
    testing::Values(SplitCase{"Empty", "", {}}, SplitCase{"NoLineEnd", "abc", {"abc"}},
                    SplitCase{"FinalLfAddsNoLine", "abc\n", {"abc"}},
                    SplitCase{"CrLfIsOneEnd", "a\r\nb\r\n", {"a", "b"}},
                    SplitCase{"LoneCr", "a\rb", {"a", "b"}},
                    SplitCase{"LfCrIsTwoEnds", "a\n\rb", {"a", "", "b"}},
                    SplitCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
                    SplitCase{"EmptyLinesKept", "\n\nx\n\n", {"", "", "x", ""}},
                    SplitCase{"OnlyLineEnd", "\r\n", {""}},
                    SplitCase{"NulEndsText", "a\nb\0c\nd"s, {"a", "b"}},
                    SplitCase{"NulFirst", "\0abc\n"s, {}},
                    SplitCase{"NothingTrimmed", " a\t \n\tb ", {" a\t ", "\tb "}},
                    SplitCase{"HighBytesKept", "\xe9t\xe9\n", {"\xe9t\xe9"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FieldCase {
    std::string line;
    std::size_t start, width;
    std::string field;
};

TEST(FieldTest, CutsByPositionFromShortLinesToo) {
    const FieldCase cases[] = {
        {"abcdef", 1, 3, "abc"}, {"abcdef", 4, 3, "def"},    {"abcdef", 5, 4, "ef"},
        {"abcdef", 6, 1, "f"},   {"abcdef", 7, 4, ""},       {"", 1, 44, ""},
        {"a\tb", 2, 1, "\t"},    {"  12  ", 1, 6, "  12  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Field(c.line, c.start, c.width), c.field)
            << "line '" << c.line << "' start " << c.start << " width " << c.width;
    }
}

}  // namespace
}  // namespace mfb
