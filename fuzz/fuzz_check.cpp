// SPDX-License-Identifier: GPL-3.0-or-later
// Checking three arbitrary catalogue files. Input: one byte of flags (bit 0: ',' as the
// separator), then the three files separated by the byte 0x1E. Every finding names a file and
// columns in order, and its message is printable.
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/CatalogueCheck.h"
#include "catalogue/TextLines.h"
#include "fuzz/FuzzChecks.h"
#include "model/Error.h"

using mfb::fuzz::Fail;
using mfb::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto files = mfb::fuzz::SplitFiles({reinterpret_cast<const char*>(data) + 1, size - 1});
    const char* names[] = {mfb::kMotorFile, mfb::kBatteryFile, mfb::kFanFile};
    mfb::CataloguePlatform platform;
    platform.decimalSeparator = (data[0] & 1) ? ',' : '.';
    platform.lineLess = [](const std::string& a, const std::string& b) { return a < b; };
    platform.readFile = [&](const std::string& name) -> std::string {
        for (std::size_t k = 0; k < files.size(); ++k) {
            if (name == names[k]) return std::string(files[k]);
        }
        Fail("an unknown file was read", name);
    };
    for (const mfb::Finding& f : mfb::CheckCatalogues(platform)) {
        const bool known = f.file == names[0] || f.file == names[1] || f.file == names[2];
        Require(known, "a finding of an unknown file", f.file);
        Require(f.lastColumn >= f.firstColumn, "columns out of order", f.message);
        Require(f.firstColumn == 0 || f.line != 0, "a column without a line", f.message);
        Require(mfb::Printable(f.message).size() == f.message.size() ||
                    f.message.find('\t') != std::string::npos,
                "a message that could act on a terminal", f.message);
    }
    return 0;
}
