// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ExploreSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "catalogue/Catalogue.h"

namespace mfb {
namespace {

constexpr SettingNaming kBoth[] = {SettingNaming::Option, SettingNaming::Label};

const char* NamingText(SettingNaming naming) {
    return naming == SettingNaming::Option ? "command line" : "window";
}

// The key and target a request ends with, or the message that refuses the settings in both
// wordings.
TEST(ExploreSettings, RankingAndPowerRange) {
    struct Row {
        const char* what;
        std::function<void(ExploreSettings&)> set;
        ExploreKey key;
        double target;
        SettingName refusal;  // empty: accepted
    };
    const std::vector<Row> rows = {
        {"nothing", [](ExploreSettings&) {}, ExploreKey::Rpm, 0, {}},
        {"a key",
         [](ExploreSettings& s) { s.key = ExploreKey::RunTime; },
         ExploreKey::RunTime,
         0,
         {}},
        {"a target alone ranks by closeness",
         [](ExploreSettings& s) { s.targetPower = 450; },
         ExploreKey::Target,
         450,
         {}},
        {"a target with closeness",
         [](ExploreSettings& s) {
             s.targetPower = 450;
             s.key = ExploreKey::Target;
         },
         ExploreKey::Target,
         450,
         {}},
        {"closeness aims at the middle of the range",
         [](ExploreSettings& s) {
             s.key = ExploreKey::Target;
             s.request.minPower = 200;
             s.request.maxPower = 900;
         },
         ExploreKey::Target,
         550,
         {}},
        {"an empty range is a range",
         [](ExploreSettings& s) {
             s.request.minPower = 300;
             s.request.maxPower = 300;
         },
         ExploreKey::Rpm,
         0,
         {}},
        {"a target with another key",
         [](ExploreSettings& s) {
             s.targetPower = 450;
             s.key = ExploreKey::Power;
         },
         ExploreKey::Rpm,
         0,
         {"--target-power ranks by closeness to it; leave out --sort or use --sort target",
          "Target power (W) ranks by closeness to it; leave it empty or rank by Closeness to "
          "target power"}},
        {"closeness without a target or a whole range",
         [](ExploreSettings& s) {
             s.key = ExploreKey::Target;
             s.request.minPower = 200;
         },
         ExploreKey::Rpm,
         0,
         {"--sort target needs --target-power W or a --power range",
          "Closeness to target power needs a target power or a shaft power range"}},
        {"thrust to weight without a model weight",
         [](ExploreSettings& s) { s.request.filter.minThrustToWeight = 1.2; },
         ExploreKey::Rpm,
         0,
         {"--sort thrust-to-weight and --min-thrust-to-weight need --model-weight G",
          "Thrust to weight needs the model's weight without its pack"}},
        {"a backward range",
         [](ExploreSettings& s) {
             s.request.minPower = 500;
             s.request.maxPower = 100;
             s.targetPower = 300;
         },
         ExploreKey::Rpm,
         0,
         {"--power range runs backwards", "The shaft power range runs backwards"}},
    };
    for (const Row& row : rows) {
        ExploreSettings settings;
        row.set(settings);
        for (const SettingNaming naming : kBoth) {
            SCOPED_TRACE(std::string(row.what) + ", " + NamingText(naming));
            try {
                const ExploreRequest request = ResolveSettings(settings, naming);
                EXPECT_TRUE(row.refusal.option.empty()) << "accepted";
                EXPECT_EQ(request.key, row.key);
                EXPECT_EQ(request.targetPower, row.target);
            } catch (const ExploreSettingError& e) {
                EXPECT_EQ(e.what(), row.refusal.In(naming));
            }
        }
    }
}

// Numbers in the separator of the front end, by the catalogues' rule; the message names the
// setting as it was given and, for a slip of separator, says so as a catalogue error does.
TEST(ExploreSettings, Numbers) {
    const std::string invalid = "' is not a valid floating point value";
    const std::string comma =
        ": it uses ',', this system's decimal separator is '.'; "
        "`mfbcalc-cli convert` rewrites a catalogue";
    const std::string point =
        ": it uses '.', this system's decimal separator is ','; "
        "`mfbcalc-cli convert` rewrites a catalogue";
    const struct {
        const char* text;
        char separator;
        double value;         // -1: refused
        std::string refusal;  // after the setting's name
    } rows[] = {
        {"60.5", '.', 60.5, ""},
        {"0", '.', 0, ""},
        {"8e-1", '.', 0.8, ""},
        {"60,5", ',', 60.5, ""},
        {" 12 ", '.', 12, ""},
        {"60,5", '.', -1, ": '60,5" + invalid + comma},
        {"60.5", ',', -1, ": '60.5" + invalid + point},
        {"-1", '.', -1, " needs a number of at least 0, not \"-1\""},
        {".", '.', -1, " needs a number of at least 0, not \".\""},
        {"inf", '.', -1, ": 'inf" + invalid},
        {"1e999", '.', -1, ": '1e999" + invalid},
        {"", '.', -1, ": '" + invalid},
        {"heavy", ',', -1, ": 'heavy" + invalid},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.text) + " with " + row.separator);
        try {
            EXPECT_EQ(ParseNumberSetting("Max current (A)", row.text, row.separator), row.value);
        } catch (const ExploreSettingError& e) {
            EXPECT_EQ(row.value, -1);
            EXPECT_EQ(e.what(), "Max current (A)" + row.refusal);
        }
    }
}

// Lists and patterns name the field as the front end shows it.
TEST(ExploreSettings, ListsAndPatternsNameTheirField) {
    const ExploreListField& series = ExploreListFields()[1];
    EXPECT_EQ(ParseListSetting(series, "8-10,4", SettingNaming::Label),
              (std::vector<int>{4, 8, 9, 10}));
    Catalogue catalogue;
    catalogue.MotorLines = {"Inrunner 2230-4500  22x30 mm", "Outrunner 5055-800  50x55 mm"};
    const ExplorePatternField& motors = ExplorePatternFields()[0];
    EXPECT_EQ(ChooseLines(motors, catalogue, "out", SettingNaming::Label),
              std::vector<std::size_t>{1});
    EXPECT_EQ(ChooseLines(motors, catalogue, std::nullopt, SettingNaming::Label).size(), 2u);
    const struct {
        std::function<void(SettingNaming)> read;
        SettingName message;
    } refusals[] = {
        {[&](SettingNaming n) { ParseListSetting(series, "0-3", n); },
         {"--serie must be between 1 and 40, not 0",
          "Cells in series must be between 1 and 40, not 0"}},
        {[&](SettingNaming n) { ChooseLines(motors, catalogue, "X*", n); },
         {"--motor \"X*\" matches no motor", "Motors \"X*\" matches no motor"}},
    };
    for (const auto& refusal : refusals) {
        for (const SettingNaming naming : kBoth) {
            try {
                refusal.read(naming);
                ADD_FAILURE() << "accepted";
            } catch (const ExploreSettingError& e) {
                EXPECT_EQ(e.what(), refusal.message.In(naming));
            }
        }
    }
}

// Fans by number and by whole name, of the blocks and of the library; a name that is no fan's, or
// several fans', is refused rather than guessed.
TEST(ExploreSettings, FansByNumberAndName) {
    Catalogue catalogue;
    const char* names[] = {"Fan 50 mm", "Fan 70 mm", "Fan 70 mm", "Fan 90 mm", "Fan 120 mm"};
    for (std::size_t j = 0; j < kFanCount; ++j) catalogue.Fans[j].Name = names[j];
    catalogue.FanLibrary.push_back({6, {}, {}, {}});
    catalogue.FanLibrary.back().fan.Name = "Fan 80 mm           ";
    const struct {
        const char* text;
        std::vector<int> fans;
        const char* refusal;  // after "--fans"
    } rows[] = {
        {"2-4,1", {1, 2, 3, 4}, ""},
        {"5,fan 80 MM , 6", {5, 6}, ""},
        {"Fan 120 mm,1", {1, 5}, ""},
        {"Fan 60 mm", {}, ": \"Fan 60 mm\" names no fan of fan.txt"},
        {"Fan 70 mm",
         {},
         ": \"Fan 70 mm\" names more than one fan (2, 3); give its number instead"},
        {"Fan 80", {}, ": \"Fan 80\" names no fan of fan.txt"},
        {"1,7", {}, ": fan.txt has fans 1 to 5 and no library fan 7"},
        {"Fan 50 mm,,2", {}, " needs fan numbers such as 1,3-5, not \"\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        try {
            EXPECT_EQ(ParseFanSetting(row.text, catalogue, SettingNaming::Option), row.fans);
            EXPECT_STREQ(row.refusal, "");
        } catch (const ExploreSettingError& e) {
            EXPECT_EQ(e.what(), "--fans" + std::string(row.refusal));
        }
    }
}

// Each field's text follows its own member and no other: a row pointing at the wrong member would
// let shards of different searches merge.
TEST(ExploreSettings, RequestFieldsFollowTheirMembers) {
    const std::vector<std::pair<std::string, std::function<void(ExploreRequest&)>>> changes = {
        {"motors", [](ExploreRequest& r) { r.space.motors = {2}; }},
        {"batteries", [](ExploreRequest& r) { r.space.batteries = {3}; }},
        {"fans", [](ExploreRequest& r) { r.space.fans = {4}; }},
        {"series", [](ExploreRequest& r) { r.space.series = {5}; }},
        {"parallels", [](ExploreRequest& r) { r.space.parallels = {6}; }},
        {"maxCurrent", [](ExploreRequest& r) { r.filter.maxCurrent = 1; }},
        {"maxWeight", [](ExploreRequest& r) { r.filter.maxWeight = 1; }},
        {"minEfficiency", [](ExploreRequest& r) { r.filter.minEfficiency = 1; }},
        {"minThrust", [](ExploreRequest& r) { r.filter.minThrust = 1; }},
        {"minFlightTime", [](ExploreRequest& r) { r.filter.minFlightTime = 1; }},
        {"minThrustToWeight", [](ExploreRequest& r) { r.filter.minThrustToWeight = 1; }},
        {"minPower", [](ExploreRequest& r) { r.minPower = 1; }},
        {"maxPower", [](ExploreRequest& r) { r.maxPower = 1; }},
        {"ignoreLimits", [](ExploreRequest& r) { r.ignoreLimits = true; }},
        {"key", [](ExploreRequest& r) { r.key = ExploreKey::Power; }},
        {"targetPower", [](ExploreRequest& r) { r.targetPower = 0.1; }},
        {"targetThrust", [](ExploreRequest& r) { r.targetThrust = 0.1; }},
        {"flight", [](ExploreRequest& r) { r.flight.modelWeight = 900; }},
        {"pareto", [](ExploreRequest& r) { r.pareto = true; }},
        {"top", [](ExploreRequest& r) { r.top = 7; }},
        {"option", [](ExploreRequest& r) { r.option = 2; }},
        {"threads", [](ExploreRequest& r) { r.threads = 3; }},
        {"decimalSeparator", [](ExploreRequest& r) { r.decimalSeparator = ','; }},
        {"verify", [](ExploreRequest& r) { r.verify = true; }},
        {"exhaustive", [](ExploreRequest& r) { r.exhaustive = true; }},
        {"shard", [](ExploreRequest& r) { r.shard = 2; }},
        {"shards", [](ExploreRequest& r) { r.shards = 2; }},
    };
    ASSERT_EQ(changes.size(), ExploreRequestFields().size());
    const ExploreRequest plain;
    for (const auto& [name, change] : changes) {
        ExploreRequest changed = plain;
        change(changed);
        std::set<std::string_view> differing;
        for (const ExploreRequestField& field : ExploreRequestFields()) {
            if (field.text(plain) != field.text(changed)) differing.insert(field.name);
        }
        EXPECT_EQ(differing, std::set<std::string_view>{name}) << name;
    }
}

}  // namespace
}  // namespace mfb
