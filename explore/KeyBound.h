// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "explore/Explorer.h"
#include "model/OptionSlot.h"

namespace mfb {

struct FanView;

// Where a fan curve rises for good: from fromL on, L = ln P, the curve rpm(L) has a positive slope
// up to any power. None where the curve's leading coefficient does not make it rise in the end.
struct FanRise {
    double fromL = 0;
};
std::optional<FanRise> FanRiseOf(const TFanData& fan);

// What a ranked operating point keeps under: the catalogues' limits, unless the ranking ignores
// them, and the request's budgets. Infinite where nothing is kept under.
struct RankedCeilings {
    double current;     // A
    double inputPower;  // W, PinMotor, and so the shaft power too
    double shaftPower;  // W
    double motorRpm;
};

// The most the shaft power of an operating point (the kept step's PinMotor * Efficiency) can be,
// in W, for any pack of the given voltage and resistance bounds on this motor and fan; none where
// the data do not allow the argument below. `volts` is at least the pack's UBattery and `ohms` at
// most its RTotal.
//
// At the kept step the motor turns faster than the fan. With Ri and Io not negative, the motor's
// rpm is at most Kv E, where E = UMotor - Current Ri = U - I (R + Ri), and the shaft power is at
// most I E = E (U - E) / (R + Ri). Where the fan curve rises for good, a shaft power X above
// exp(Lc) (Lc on the rising part) needs the fan's rpm at Lc or more, so E at least e = rpm(Lc) /
// Kv, and then X is at most the largest I E with E >= e, E <= U - I (R + Ri), and the current and
// rpm within the ceilings. Every Lc gives a bound; the one where the two meet gives the least.
// Every figure is widened by far more than the model's and this function's rounding.
std::optional<double> ShaftPowerBound(const TMotorData& motor, const TFanData& fan,
                                      const std::optional<FanRise>& rise, double volts, double ohms,
                                      const RankedCeilings& ceilings);

// Whether KeyBound bounds the key: the keys that follow the shaft power, the pack's weight or the
// rpm.
bool KeyBounded(ExploreKey key);

// An upper bound of a ranking key over blocks of pack sizes of one motor, cell type and fan: no
// combination of the block that ranks has a larger key. A block whose bound is below the key of
// a row already among the best `top` cannot enter them, so it need not be calculated.
class KeyBound {
public:
    // None where the key, the request or the data give no proven bound: those blocks are
    // calculated.
    // `unit` holds the motor, the cell type and the fan's name; `fan` is the index in `view` of the
    // fan the model uses, whose rise `rise` is.
    static std::optional<KeyBound> For(const ExploreRequest& request, const TOptionSlot& unit,
                                       const Catalogue& catalogue, const FanView& view,
                                       std::size_t fan, const std::optional<FanRise>& rise);

    // Whether every combination of series counts [serie1, serie2] and parallel counts
    // [parallel1, parallel2] that ranks has a key below `bar`. False where that is not proven.
    bool Below(int serie1, int serie2, int parallel1, int parallel2, double bar) const;

private:
    KeyBound() = default;
    // A shaft power below which the key of a row with a pack of at least `packWeight` g is below
    // `bar`.
    double ShaftPowerBar(double bar, double packWeight) const;
    RankedCeilings CeilingsAt(int parallel) const;

    const ExploreRequest* request_ = nullptr;
    TMotorData motor_;
    TBatteryData cell_;
    // Copies: a view of a library fan lasts no longer than the search that asks for the bound.
    TFanData fan_;
    std::optional<FanRise> rise_;
    TFanJetData jet_;
    double wireResistance_ = 0;
    RankedCeilings ceilings_{};
    double cellAmpereHours_ = 0;  // a cell's capacity; 0 where no rate limit applies
    double maxRate_ = 0;
};

}  // namespace mfb
