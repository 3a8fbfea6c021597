// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>

#include "explore/Explorer.h"

namespace mfb {

// The threads a run of `work` items uses: as requested, or one per hardware thread for 0, and
// never more than there are items.
unsigned Threads(unsigned requested, std::size_t work);

// Calls work(worker, i) for every i < count on `threads` threads, each index once, until
// progress.stop is set, and reports progress from the calling thread meanwhile. An exception in any
// call stops the others' work and is rethrown here.
void RunParallel(std::size_t count, unsigned threads, const ExploreProgress& progress,
                 const std::function<void(unsigned, std::size_t)>& work,
                 const std::function<long long()>& done, long long total);

}  // namespace mfb
