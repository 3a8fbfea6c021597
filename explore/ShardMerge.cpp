// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ShardMerge.h"

#include <algorithm>
#include <set>

#include "catalogue/Catalogue.h"
#include "explore/ParetoFront.h"

namespace mfb {

namespace {

// Whether two runs of one search end with the same counts. A ranking that settles combinations by
// bounds settles as many as its bar allows when it gets there, which depends on the pace of its
// threads; of its counts, only those that no bound decides are the same in every run: how many it
// visited, and how many were unreadable or over the weight budget.
bool SameCounts(const ExploreCounts& a, const ExploreCounts& b) {
    if (a.bounded == 0 && b.bounded == 0) {
        return std::all_of(std::begin(kExploreCounts), std::end(kExploreCounts),
                           [&](auto count) { return a.*count == b.*count; });
    }
    return a.visited == b.visited && a.unreadable == b.unreadable && a.pruned == b.pruned;
}

// How a shard's result differs from what its share of the search gives again: "" when its rows
// and counts are those exactly, the counts as far as SameCounts can tell.
std::string ShareDiffers(const ExploreResult& read, const ExploreResult& again) {
    if (!SameCounts(read.counts, again.counts)) return "its counts differ";
    if (read.rows.size() != again.rows.size()) {
        return "it has " + std::to_string(read.rows.size()) + " rows, the search " +
               std::to_string(again.rows.size());
    }
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const ExploreRow& a = read.rows[i];
        const ExploreRow& b = again.rows[i];
        const bool same =
            a.motor == b.motor && a.battery == b.battery && a.fan == b.fan && a.serie == b.serie &&
            a.parallel == b.parallel && a.steps == b.steps && a.packWeight == b.packWeight &&
            a.uBattery == b.uBattery && a.rTotal == b.rTotal &&
            a.result.Current == b.result.Current && a.result.RpmMotor == b.result.RpmMotor &&
            a.result.PinMotor == b.result.PinMotor && a.result.Efficiency == b.result.Efficiency &&
            a.result.UMotor == b.result.UMotor;
        if (!same) return "its row " + std::to_string(i + 1) + " is not the search's";
    }
    return {};
}

// The best `top` of `rows` in ranking order. A key is worked out once per row rather than once
// per comparison: the flight figures behind some keys cost more than the sort itself, and a merge
// stopped by a signal still ranks every row before it writes them.
std::vector<ExploreRow> BestRows(const std::vector<ExploreRow>& rows,
                                 const ExploreRequest& search) {
    const double target = TargetOf(search);
    std::vector<double> keys(rows.size());
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        keys[i] = KeyValue(rows[i], search.key, target);
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (keys[a] != keys[b]) return keys[a] > keys[b];
        return RanksBefore(rows[a], rows[b], search.key, target);
    });
    order.resize(std::min<std::size_t>(order.size(), search.top));
    std::vector<ExploreRow> best;
    best.reserve(order.size());
    for (const std::size_t i : order) best.push_back(rows[i]);
    return best;
}

}  // namespace

ExploreShard MergeExploreShards(const std::vector<ExploreShard>& shards,
                                const std::vector<std::string>& sources, const Catalogue& catalogue,
                                unsigned threads, bool verify, const ExploreProgress& progress) {
    if (shards.empty()) throw ShardError("--merge needs shard files");
    const ExploreShard& first = shards.front();
    const ExploreRequest& search = first.request;
    std::set<int> present;
    for (const ExploreShard& s : shards) {
        if (s.request.shards != search.shards || s.fingerprint != first.fingerprint ||
            s.request.key != search.key || s.request.top != search.top ||
            s.catalogue != first.catalogue) {
            throw ShardError("the shard files come from different searches");
        }
        if (!present.insert(s.request.shard).second) {
            throw ShardError("shard " + std::to_string(s.request.shard) + " is given twice");
        }
    }
    for (int k = 1; k <= search.shards; ++k) {
        if (present.count(k) == 0) {
            throw ShardError("shard " + std::to_string(k) + " of " + std::to_string(search.shards) +
                             " is missing");
        }
    }
    if (first.catalogue != CatalogueFingerprint(catalogue)) {
        throw ShardError("the shard files were made from other catalogues than --catalogues");
    }

    ExploreShard merged;
    merged.request = search;
    merged.request.shard = 1;
    merged.request.shards = 1;
    merged.request.threads = threads;
    merged.fingerprint = first.fingerprint;
    merged.catalogue = first.catalogue;
    ExploreResult& result = merged.result;
    std::vector<std::pair<std::size_t, std::size_t>> origins;  // shard and line of each row
    std::set<std::string> noted;
    for (std::size_t k = 0; k < shards.size(); ++k) {
        const ExploreShard& s = shards[k];
        result.combinations += s.result.combinations;
        result.partial = result.partial || s.result.partial;
        merged.seconds = std::max(merged.seconds, s.seconds);
        for (const auto count : kExploreCounts) result.counts.*count += s.result.counts.*count;
        for (const std::string& note : s.result.notes) {
            // Every shard reads every cell type, so each notes the same bad battery lines.
            if (noted.insert(note).second) result.notes.push_back(note);
        }
        result.rows.insert(result.rows.end(), s.result.rows.begin(), s.result.rows.end());
        for (const std::size_t line : s.rowLines) origins.emplace_back(k, line);
    }
    const auto refuse = [&](std::size_t i, const std::string& what) {
        const auto [k, line] = origins[i];
        const std::string source = k < sources.size() ? sources[k] : "a shard";
        throw ShardError("\"" + source + "\" line " + std::to_string(line) + " holds " + what);
    };
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
        const ExploreRow& row = result.rows[i];
        if (row.motor >= catalogue.MotorLines.size() ||
            row.battery >= catalogue.BatteryLines.size()) {
            refuse(i, "a row of a motor or battery the catalogues do not have");
        }
    }
    for (ExploreRow& row : result.rows) {
        if (progress.stop != nullptr && progress.stop->load(std::memory_order_relaxed)) {
            throw MergeStopped{};
        }
        // Power per weight, run time and the flight figures rank by figures a shard file does not
        // keep.
        AssessRow(catalogue, row, search.flight, search.decimalSeparator);
    }
    if (verify) {
        // Only running a shard's share again can tell a row left out, or one replaced by a worse
        // one that is right in itself.
        for (std::size_t k = 0; k < shards.size(); ++k) {
            ExploreRequest share = shards[k].request;
            share.threads = threads;
            share.verify = false;
            const ExploreResult again = Explore(catalogue, share, progress);
            if (again.partial) {
                result.unverified = true;
                break;
            }
            const std::string source = k < sources.size() ? sources[k] : "a shard";
            const std::string differs = ShareDiffers(shards[k].result, again);
            if (!differs.empty()) {
                throw ShardError("\"" + source +
                                 "\" is not what its share of the search gives: " + differs);
            }
        }
    }
    // A shard whose digest matches may still come from a machine at fault: every row is worked
    // out again, with the shortened sweep, which gives what the window's Calculate gives.
    const auto found = result.unverified ? std::nullopt
                                         : RecheckRows(catalogue, merged.request, result.rows,
                                                       RecheckSweep::Shortened, progress);
    // Stopped, the rows are ranked all the same and the output says they were not all checked.
    if (!found) result.unverified = true;
    for (std::size_t i = 0; found && i < found->size(); ++i) {
        if (!(*found)[i].empty()) refuse(i, "a row its search does not give: " + (*found)[i]);
    }
    // The front of all is the front of the shards' fronts: a row that another shard's row
    // dominates is dominated by a row of that shard's front.
    // A front is sorted by its first axis, so the key tells which axes the shards' run chose.
    if (search.pareto) {
        result.rows = ParetoFilter(result.rows, ParetoAxesOf(search.key, search));
        result.front = result.rows.size();
    }
    // Each shard kept its best `top`, so the best `top` of all are among them.
    result.rows = BestRows(result.rows, search);
    return merged;
}

}  // namespace mfb
