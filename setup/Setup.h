// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/Derived.h"
#include "model/Flight.h"
#include "model/OptionSlot.h"
#include "model/ResultView.h"

namespace mfb {

// Everything a modeller has chosen in the four options, and what each option showed after its last
// Calculate: what a setup file holds, what the window shows and what a comparison reads. Text is
// raw catalogue bytes (Latin-1), as the slots hold it.

// A catalogue line an option has chosen: its name (columns 1-20, the key by which an opened setup
// finds it again) and the whole line as read. Both empty while nothing is chosen.
struct ChosenLine {
    std::string name;
    std::string line;

    bool chosen() const { return !line.empty() || !name.empty(); }
    bool operator==(const ChosenLine&) const = default;
};

// The cell counts an option starts with, as its boxes show them before anyone touches them.
inline constexpr int kInitialSerie = 10;
inline constexpr int kInitialParallel = 1;
inline constexpr int kMinSerie = 1, kMaxSerie = 40;
inline constexpr int kMinParallel = 1, kMaxParallel = 10;

// What an option's column showed after a Calculate that reached its operating point (or the power
// limit): the cells that Calculate read, the nine value labels as shown (by ResultField, with the
// locale's decimal separator; empty where a label was never written), and its derived figures and
// limit margins, one sentence each.
struct ShownResult {
    int serie = 0;
    int parallel = 0;
    std::array<std::string, kResultFieldCount> values;
    std::vector<std::string> notes;

    bool operator==(const ShownResult&) const = default;
};

struct SetupOption {
    ChosenLine motor;
    ChosenLine battery;
    int fan = 1;          // 1..5
    std::string fanName;  // the fan's name as the column shows it
    // The boxes' values, whether or not a Calculate has read them yet.
    int serie = kInitialSerie;
    int parallel = kInitialParallel;
    std::optional<ShownResult> shown;  // none until a Calculate of the option reaches its end

    bool operator==(const SetupOption&) const = default;
};

// Figures a setup holds for all four options alike: the model's weight and how it is flown, so that
// an opened setup shows the flight figures it was saved with. Each is optional: absent means not
// given, and a setting not given is the program's default. Shares are fractions in the ranges of
// model/Flight.h.
struct SetupFigures {
    std::optional<double> modelWeight;  // g, the model without its pack
    std::optional<double> throttle;     // part throttle, a share of the operating point's fan rpm
    std::optional<double> fullShare;    // the share of a flight's time at full throttle
    std::optional<double> usable;       // the share of the pack's capacity a flight draws

    bool operator==(const SetupFigures&) const = default;
};

// `base` with every figure that is given in its place.
FlightSettings FlightSettingsOf(const SetupFigures& figures, FlightSettings base = {});
// Every setting given, as the window holds them.
SetupFigures SetupFiguresOf(const FlightSettings& settings);

struct Setup {
    std::array<SetupOption, kOptionCount> options;
    int selected = 1;  // the option the catalogue choices go into, 1..4
    SetupFigures figures;

    SetupOption& option(int k) { return options.at(static_cast<std::size_t>(k - 1)); }
    const SetupOption& option(int k) const { return options.at(static_cast<std::size_t>(k - 1)); }
    bool operator==(const Setup&) const = default;
};

// "6S3P": the cells of a pack as modellers write them.
std::string CellsText(int serie, int parallel);

// The start of a file name for what option `option` (1..4) shows of `slot`, as swept: its fan,
// motor, battery and cells, such as "option2-Fan-70-mm-Inrunner-3650-3900-LiPo-5000-6S3P". Only
// ASCII letters, digits, dots and dashes are kept; every other run of bytes becomes one dash.
std::string ResultFileStem(int option, const TOptionSlot& slot);

// What a column shows of a kept step below its values, each figure that has a value, then each
// limit the catalogues state, one sentence each ("C-rate: 18.20 C", "Flight time: 6.10 min",
// "Within the motor's maximum input power of 700.00 W by 12.50 %"); none without a kept step.
// `settings` are those the assessment's flight figures were worked out with.
std::vector<std::string> AssessmentLines(const std::optional<Assessment>& assessed,
                                         const FlightSettings& settings, char decimalSeparator);

}  // namespace mfb
