// SPDX-License-Identifier: GPL-3.0-or-later
// Setup files come from anywhere: whatever the bytes, reading one either gives a setup that
// writes back to a text reading as the same setup, or refuses it with a SetupError.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzChecks.h"
#include "setup/SetupFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    mfb::Setup setup;
    try {
        setup = mfb::ReadSetup(text);
    } catch (const mfb::SetupError& e) {
        const std::string_view message = e.what();
        mfb::fuzz::Require(message.starts_with("It "), "a refusal that is no sentence", message);
        return 0;
    }
    const std::string written = mfb::WriteSetup(setup);
    mfb::fuzz::Require(mfb::ReadSetup(written) == setup, "a setup that does not read back",
                       written);
    return 0;
}
