// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <iosfwd>
#include <string_view>

#include "model/ResultView.h"

namespace mfb {
class JsonWriter;
struct Catalogue;
}  // namespace mfb

namespace mfb::cli {

struct CalculationRecord;

// One line per row, "Caption: value unit"; a row the Calculate did not write shows its caption
// alone, as the window leaves an unwritten label empty. Then the names of the motor, battery and
// fan used, and for a kept step its derived figures and a line per limit the catalogues state.
void WriteResultText(const CalculationRecord& record, char decimalSeparator, std::ostream& out);

void WriteResultJson(const CalculationRecord& record, std::ostream& out);
// The same object as one value of a larger document.
void WriteResultObject(JsonWriter& json, const CalculationRecord& record);

// The sorted motors and batteries with their indexes, then the fans with their numbers.
void WriteCatalogueList(const Catalogue& catalogue, std::ostream& out);

}  // namespace mfb::cli
