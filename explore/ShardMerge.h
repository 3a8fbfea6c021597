// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "explore/ShardFile.h"

namespace mfb {

// The shards 1..N of one search, each once, merged into the result one run of the whole search
// gives: the same rows in the same order (ties in catalogue order), the counts summed, each row
// recalculated with the shortened sweep (RecheckRow, on `threads`) and assessed (AssessRow)
// against `catalogue`, the one the shards ran on. The seconds are the longest shard's. Throws
// ShardError when the shards do not fit together, name other catalogues or hold a row their
// search does not give (named with its file and line; `sources` are the files' names), and Error
// when a row's lines do not read.
//
// Rechecking rows cannot tell a row that a shard left out, or replaced by a worse one that is
// right in itself; with `verify` each shard's share of the search is run again and a shard whose
// rows and counts are not exactly those is refused. Work reports to `progress`; its stop flag
// ends the merge with the result marked unverified once the rows are ranked, and with
// MergeStopped before.
ExploreShard MergeExploreShards(const std::vector<ExploreShard>& shards,
                                const std::vector<std::string>& sources, const Catalogue& catalogue,
                                unsigned threads, bool verify, const ExploreProgress& progress);

}  // namespace mfb
