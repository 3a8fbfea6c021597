// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Derived.h"
#include "model/FigureRows.h"
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

// The combination a Calculate was for: the names its column showed, the fan it swept with and the
// cells it read. Names are catalogue names (columns 1-20); empty where nothing was chosen.
struct CalculatedFor {
    std::string motor;
    std::string battery;
    int fan = 1;
    std::string fanName;
    int serie = kInitialSerie;
    int parallel = kInitialParallel;

    bool operator==(const CalculatedFor&) const = default;
};

// The outcome of an option's last Calculate that came to an end, with the combination it was for.
// Values are kept by what they are, as the column and its figure rows showed them (with the
// locale's decimal separator): the nine value labels this Calculate wrote (empty where it wrote
// none), the figures below them (where one is not known, why, starting kNotKnown, or empty) and,
// by LimitKind, the margin to each
// limit the catalogues state ("Within 700.00 W by 12.50 %"; empty where none is stated).
// `notPossible` holds the warning's words, on one line, when no operating point was found; then
// there are no figures or limits, and the values are only those the broken-off sweep wrote.
inline constexpr std::string_view kNotKnown = "Not known";
struct ShownResult {
    CalculatedFor calculatedFor;
    std::string notPossible;
    std::array<std::string, kResultFieldCount> values;
    std::array<std::string, kShownFigureCount> figures;
    std::array<std::string, kLimitKindCount> limits;
    std::string allUpWeight;  // the model and its pack, "1834.00 g"; empty without a model weight

    bool reached() const { return notPossible.empty(); }
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
    std::optional<ShownResult> shown;  // none until a Calculate of the option comes to an end

    bool operator==(const SetupOption&) const = default;
};

// What the option has chosen now, in the terms of a Calculate.
CalculatedFor ChosenCombination(const SetupOption& option);
// Whether the option's shown result belongs to what it has chosen now. A result that does not
// stays shown, marked as the previous Calculate's, but is never taken for the current choice.
bool ShowsCurrent(const SetupOption& option);
// "Inrunner 2230-4500, NiMH 2/3A 1100 3S1P, Fan 90 mm"
std::string CombinationText(const CalculatedFor& combination);

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

// The outcome of a Calculate of `combination` that ended as `report` tells, after it wrote
// `values` into its column; `assessed` is the assessment of its kept step under `settings`.
ShownResult ShownOf(const CalculatedFor& combination, const CalculateReport& report,
                    const std::array<std::string, kResultFieldCount>& values,
                    const std::optional<Assessment>& assessed, const FlightSettings& settings,
                    char decimalSeparator);

// Catalogue names are fixed-width columns padded with blanks.
std::string ShownName(std::string_view text);

}  // namespace mfb
