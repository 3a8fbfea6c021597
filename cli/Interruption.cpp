// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Interruption.h"

#include <csignal>

namespace mfb::cli {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

std::atomic<bool> gStop{false};
volatile std::sig_atomic_t gSignal = 0;
struct sigaction gBefore[std::size(kSignals)];

static_assert(std::atomic<bool>::is_always_lock_free,
              "a signal handler may set only a lock-free flag");

extern "C" void OnSignal(int signal) {
    gSignal = signal;
    gStop.store(true, std::memory_order_relaxed);
}

}  // namespace

Interruption::Interruption() {
    gStop = false;
    gSignal = 0;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Writes under way go on: the run stops at its next check, not in the middle of a row.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], nullptr, &gBefore[i]);
        // A signal the process was started to ignore (a job run in the background) stays ignored.
        if (gBefore[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
    }
}

Interruption::~Interruption() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &gBefore[i], nullptr);
    }
}

std::atomic<bool>& Interruption::Stop() {
    return gStop;
}

int Interruption::Signal() const {
    return gSignal;
}

int Interruption::ExitStatus() const {
    return 128 + gSignal;
}

}  // namespace mfb::cli
