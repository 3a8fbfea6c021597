// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "explore/Explorer.h"
#include "model/Error.h"

namespace mfb {

struct Catalogue;

// A shard file that cannot be used, or shards that do not merge: the files given are at fault,
// not the program, and the message names the file and, where it can, the line.
class ShardError : public Error {
public:
    using Error::Error;
};

// What `explore --shard K/N` writes and `explore --merge` reads: one shard's best rows with every
// stored value exact (hexadecimal floating point), its counts, the whole search it ran (so that a
// merge can check that the shards belong together and recalculate their rows), and a digest of
// all of it. Line-based, one record per line, fields separated by tabs; a note, which may quote a
// field holding a tab, is the rest of its line.
struct ExploreShard {
    ExploreRequest request;   // the search, with the shard K of N it ran; not its threads
    std::string catalogue;    // CatalogueFingerprint of the catalogues it ran on
    std::string fingerprint;  // ExploreFingerprint of its search
    double seconds = 0;
    ExploreResult result;
    std::vector<std::size_t> rowLines;  // the line of each row in the file read, for messages
};

// Short digests that tell catalogues and searches apart: shards of different searches do not
// merge, and a merge names rows from the catalogues they ran on.
std::string CatalogueFingerprint(const Catalogue& catalogue);
std::string ExploreFingerprint(const ExploreRequest& request);

void WriteExploreShard(const ExploreShard& shard, std::ostream& out);

// The digest a shard file's "end" line gives of `body`, the text before that line.
std::string ShardDigest(std::string_view body);

// Reads one shard file's text and checks that it is whole and self-consistent: its digest, a
// search that matches its fingerprint, finite values, each combination once and within the shard's
// share of the space, counts that add up to that share and as many rows as they promise. Throws
// ShardError naming `source`, and the line where the damage is found when it is in one line.
// Thrown by reading or merging shards when the stop flag is set before there is a ranking to
// show.
struct MergeStopped {};

// Throws MergeStopped once `stop` is set.
ExploreShard ReadExploreShard(std::istream& in, const std::string& source,
                              const std::atomic<bool>* stop = nullptr);

}  // namespace mfb
