// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

namespace mfb::cli {

// While one lives, SIGINT and SIGTERM no longer end the process at once: they set a flag that a
// long run polls, so that it stops at a point where what it wrote is whole and says so. Only one
// may live at a time; the handlers before it are put back when it goes.
class Interruption {
public:
    Interruption();
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // Set by a signal, and by whoever else wants the run to stop (a time budget).
    std::atomic<bool>& Stop();
    // The signal that arrived, or 0.
    int Signal() const;
    // 128 plus the signal's number, as a shell reports a process ended by it.
    int ExitStatus() const;
};

}  // namespace mfb::cli
