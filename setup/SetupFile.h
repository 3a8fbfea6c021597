// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "model/Error.h"
#include "setup/Setup.h"

namespace mfb {

// The setup file: one JSON object, documented in docs/setup-format.md. The version rises whenever
// a reader of the old one would misread the new; members a reader does not know are ignored, so
// figures can be added without a new version.
inline constexpr std::string_view kSetupFormat = "mfbcalc setup";
inline constexpr int kSetupVersion = 2;
inline constexpr std::string_view kSetupSuffix = "mfbsetup";

// Why a text could not be read as a setup, in a sentence the window and the command line show
// after the file's name. Nothing was taken from the file then.
class SetupError : public Error {
public:
    using Error::Error;
};

// The whole file's text: ASCII, catalogue bytes above 127 written as \u00XX escapes.
std::string WriteSetup(const Setup& setup);

// The setup a file's text holds. Throws SetupError when the text is not a setup, was written for a
// newer version, or is damaged (not JSON, a member missing, of the wrong kind or out of range).
Setup ReadSetup(std::string_view text);

}  // namespace mfb
