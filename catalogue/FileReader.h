// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace mfb {

// What a file is read as, and the most bytes such a file may have. The limits are far above any
// real file of the kind; they keep a wrong file (a disk image, a log) from taking the memory, and
// are the same whichever front end reads the file.
struct FileKind {
    const char* name;  // "a setup file", as the message that refuses a larger one says
    std::size_t maxBytes;
};

// The sample catalogues are a few kilobytes.
inline constexpr FileKind kCatalogueFile{"a catalogue file", std::size_t{64} << 20};
// A setup is a few kilobytes.
inline constexpr FileKind kSetupFile{"a setup file", std::size_t{16} << 20};
// A shard of the largest ranking (100,000 rows of about 250 bytes) with a note on every line of
// two full catalogues.
inline constexpr FileKind kShardFile{"a shard file", std::size_t{256} << 20};
inline constexpr std::size_t kMaxCatalogueBytes = kCatalogueFile.maxBytes;

// Reads a whole file by a name relative to the working directory. Throws Error("Cannot open file
// "<absolute path>". <reason>") when it cannot be opened or read: the operating system's reason
// (no such file, a directory, no permission, a read error), or that it is not a regular file (a
// FIFO, a device, a socket: they could block or never end) or is larger than `kind` allows.
// What is not a regular file is refused before it is opened, the open itself never blocks, and
// the bytes are counted as they are read, so that memory stays that of the file's size however
// the file changes meanwhile.
std::string ReadWholeFile(const std::string& fileName, const FileKind& kind = kCatalogueFile);

}  // namespace mfb
