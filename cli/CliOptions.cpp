// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliOptions.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <string_view>

#include "catalogue/FanLibrary.h"
#include "cli/FlightOptions.h"
#include "model/OptionSlot.h"
#include "model/PartLoad.h"

namespace mfb::cli {

namespace {

std::string ParseSelector(const std::string& option, const std::string& text) {
    if (text.empty()) throw UsageError(option + " needs an index or the start of an entry");
    return text;
}

void SetMode(CliOptions& options, OutputMode mode, const std::string& flag, bool& modeSet) {
    if (modeSet) throw UsageError(flag + " cannot be combined with another output mode");
    options.mode = mode;
    modeSet = true;
}

}  // namespace

CliOptions ParseCliOptions(const std::vector<std::string>& args) {
    CliOptions options;
    if (AsksForHelp(args)) {
        options.mode = OutputMode::Help;
        return options;
    }

    bool modeSet = false;
    for (ArgumentReader reader(args); reader.Next();) {
        const std::string& name = reader.Name();
        const auto flag = [&](OutputMode mode) {
            reader.NoValue();
            SetMode(options, mode, name, modeSet);
        };
        const auto value = [&] { return reader.Value(); };

        if (name == "--json") {
            flag(OutputMode::Json);
        } else if (name == "--csv") {
            flag(OutputMode::Csv);
        } else if (name == "--list") {
            flag(OutputMode::List);
        } else if (name == "--catalogues") {
            options.catalogueDir = ParseDirectory(name, value());
        } else if (name == "--motor") {
            options.motor = ParseSelector(name, value());
        } else if (name == "--battery") {
            options.battery = ParseSelector(name, value());
        } else if (name == "--fan") {
            options.fan = ParseCount(name, value(), 1, kMostFanNumber);
        } else if (name == "--serie") {
            options.serie = ParseCount(name, value(), kMinSerie, kMaxSerie);
        } else if (name == "--parallel") {
            options.parallel = ParseCount(name, value(), kMinParallel, kMaxParallel);
        } else if (name == "--option") {
            options.option = ParseCount(name, value(), 1, kOptionCount);
        } else if (name == "--part-load") {
            const auto step = reader.OptionalValue();
            options.partLoadStep = step ? ParseCount(name, *step, 1, 100) / 100.0 : kPartLoadStep;
        } else if (name == "--decimal-separator") {
            options.decimalSeparator = ParseSeparator(value());
        } else if (!ReadFlightOption(reader, options.flight)) {
            throw UsageError("unknown argument \"" + reader.Given() + "\"");
        }
    }
    return options;
}

}  // namespace mfb::cli
