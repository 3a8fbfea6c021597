// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace mfb {

// Reads a whole file by a name relative to the working directory. Throws Error("Cannot open file
// "<absolute path>". <reason>"), the reason being the operating system's, when it cannot be opened
// or read (a directory, no permission, a read error). Memory grows with the file's size only.
std::string ReadWholeFile(const std::string& fileName);

}  // namespace mfb
