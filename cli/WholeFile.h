// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace mfb::cli {

enum class Existing { Replace, Refuse };

// Writes the file at `path` whole or not at all, as every file the command line writes is: `write`
// fills a temporary file in the same folder, which is flushed to the disk and only then renamed
// into place, so a failure, a full disk or a signal leaves the old file or none, never a part.
// `write` returns false to abandon the file (the run was interrupted). With Existing::Refuse a
// file, link or anything else already at `path` is left alone and the write fails: nothing is
// replaced and no link followed. Returns false when abandoned; throws mfb::Error, with the
// system's reason, when the file cannot be written.
bool WriteWholeFile(const std::string& path, Existing existing,
                    const std::function<bool(std::ostream&)>& write);

}  // namespace mfb::cli
