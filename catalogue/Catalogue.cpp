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
    std::string text;
    try {
        text = platform.readFile(fileName);
    } catch (const LocatedError&) {
        throw;
    } catch (const Error& e) {
        throw LocatedError(e.what(), {fileName});
    }
    if (CountLines(text) > kMaxCatalogueLines) {
        throw LocatedError(std::string("\"") + fileName + "\" has more than " +
                               std::to_string(kMaxCatalogueLines) +
                               " lines, the most a catalogue may have",
                           {fileName});
    }
    return SplitLines(text);
}

namespace {

const std::string& FanLine(const std::vector<std::string>& lines, std::size_t lineNumber) {
    const std::size_t index = lineNumber - 1;
    if (index >= lines.size()) {
        throw LocatedError("List index out of bounds (" + std::to_string(index) + ")",
                           {kFanFile, lines.size() + 1});
    }
    return lines[index];
}

double FanNumber(const std::vector<std::string>& lines, std::size_t lineNumber, char separator) {
    const std::string& line = FanLine(lines, lineNumber);
    try {
        return ParseNumber(line, separator);
    } catch (const Error& e) {
        throw LocatedError(e.what(),
                           {kFanFile, lineNumber, 1, std::max<std::size_t>(line.size(), 1)});
    }
}

// Sorts a list's lines as SortLines does and returns the file line number of each entry.
std::vector<std::size_t> SortNumbered(
    std::vector<std::string>& lines,
    const std::function<bool(const std::string&, const std::string&)>& less) {
    std::vector<std::size_t> order(lines.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return less(lines[a], lines[b]); });
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (std::size_t& i : order) {
        sorted.push_back(std::move(lines[i]));
        ++i;
    }
    lines = std::move(sorted);
    return order;
}

void ReadFans(Catalogue& catalogue, char separator) {
    const auto& lines = catalogue.FanLines;
    for (int k = 1; k <= kFanCount; ++k) {
        TFanData& fan = catalogue.Fans[k - 1];
        std::size_t line = FanNameLine(k);
        fan.Name = FanLine(lines, line);
        for (double* field :
             {&fan.a0, &fan.a1, &fan.a2, &fan.a3, &fan.a4, &fan.ChartMinPower, &fan.Reserved}) {
            *field = FanNumber(lines, ++line, separator);
        }
        catalogue.CompleteFans = WholeFans(k);
    }
    catalogue.FanLimits = ReadFanLimits(lines, separator);
    catalogue.FanJet = ReadFanJetData(lines, separator);
    catalogue.FanLibrary = ReadFanLibrary(lines, separator);
}

// The lines of one file as written, with the findings of their limits noted before any sorting
// loses the line numbers.
std::vector<std::string> ReadLines(Catalogue& catalogue, const CataloguePlatform& platform,
                                   const char* file) {
    std::vector<std::string> lines = ReadCatalogueLines(platform, file);
    // Start-up only warns; a file broken on every line is listed in full by `mfbcalc-cli check`,
    // not kept here line by line.
    constexpr std::size_t kMostKept = 100;
    auto findings = LimitFindings(file, lines, platform.decimalSeparator,
                                  kMostKept - std::min(kMostKept, catalogue.LimitFindings.size()));
    catalogue.LimitFindings.insert(catalogue.LimitFindings.end(), findings.begin(), findings.end());
    return lines;
}

}  // namespace

void LoadCatalogues(Catalogue& catalogue, std::array<TOptionSlot, kOptionCount>& slots,
                    const CataloguePlatform& platform, LoadObserver& observer) {
    catalogue.MotorLines = ReadLines(catalogue, platform, kMotorFile);
    catalogue.MotorLineNumbers = SortNumbered(catalogue.MotorLines, platform.lineLess);
    observer.MotorsRead(catalogue);

    catalogue.BatteryLines = ReadLines(catalogue, platform, kBatteryFile);
    catalogue.BatteryLineNumbers = SortNumbered(catalogue.BatteryLines, platform.lineLess);
    observer.BatteriesRead(catalogue);

    catalogue.WireResistance = kWireResistance;

    catalogue.CompleteFans = WholeFans(0);
    catalogue.FanLines = ReadLines(catalogue, platform, kFanFile);
    ReadFans(catalogue, platform.decimalSeparator);
    for (TOptionSlot& slot : slots) slot.FanName = catalogue.Fans[0].Name;
    observer.FansRead(catalogue);
}

std::optional<FanView> ViewOfFan(const Catalogue& catalogue, int number) {
    FanView view{catalogue.Fans, catalogue.FanLimits, catalogue.FanJet, number};
    if (number >= 1 && number <= kFanCount) return view;
    const auto found =
        std::find_if(catalogue.FanLibrary.begin(), catalogue.FanLibrary.end(),
                     [number](const LibraryFan& fan) { return fan.number == number; });
    if (found == catalogue.FanLibrary.end()) return std::nullopt;
    view.button = kFanCount;
    view.fans.back() = found->fan;
    view.limits.back() = found->maxRpm;
    view.jets.back() = found->jet;
    return view;
}

const TFanData* FanNumbered(const Catalogue& catalogue, int number) {
    if (number >= 1 && number <= kFanCount)
        return &catalogue.Fans[static_cast<std::size_t>(number - 1)];
    for (const LibraryFan& fan : catalogue.FanLibrary) {
        if (fan.number == number) return &fan.fan;
    }
    return nullptr;
}

}  // namespace mfb
