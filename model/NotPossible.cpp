// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/NotPossible.h"

#include "model/Sweep.h"

namespace mfb {

NotPossibleReason KeptStepReason(const ResultPoint& kept) {
    // The kept step lies at least one step above the start power; all zero means none was kept.
    if (kept.PinMotor == 0) return NotPossibleReason::MotorTooSlow;
    // The shaft power, PinMotor (75 W or more) times the efficiency, has the efficiency's sign.
    if (!(kept.RpmMotor > 0) || !(kept.Efficiency > 0)) return NotPossibleReason::MotorStalls;
    return NotPossibleReason::None;
}

std::string NotPossibleMessage(NotPossibleReason reason) {
    const std::string_view words = RowOf(reason).words;
    std::string message = kNotPossibleMessage;
    if (!words.empty()) message.append("\n").append(words);
    return message;
}

}  // namespace mfb
