// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/FanLibrary.h"
#include "catalogue/Limits.h"
#include "model/OptionSlot.h"

namespace mfb {

inline constexpr char kMotorFile[] = "motor.txt";
inline constexpr char kBatteryFile[] = "battery.txt";
inline constexpr char kFanFile[] = "fan.txt";

// What the catalogue reading needs from the platform, so that the core stays free of any toolkit
// and tests can stand in for the file system and the locale.
struct CataloguePlatform {
    // The whole file, by a name relative to the working directory. Throws Error("Cannot open file
    // "<full path>". <reason>") when it cannot be read.
    std::function<std::string(const std::string& fileName)> readFile;
    // Locale-aware, case-insensitive "a sorts before b" for the motor and battery lists.
    std::function<bool(const std::string& a, const std::string& b)> lineLess;
    char decimalSeparator = '.';
};

// The three catalogues as loaded at start-up; unchanged afterwards.
struct Catalogue {
    std::vector<std::string> MotorLines;    // sorted; entry i of the motor list is line i
    std::vector<std::string> BatteryLines;  // sorted likewise
    std::vector<std::string> FanLines;      // in file order
    // The line number in its file (from 1) of each motor and battery list entry.
    std::vector<std::size_t> MotorLineNumbers, BatteryLineNumbers;
    FanTable Fans;
    FanRpmLimits FanLimits;              // read once all five fans are
    FanJetTable FanJet;                  // likewise
    std::vector<LibraryFan> FanLibrary;  // likewise: the whole fans after the five, by number
    double WireResistance = 0;           // ohm, set once the battery catalogue has been read
    // Fans 1 to CompleteFans had their name and all seven numbers read; a failure in fan.txt leaves
    // the fan it hit cut short and every later one empty. kFanCount once the file loaded.
    WholeFans CompleteFans;
    // Malformed limits of the files read so far, in file order; their limits count as absent.
    std::vector<CatalogueFinding> LimitFindings;
};

// The fans as the model is to see them when fan `number` is calculated: the five of the blocks
// and their data, with a library fan standing in for the fifth. The model finds a fan by its name
// and takes the last fan of a name, so the library fan is the one found even where a block shares
// its name.
struct FanView {
    FanTable fans;
    FanRpmLimits limits;
    FanJetTable jets;
    int button = 0;  // where the fan stands, 1..kFanCount: what a choice of it chooses
};
// Nothing when the catalogue has no fan of that number: 1..kFanCount, or one of its library.
std::optional<FanView> ViewOfFan(const Catalogue& catalogue, int number);
// The fan of that number, or null.
const TFanData* FanNumbered(const Catalogue& catalogue, int number);

// Told as each stage of the loading completes, so a window fills its lists at the same point in the
// sequence where a failure would stop it.
class LoadObserver {
public:
    virtual ~LoadObserver() = default;
    virtual void MotorsRead(const Catalogue&) {}
    virtual void BatteriesRead(const Catalogue&) {}
    // All five fans are read and every slot's FanName is fan 1's name.
    virtual void FansRead(const Catalogue&) {}
};

// Reads motor.txt, battery.txt and fan.txt in that order into `catalogue` and names fan 1 in every
// slot. The first failure throws Error; every stage before it has taken effect (and been observed),
// fans before the failing line keep what was read, and nothing after it runs.
void LoadCatalogues(Catalogue& catalogue, std::array<TOptionSlot, kOptionCount>& slots,
                    const CataloguePlatform& platform, LoadObserver& observer);

// A catalogue file's lines in file order, read through the platform. Throws Error when the file
// cannot be read or has more than kMaxCatalogueLines lines; the lines are not made then.
std::vector<std::string> ReadCatalogueLines(const CataloguePlatform& platform,
                                            const char* fileName);

// Sorts lines for a drop-down list: ascending by `less`, equal lines kept in file order.
void SortLines(std::vector<std::string>& lines,
               const std::function<bool(const std::string&, const std::string&)>& less);

// Line number (from 1) of fan k's name; number j (1..7) follows on the next lines.
constexpr std::size_t FanNameLine(int fanNumber) {
    return 14 + 8 * (fanNumber - 1);
}
inline constexpr std::size_t kFanFileMinLines = FanNameLine(kFanCount) + 7;
static_assert(kFirstFanLimitLine == kFanFileMinLines + 1);

}  // namespace mfb
