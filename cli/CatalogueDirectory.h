// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

#include "catalogue/Catalogue.h"

namespace mfb::cli {

// Catalogue reading from a directory other than the working one. A failing file is still named by
// its full path, which ReadWholeFile builds from the joined name.
CataloguePlatform DirectoryPlatform(const std::string& directory, char decimalSeparator);

// A warning on `err` for every malformed limit the loading met. They never stop a run: such a
// limit counts as absent.
void WarnOfFindings(std::ostream& err, const Catalogue& catalogue);

}  // namespace mfb::cli
