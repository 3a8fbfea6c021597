// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ColumnRows.h"

namespace mfb {

std::string_view Caption(ResultField field) {
    // In the order of ResultField.
    static constexpr std::array<std::string_view, kResultFieldCount> kCaptions{
        "Weight",    "U Battery",  "R Total",    "Current", "Rpm",
        "Pin Motor", "Pout Motor", "Efficiency", "U Motor"};
    return kCaptions[static_cast<std::size_t>(field)];
}

}  // namespace mfb
