// SPDX-License-Identifier: GPL-3.0-or-later
// Converting catalogue files to the other decimal separator. Input: one byte of flags (bit 0: the
// files are written with ',', and converted to '.'), then the three files separated by the byte
// 0x1E. The converted text keeps every byte but separators, and each motor or battery line that
// reads with the old separator reads with the new one as the same numbers, bit for bit.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueConvert.h"
#include "catalogue/Choice.h"
#include "catalogue/TextLines.h"
#include "fuzz/FuzzChecks.h"
#include "model/Error.h"

namespace {

using mfb::fuzz::Require;

// The slot a line gives with `separator`, or nothing when it does not read.
template <typename Choose>
bool Read(Choose choose, const std::string& line, char separator, mfb::TOptionSlot& slot) {
    try {
        choose(slot, line, separator);
        return true;
    } catch (const mfb::Error&) {
        return false;
    }
}

bool Same(const mfb::TOptionSlot& a, const mfb::TOptionSlot& b) {
    return std::memcmp(&a.Motor, &b.Motor, sizeof a.Motor) == 0 &&
           std::memcmp(&a.Battery, &b.Battery, sizeof a.Battery) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char from = (data[0] & 1) ? ',' : '.';
    const char to = from == '.' ? ',' : '.';
    const auto files = mfb::fuzz::SplitFiles({reinterpret_cast<const char*>(data) + 1, size - 1});
    const char* names[] = {mfb::kMotorFile, mfb::kBatteryFile, mfb::kFanFile};
    for (std::size_t k = 0; k < files.size(); ++k) {
        const mfb::Conversion c = mfb::ConvertCatalogueText(files[k], names[k], to);
        Require(c.text.size() == files[k].size(), "a converted file of another size", names[k]);
        for (std::size_t i = 0; i < c.text.size(); ++i) {
            const bool separator = (files[k][i] == '.' || files[k][i] == ',') && c.text[i] == to;
            Require(c.text[i] == files[k][i] || separator, "a byte other than a separator changed");
        }
        if (k == 2) continue;
        const auto before = mfb::SplitLines(files[k]);
        const auto after = mfb::SplitLines(c.text);
        Require(before.size() == after.size(), "a converted file of other lines", names[k]);
        for (std::size_t n = 0; n < before.size() && n < 256; ++n) {
            mfb::TOptionSlot old, converted;
            const auto choose = [k](mfb::TOptionSlot& slot, const std::string& line, char sep) {
                if (k == 0) {
                    mfb::ChooseMotor(slot, line, sep);
                } else {
                    mfb::ChooseBattery(slot, line, sep);
                }
            };
            if (!Read(choose, before[n], from, old)) continue;
            Require(Read(choose, after[n], to, converted), "a line that read no longer reads",
                    after[n]);
            Require(Same(old, converted), "a line reads as other numbers", after[n]);
        }
    }
    return 0;
}
