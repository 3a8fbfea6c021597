// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace mfb::cli {

enum class Existing { Replace, Refuse };

// A file the command line writes whole or not at all. It is made, empty and still nameless, when
// this is created, so that a place that cannot be written is found before any work for it; it
// gets its name only in Place(), complete and on the disk, so a failure, a full disk or a signal
// leaves the old file or none, never a part. Where the file system has unnamed files (O_TMPFILE)
// nothing is left even when the process is killed; elsewhere a hidden temporary in the same
// folder stands in, removed on every way out but that. With Existing::Refuse a file, link or
// anything else already at the path is left alone and placing fails: nothing is replaced and no
// link followed. Errors are mfb::Error with the system's reason.
class WholeFile {
public:
    WholeFile(std::string path, Existing existing);
    ~WholeFile();
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;

    std::ostream& Stream();
    // Makes the file the one at its path. Once only.
    void Place();
    // Takes back a placed file (for a set of files that could not all be placed).
    void Remove();
    const std::string& Path() const;

private:
    friend void PlaceAll(const std::vector<WholeFile*>& files);
    // Place() in two steps: the bytes written and on the disk, then the name given.
    void Complete();
    void Name();

    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// Places every file or none: each is complete and on the disk before the first gets its name, and
// when one cannot be placed those placed before it are removed again. Only a crash between two
// placings, a moment of a few system calls, can leave some of them.
void PlaceAll(const std::vector<WholeFile*>& files);

// One WholeFile that `write` fills: returns false when `write` does (the run was interrupted),
// and then nothing is placed.
bool WriteWholeFile(const std::string& path, Existing existing,
                    const std::function<bool(std::ostream&)>& write);

}  // namespace mfb::cli
