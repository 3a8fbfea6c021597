// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/FileReader.h"

namespace mfb::test {

// The sample catalogues of data/, read with '.' and a plain byte order for the lists.
inline Catalogue SampleCatalogue() {
    Catalogue catalogue;
    std::array<TOptionSlot, kOptionCount> slots;
    LoadObserver quiet;
    const CataloguePlatform platform{
        [](const std::string& name) { return ReadWholeFile(MFB_SAMPLE_DATA "/" + name); },
        [](const std::string& a, const std::string& b) { return a < b; }, '.'};
    LoadCatalogues(catalogue, slots, platform, quiet);
    return catalogue;
}

}  // namespace mfb::test
