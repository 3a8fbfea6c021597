// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "explore/ExploreWork.h"
#include "explore/Explorer.h"
#include "explore/KeyBound.h"
#include "explore/TopRows.h"

namespace mfb {

// The search of one work item of an exploration, one motor, cell type and fan: every pack size
// calculated with the shortened sweep, counted, and ranked into the worker's best rows; or, where
// the ranking has bounds, settled by them.

// What the workers of a run share to settle combinations by bounds instead of sweeps.
struct Bounding {
    std::array<std::optional<FanRise>, kFanCount> rises;
    std::vector<std::optional<FanRise>> libraryRises;  // in the order of the catalogue's library
    RankBar bar;
};
// The fans as the model sees them for fan `number`, a fan of the blocks or of the library; throws
// Error where the catalogue has no such fan.
FanView ViewFor(const Catalogue& catalogue, int number);

// The bounds a ranked run settles combinations with; none where every combination is calculated.
std::unique_ptr<Bounding> BoundingFor(const Catalogue& catalogue, const ExploreRequest& request);

// What one worker thread holds: its counts and best rows, the motor it read last (items come
// mostly in motor order, so a worker reads each motor about once), and the notes on the motors it
// found unreadable, by position.
struct Worker {
    Worker(const ExploreRequest& request, ParetoAxes axes, Bounding* bounding = nullptr)
        : best(request, axes, bounding != nullptr ? &bounding->bar : nullptr), bounding(bounding) {}
    ExploreCounts counts;
    TopRows best;
    Bounding* bounding;
    const std::atomic<bool>* stop = nullptr;
    std::size_t motorAt = static_cast<std::size_t>(-1);
    std::optional<TOptionSlot> motor;
    std::vector<std::pair<std::size_t, std::string>> notes;
};

// Calculates one work item into `worker`: every pack size of one motor, cell type and fan.
void ExploreItem(const Catalogue& catalogue, const ExploreRequest& request,
                 const std::vector<std::optional<TOptionSlot>>& batteries, const WorkUnit& item,
                 Worker& worker);

// The pack sizes of a work item.
long long PackSizes(const ExploreSpace& space);

// Reads one motor or battery line into a slot, or notes why it is left out.
std::optional<TOptionSlot> ReadLine(const std::vector<std::string>& lines, std::size_t index,
                                    bool motor, char separator, std::string* note);

// Whether a calculated row keeps the request's budgets and power range.
bool Passes(const ExploreRequest& request, const ExploreRow& row);

// Whether ranking or filtering a row needs its flight figures. The rows shown get theirs in any
// case; working them out for every row would cost a run a bisection of the fan curve per row.
bool NeedsFlight(const ExploreRequest& request);

}  // namespace mfb
