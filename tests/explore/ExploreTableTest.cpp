// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ExploreTable.h"

#include <gtest/gtest.h>

namespace mfb {
namespace {

TEST(ExploreTable, CsvFieldQuotesOnlyWhatItMust) {
    const struct {
        const char* text;
        const char* field;
    } rows[] = {
        {"Inrunner 2230-4500", "Inrunner 2230-4500"},
        {"Motor 28,5 mm", "\"Motor 28,5 mm\""},
        {"6\" fan", "\"6\"\" fan\""},
        {"two\nlines", "\"two\nlines\""},
        {"", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(CsvField(row.text), row.field) << row.text;
}

}  // namespace
}  // namespace mfb
