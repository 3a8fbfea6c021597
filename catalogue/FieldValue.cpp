// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FieldValue.h"

#include "catalogue/TextLines.h"

namespace mfb {

bool PossibleValue(const NumberField& field, double value) {
    return field.zeroPossible ? value >= 0 : value > 0;
}

std::string ImpossibleValueMessage(const NumberField& field, std::string_view text,
                                   std::string_view where) {
    const std::string_view trimmed = Trimmed(text);
    return std::string(field.name) + " is " + Excerpt(trimmed.empty() ? text : trimmed) +
           std::string(where) +
           (field.zeroPossible ? ": the model needs a value of 0 or more"
                               : ": the model needs a value above 0");
}

}  // namespace mfb
