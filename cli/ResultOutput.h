// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <iosfwd>
#include <string_view>

#include "model/SweepSinks.h"

namespace mfb {
struct Catalogue;
}

namespace mfb::cli {

struct CalculationRecord;

struct ColumnRow {
    ResultField field;
    std::string_view unit;  // empty for a fraction
};

// The value rows of an option column, top to bottom, with the unit shown beside each.
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

// One line per row, "Caption: value unit"; a row the Calculate did not write shows its caption
// alone, as the window leaves an unwritten label empty.
void WriteResultText(const CalculationRecord& record, std::ostream& out);

void WriteResultJson(const CalculationRecord& record, std::ostream& out);

// The sorted motors and batteries with their indexes, then the fans with their numbers.
void WriteCatalogueList(const Catalogue& catalogue, std::ostream& out);

}  // namespace mfb::cli
