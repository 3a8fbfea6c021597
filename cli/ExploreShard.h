// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "explore/Explorer.h"

namespace mfb {
struct Catalogue;
}

namespace mfb::cli {

// What `explore --shard K/N` writes and `explore --merge` reads: one shard's best rows with every
// stored value exact (hexadecimal floating point), its counts, and what it was run with, so that a
// merge can check that the shards belong together. Line-based, one record per line, fields
// separated by tabs; a note, which may quote a field holding a tab, is the rest of its line.
struct ExploreShard {
    int shard = 1;
    int shards = 1;
    ExploreKey key = ExploreKey::Rpm;
    double target = 0;  // the key's target (TargetOf): W or g
    std::size_t top = 0;
    bool pareto = false;      // the rows are the shard's trade-off front
    FlightSettings flight;    // the merge works out the flight figures with them
    std::string catalogue;    // CatalogueFingerprint of the catalogues it ran on
    std::string fingerprint;  // ExploreFingerprint of its search
    double seconds = 0;
    ExploreResult result;
};

// Short digests that tell catalogues and searches apart: shards of different searches do not
// merge, and a merge names rows from the catalogues they ran on.
std::string CatalogueFingerprint(const Catalogue& catalogue);
std::string ExploreFingerprint(const ExploreRequest& request);

void WriteExploreShard(const ExploreShard& shard, std::ostream& out);

// Reads one shard file's text; throws UsageError naming `source` when it is not one.
ExploreShard ReadExploreShard(std::istream& in, const std::string& source);

// The shards 1..N of one search, each once, merged into the result one run of the whole search
// gives: the same rows in the same order (ties in catalogue order), the counts summed, each row
// assessed (AssessRow) against `catalogue`, the one the shards ran on. The seconds are the longest
// shard's. Throws UsageError when the shards do not fit together or name other catalogues, and
// Error when a row's lines do not read with `decimalSeparator`.
ExploreShard MergeExploreShards(const std::vector<ExploreShard>& shards, const Catalogue& catalogue,
                                char decimalSeparator);

}  // namespace mfb::cli
