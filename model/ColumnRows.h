// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>

#include "model/ResultView.h"

namespace mfb {

// The captions the column shows beside each value, without their colon.
std::string_view Caption(ResultField field);

// The value rows of an option column, top to bottom, with the unit shown beside each (none for
// the efficiency, a fraction).
struct ColumnRow {
    ResultField field;
    std::string_view unit;
};
inline constexpr std::array<ColumnRow, kResultFieldCount> kColumnRows{{
    {ResultField::Weight, "g"},
    {ResultField::UBattery, "V"},
    {ResultField::UMotor, "V"},
    {ResultField::RTotal, "Ohm"},
    {ResultField::Current, "A"},
    {ResultField::Rpm, "n/min"},
    {ResultField::PinMotor, "W"},
    {ResultField::PoutMotor, "W"},
    {ResultField::Efficiency, ""},
}};

}  // namespace mfb
