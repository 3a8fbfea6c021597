// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace mfb {

struct ResultPoint;

inline constexpr char kNotPossibleMessage[] = "Combination not possible";

// Why a Calculate has no operating point to show. The pack's reason breaks the sweep off; the
// motor's are found once it has ended, in its kept step: an operating point is one at which the
// motor turns and delivers power, and the sweep's rule of keeping the last step with the motor
// faster than the fan finds one only where the curves cross at a positive shaft power.
enum class NotPossibleReason {
    None,
    PackTooWeak,   // the pack cannot deliver the power of a step
    MotorStalls,   // the kept step has the motor standing or turning backwards, or no shaft power
    MotorTooSlow,  // no step was kept: the fan is faster than the motor from the start power on
};

struct NotPossibleRow {
    NotPossibleReason reason;
    std::string_view key;    // in JSON; the pack's is the plain "not_possible" scripts know
    std::string_view words;  // the line under "Combination not possible"; empty: none
};
inline constexpr std::array<NotPossibleRow, 3> kNotPossibleRows{{
    {NotPossibleReason::PackTooWeak, "not_possible", ""},
    {NotPossibleReason::MotorStalls, "motor_stalls",
     "motor stalls before the fan absorbs its power"},
    {NotPossibleReason::MotorTooSlow, "motor_too_slow",
     "motor too slow for this fan already at 75 W"},
}};

constexpr const NotPossibleRow& RowOf(NotPossibleReason reason) {
    for (const NotPossibleRow& row : kNotPossibleRows) {
        if (row.reason == reason) return row;
    }
    return kNotPossibleRows[0];
}

// Whether the kept step of a finished sweep is an operating point, and if not, why: none kept
// (all zero), or one with motor rpm or efficiency, and so shaft power, at or below 0.
NotPossibleReason KeptStepReason(const ResultPoint& kept);

// "Combination not possible", with the reason's words on a second line where it has any.
std::string NotPossibleMessage(NotPossibleReason reason);

}  // namespace mfb
