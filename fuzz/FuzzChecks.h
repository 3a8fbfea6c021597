// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace mfb::fuzz {

// Reports a broken invariant and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(std::string_view what, std::string_view detail = {});

inline void Require(bool ok, std::string_view what, std::string_view detail = {}) {
    if (!ok) Fail(what, detail);
}

// "'<field>' is not a valid floating point value", spelt out here rather than taken from the
// core, so that a change of the message is noticed.
std::string NumberMessage(std::string_view field);
// That message, alone or followed by its hint (": it ..."), for `field`.
bool IsNumberMessage(std::string_view message, std::string_view field);

bool IsFaultMessage(std::string_view message);

// The catalogue targets' input after its flags byte: motor.txt, battery.txt and fan.txt, separated
// by the byte 0x1E; missing ones are empty.
std::array<std::string_view, 3> SplitFiles(std::string_view rest);

}  // namespace mfb::fuzz
