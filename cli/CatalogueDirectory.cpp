// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CatalogueDirectory.h"

#include <filesystem>

#include "catalogue/FileReader.h"
#include "cli/LineOrder.h"
#include "cli/Program.h"

namespace mfb::cli {

CataloguePlatform DirectoryPlatform(const std::string& directory, char decimalSeparator) {
    CataloguePlatform platform;
    platform.readFile = [directory](const std::string& fileName) {
        return ReadWholeFile((std::filesystem::path(directory) / fileName).string());
    };
    platform.lineLess = CaseInsensitiveLess;
    platform.decimalSeparator = decimalSeparator;
    return platform;
}

void WarnOfFindings(std::ostream& err, const Catalogue& catalogue) {
    for (const CatalogueFinding& finding : catalogue.LimitFindings) {
        ReportError(err, FindingText(finding));
    }
}

}  // namespace mfb::cli
