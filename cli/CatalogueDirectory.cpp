// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CatalogueDirectory.h"

#include <filesystem>

#include "catalogue/FileReader.h"
#include "cli/LineOrder.h"

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

}  // namespace mfb::cli
