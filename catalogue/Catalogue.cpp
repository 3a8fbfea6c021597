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
    }
    catalogue.FanLimits = ReadFanLimits(lines, separator);
}

// The lines of one file as written, with the findings of their limits noted before any sorting
// loses the line numbers.
std::vector<std::string> ReadLines(Catalogue& catalogue, const CataloguePlatform& platform,
                                   const char* file) {
    std::vector<std::string> lines = SplitLines(platform.readFile(file));
    auto findings = LimitFindings(file, lines, platform.decimalSeparator);
    catalogue.LimitFindings.insert(catalogue.LimitFindings.end(), findings.begin(), findings.end());
    return lines;
}

}  // namespace

void LoadCatalogues(Catalogue& catalogue, std::array<TOptionSlot, kOptionCount>& slots,
                    const CataloguePlatform& platform, LoadObserver& observer) {
    catalogue.MotorLines = ReadLines(catalogue, platform, kMotorFile);
    SortLines(catalogue.MotorLines, platform.lineLess);
    observer.MotorsRead(catalogue);

    catalogue.BatteryLines = ReadLines(catalogue, platform, kBatteryFile);
    SortLines(catalogue.BatteryLines, platform.lineLess);
    observer.BatteriesRead(catalogue);

    catalogue.WireResistance = kWireResistance;

    catalogue.FanLines = ReadLines(catalogue, platform, kFanFile);
    ReadFans(catalogue, platform.decimalSeparator);
    catalogue.FansLoaded = true;
    for (TOptionSlot& slot : slots) slot.FanName = catalogue.Fans[0].Name;
    observer.FansRead(catalogue);
}

}  // namespace mfb
