// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace mfb {

// The largest catalogue file that is read. The sample catalogues are a few kilobytes; the limit
// keeps a wrong file (a disk image, a log) from taking the memory.
inline constexpr std::size_t kMaxCatalogueBytes = std::size_t{64} << 20;

// Reads a whole file by a name relative to the working directory. Throws Error("Cannot open file
// "<absolute path>". <reason>") when it cannot be opened or read: the operating system's reason
// (no such file, a directory, no permission, a read error), or that it is not a regular file (a
// FIFO, a device, a socket: they could block or never end) or is larger than kMaxCatalogueBytes.
// Opening never blocks, and memory grows with the file's size only.
std::string ReadWholeFile(const std::string& fileName);

}  // namespace mfb
