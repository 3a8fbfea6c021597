// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "catalogue/CatalogueCheck.h"

namespace mfb {

struct Conversion {
    std::string text;
    Findings leftAlone;       // number fields that read with neither '.' nor ','; copied unchanged
    std::size_t changed = 0;  // separators rewritten
};

// A catalogue file's bytes with every number field rewritten for the decimal separator `to`:
// a field that reads as a number with '.' or ',' gets `to` in place of that separator, one byte
// for one, so every field stays in its columns. A field of blanks is left as it is; one that is not
// a number with either separator is left as it is and noted. Everything else (names, the gaps,
// fan.txt's free lines, line ends) is copied byte for byte. `file` is kMotorFile, kBatteryFile or
// kFanFile.
Conversion ConvertCatalogueText(std::string_view text, const char* file, char to);

}  // namespace mfb
