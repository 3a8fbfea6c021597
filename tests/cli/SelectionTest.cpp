// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "cli/CliChart.h"
#include "cli/CliOptions.h"
#include "cli/LineOrder.h"

namespace mfb::cli {
namespace {

TEST(LineOrder, SortsWithCaseIgnoredAndKeepsEqualLinesInFileOrder) {
    std::vector<std::string> lines = {"b motor",  "A motor",    "c motor", "a motor",
                                      "\xC9mile", "\xE9mile 2", "Zulu",    ""};
    SortLines(lines, CaseInsensitiveLess);
    const std::vector<std::string> expected = {"",        "A motor", "a motor",  "b motor",
                                               "c motor", "Zulu",    "\xC9mile", "\xE9mile 2"};
    EXPECT_EQ(lines, expected);
}

class SelectLineTest : public ::testing::Test {
protected:
    // Sorted as the motor list is; entry texts are columns 1-44.
    const std::vector<std::string> lines_ = {
        "Alpha 1000" + std::string(34, ' ') + "1000",
        "alpha 2000" + std::string(34, ' ') + "2000",
        "Bravo 1000" + std::string(34, ' ') + "1000",
        "\xC9mile 900",
    };
};

TEST_F(SelectLineTest, ChoosesByIndexOrByTheStartOfTheEntry) {
    struct Row {
        std::string selector;
        std::size_t index;
    };
    const std::vector<Row> rows = {
        {"0", 0},           {"3", 3},
        {"003", 3},         {"Alpha", 0},  // both alphas match: the first in sorted order
        {"ALPHA 2", 1},                    // case ignored
        {"alpha 1000 ", 0},                // blanks belong to the entry text
        {"b", 2},           {"\xE9", 3},   // Latin-1 case folding
        {"A", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selector);
        EXPECT_EQ(SelectLine(lines_, row.selector, "motor"), row.index);
    }
}

TEST_F(SelectLineTest, ReportsWhatMatchesNothing) {
    struct Row {
        std::vector<std::string> lines;
        std::string selector;
        std::string message;
    };
    const std::vector<Row> rows = {
        {lines_, "4", "no motor with index 4: the list has 4 entries, 0 to 3"},
        {lines_, "99999999999999999999999",
         "no motor with index 99999999999999999999999: the list has 4 entries, 0 to 3"},
        {{}, "0", "no motor with index 0: the list is empty"},
        {lines_, "Charlie", "no motor entry starts with \"Charlie\""},
        {lines_, "-1", "no motor entry starts with \"-1\""},
        // The kv column lies beyond the entry text.
        {lines_, "Alpha 1000" + std::string(34, ' ') + "1",
         "no motor entry starts with \"Alpha 1000" + std::string(34, ' ') + "1\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selector);
        try {
            SelectLine(row.lines, row.selector, "motor");
            ADD_FAILURE() << "selected something";
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), row.message);
        }
    }
}

TEST(HeldRange, OrdersBoundsAndWidensNarrowRanges) {
    struct Row {
        double first, second, min, max;
    };
    const std::vector<Row> rows = {
        {1.0, 2.0, 1.0, 2.0},
        {2.0, 1.0, 1.0, 2.0},
        {0.0, 0.0, 0.0, 1e-10},
        {-5.0, -5.0, -5.0, -5.0 + 1e-10},
        {3.0, 3.0 + 2e-10, 3.0, 3.0 + 2e-10},
        {1e7, 1e7, 1e7, 1e7},  // 1e-10 is below half an ulp of ten million
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.first << ", " << row.second);
        const AxisRange range = HeldRange(row.first, row.second);
        EXPECT_EQ(range.min, row.min);
        EXPECT_EQ(range.max, row.max);
    }
}

}  // namespace
}  // namespace mfb::cli
