// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "catalogue/LineLayout.h"

namespace mfb {

// Whether `value` can be what the field says it is: above 0, or 0 and above for a field where 0
// is possible.
bool PossibleValue(const NumberField& field, double value);

// "kv is 0: the model needs a value above 0", with `where` (such as " (columns 45-48)") after the
// value; `text` is the field as cut, quoted without its blanks.
std::string ImpossibleValueMessage(const NumberField& field, std::string_view text,
                                   std::string_view where = {});

}  // namespace mfb
