// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Catalogue.h"

#include <algorithm>

#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"
#include "model/PowerTrain.h"

namespace mfb {

void SortLines(std::vector<std::string>& lines,
               const std::function<bool(const std::string&, const std::string&)>& less) {
    std::stable_sort(lines.begin(), lines.end(), less);
}

std::vector<std::string> ReadCatalogueLines(const CataloguePlatform& platform,
                                            const char* fileName) {
    const std::string text = platform.readFile(fileName);
    if (CountLines(text) > kMaxCatalogueLines) {
        throw Error(std::string("\"") + fileName + "\" has more than " +
                    std::to_string(kMaxCatalogueLines) + " lines, the most a catalogue may have");
    }
    return SplitLines(text);
}

namespace {

const std::string& FanLine(const std::vector<std::string>& lines, std::size_t lineNumber) {
    const std::size_t index = lineNumber - 1;
    if (index >= lines.size()) {
        throw Error("List index out of bounds (" + std::to_string(index) + ")");
    }
    return lines[index];
}

void ReadFans(Catalogue& catalogue, char separator) {
    const auto& lines = catalogue.FanLines;
    for (int k = 1; k <= kFanCount; ++k) {
        TFanData& fan = catalogue.Fans[k - 1];
        std::size_t line = FanNameLine(k);
        fan.Name = FanLine(lines, line);
        for (double* field :
             {&fan.a0, &fan.a1, &fan.a2, &fan.a3, &fan.a4, &fan.ChartMinPower, &fan.Reserved}) {
            *field = ParseNumber(FanLine(lines, ++line), separator);
        }
        catalogue.CompleteFans = WholeFans(k);
    }
}

}  // namespace

void LoadCatalogues(Catalogue& catalogue, std::array<TOptionSlot, kOptionCount>& slots,
                    const CataloguePlatform& platform, LoadObserver& observer) {
    catalogue.MotorLines = ReadCatalogueLines(platform, kMotorFile);
    SortLines(catalogue.MotorLines, platform.lineLess);
    observer.MotorsRead(catalogue);

    catalogue.BatteryLines = ReadCatalogueLines(platform, kBatteryFile);
    SortLines(catalogue.BatteryLines, platform.lineLess);
    observer.BatteriesRead(catalogue);

    catalogue.WireResistance = kWireResistance;

    catalogue.CompleteFans = WholeFans(0);
    catalogue.FanLines = ReadCatalogueLines(platform, kFanFile);
    ReadFans(catalogue, platform.decimalSeparator);
    for (TOptionSlot& slot : slots) slot.FanName = catalogue.Fans[0].Name;
    observer.FansRead(catalogue);
}

}  // namespace mfb
