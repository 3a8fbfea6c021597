// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mfb::cli {
namespace {

using Args = std::vector<std::string>;

TEST(CliOptions, DefaultsWithoutArguments) {
    const CliOptions o = ParseCliOptions({});
    EXPECT_EQ(o.catalogueDir, ".");
    EXPECT_FALSE(o.motor);
    EXPECT_FALSE(o.battery);
    EXPECT_EQ(o.fan, 1);
    EXPECT_EQ(o.serie, 10);
    EXPECT_EQ(o.parallel, 1);
    EXPECT_EQ(o.option, 1);
    EXPECT_EQ(o.mode, OutputMode::Text);
    EXPECT_FALSE(o.decimalSeparator);
}

TEST(CliOptions, AcceptedArguments) {
    struct Row {
        Args args;
        CliOptions expected;
    };
    const auto with = [](auto change) {
        CliOptions o;
        change(o);
        return o;
    };
    const std::vector<Row> rows = {
        {{"--catalogues", "data"}, with([](CliOptions& o) { o.catalogueDir = "data"; })},
        {{"--catalogues=some dir"}, with([](CliOptions& o) { o.catalogueDir = "some dir"; })},
        {{"--motor", "3"}, with([](CliOptions& o) { o.motor = "3"; })},
        {{"--motor=Inrunner 36"}, with([](CliOptions& o) { o.motor = "Inrunner 36"; })},
        {{"--battery", "LiPo"}, with([](CliOptions& o) { o.battery = "LiPo"; })},
        {{"--fan", "5"}, with([](CliOptions& o) { o.fan = 5; })},
        {{"--serie", "1"}, with([](CliOptions& o) { o.serie = 1; })},
        {{"--serie=40"}, with([](CliOptions& o) { o.serie = 40; })},
        {{"--parallel", "10"}, with([](CliOptions& o) { o.parallel = 10; })},
        {{"--option", "4"}, with([](CliOptions& o) { o.option = 4; })},
        {{"--decimal-separator", ","}, with([](CliOptions& o) { o.decimalSeparator = ','; })},
        {{"--json"}, with([](CliOptions& o) { o.mode = OutputMode::Json; })},
        {{"--csv"}, with([](CliOptions& o) { o.mode = OutputMode::Csv; })},
        {{"--list"}, with([](CliOptions& o) { o.mode = OutputMode::List; })},
        {{"--serie", "abc", "--help"}, with([](CliOptions& o) { o.mode = OutputMode::Help; })},
        {{"-h"}, with([](CliOptions& o) { o.mode = OutputMode::Help; })},
        // The step is optional: a following option is not taken for it.
        {{"--part-load"}, with([](CliOptions& o) { o.partLoadStep = 0.1; })},
        {{"--part-load", "25"}, with([](CliOptions& o) { o.partLoadStep = 0.25; })},
        {{"--part-load", "--csv"}, with([](CliOptions& o) {
             o.partLoadStep = 0.1;
             o.mode = OutputMode::Csv;
         })},
        {{"--json", "--fan", "2", "--motor", "0", "--battery", "1", "--serie", "6", "--parallel",
          "2", "--option", "3"},
         with([](CliOptions& o) {
             o.mode = OutputMode::Json;
             o.fan = 2;
             o.motor = "0";
             o.battery = "1";
             o.serie = 6;
             o.parallel = 2;
             o.option = 3;
         })},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        const CliOptions o = ParseCliOptions(row.args);
        EXPECT_EQ(o.catalogueDir, row.expected.catalogueDir);
        EXPECT_EQ(o.motor, row.expected.motor);
        EXPECT_EQ(o.battery, row.expected.battery);
        EXPECT_EQ(o.fan, row.expected.fan);
        EXPECT_EQ(o.serie, row.expected.serie);
        EXPECT_EQ(o.parallel, row.expected.parallel);
        EXPECT_EQ(o.option, row.expected.option);
        EXPECT_EQ(o.mode, row.expected.mode);
        EXPECT_EQ(o.decimalSeparator, row.expected.decimalSeparator);
        EXPECT_EQ(o.partLoadStep, row.expected.partLoadStep);
    }
}

TEST(CliOptions, RejectedArguments) {
    struct Row {
        Args args;
        std::string message;
    };
    const std::vector<Row> rows = {
        {{"--serie", "0"}, "--serie must be between 1 and 40, not 0"},
        {{"--serie", "41"}, "--serie must be between 1 and 40, not 41"},
        {{"--serie", "99999999999999999999"},
         "--serie must be between 1 and 40, not 99999999999999999999"},
        {{"--serie", "-1"}, "--serie must be between 1 and 40, not -1"},
        {{"--serie", "6.5"}, "--serie needs a whole number, not \"6.5\""},
        {{"--serie", ""}, "--serie needs a whole number, not \"\""},
        {{"--serie"}, "--serie needs a value"},
        {{"--parallel", "11"}, "--parallel must be between 1 and 10, not 11"},
        {{"--parallel", "0"}, "--parallel must be between 1 and 10, not 0"},
        {{"--fan", "6"}, "--fan must be between 1 and 5, not 6"},
        {{"--fan", "0"}, "--fan must be between 1 and 5, not 0"},
        {{"--option", "5"}, "--option must be between 1 and 4, not 5"},
        {{"--option", " 2"}, "--option needs a whole number, not \" 2\""},
        {{"--motor", ""}, "--motor needs an index or the start of an entry"},
        {{"--battery"}, "--battery needs a value"},
        {{"--catalogues="}, "--catalogues needs a directory"},
        {{"--decimal-separator", ",,"},
         "--decimal-separator needs one character other than a digit or a blank, not \",,\""},
        {{"--decimal-separator", "5"},
         "--decimal-separator needs one character other than a digit or a blank, not \"5\""},
        {{"--json", "--csv"}, "--csv cannot be combined with another output mode"},
        {{"--list", "--json"}, "--json cannot be combined with another output mode"},
        {{"--json=yes"}, "--json takes no value"},
        {{"--fan", "2", "--fan", "3"}, "--fan is given more than once"},
        {{"--motor=1", "--motor", "2"}, "--motor is given more than once"},
        {{"--part-load", "0"}, "--part-load must be between 1 and 100, not 0"},
        {{"--verbose"}, "unknown argument \"--verbose\""},
        {{"3"}, "unknown argument \"3\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        try {
            ParseCliOptions(row.args);
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), row.message);
        }
    }
}

}  // namespace
}  // namespace mfb::cli
