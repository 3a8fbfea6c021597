// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <vector>

#include "model/PartLoad.h"

namespace mfb {
class JsonWriter;
}

namespace mfb::cli {

// "Part load:" and a table, a column per kPartLoadColumns; a row the motor or pack cannot hold
// says why instead of its figures.
void WritePartLoadText(const std::vector<PartLoadRow>& rows, char decimalSeparator,
                       std::ostream& out);
// A header of the columns' keys, then a row per throttle with 17 significant digits and '.'; an
// absent value is an empty field.
void WritePartLoadCsv(const std::vector<PartLoadRow>& rows, std::ostream& out);
// An array of objects, the columns' keys and "refusal" (why a row has no figures, or null).
void WritePartLoadJson(JsonWriter& json, const std::vector<PartLoadRow>& rows);

}  // namespace mfb::cli
