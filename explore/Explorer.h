// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Combination.h"
#include "model/Derived.h"
#include "model/Sweep.h"

namespace mfb {

struct Catalogue;

// Which combinations an exploration visits: indexes into the catalogue's sorted motor and battery
// lists, fan numbers 1..5 and cell counts, each list ascending without repeats. Every combination
// of them is one Calculate.
struct ExploreSpace {
    std::vector<std::size_t> motors;
    std::vector<std::size_t> batteries;
    std::vector<int> fans;
    std::vector<int> series = Counts(1, 40);
    std::vector<int> parallels = Counts(1, 10);

    // first, first + 1, ..., last
    static std::vector<int> Counts(int first, int last);
};

// The full space of a catalogue: every motor, every cell type, all five fans, 1-40 by 1-10 cells.
ExploreSpace WholeSpace(const Catalogue& catalogue);

// Budgets a combination must keep at its operating point; unset ones are not checked. A
// combination whose figure is not known (no jet data for its fan, no part throttle, no model
// weight) does not keep a budget of that figure.
struct ExploreFilter {
    std::optional<double> maxCurrent;     // A
    std::optional<double> maxWeight;      // g, the pack
    std::optional<double> minEfficiency;  // a fraction, as the model computes it
    std::optional<double> minThrust;      // g, static, at full throttle
    std::optional<double> minFlightTime;  // min
    std::optional<double> minThrustToWeight;
};

// What the ranking sorts by, best (largest) first; Target ranks the shaft power closest to the
// request's target power first, TargetThrust the thrust closest to its target thrust. A row
// without the figure a key needs ranks after every row with it. New keys go at the end: shard
// files store a key by its number.
enum class ExploreKey {
    Rpm,
    Power,
    Efficiency,
    PowerPerWeight,
    RunTime,
    Target,
    Thrust,
    ThrustToWeight,
    Efflux,
    FlightTime,
    TargetThrust,
};
inline constexpr ExploreKey kLastExploreKey = ExploreKey::TargetThrust;

// One calculated combination that has an operating point and passed the filter.
struct ExploreRow : Combination {
    ResultPoint result;     // the kept step, as the option column shows it
    double packWeight = 0;  // g
    double uBattery = 0;    // V
    double rTotal = 0;      // ohm
    DerivedFigures derived;
    LimitChecks limits;    // the limits the catalogues state, against the kept step
    FlightFigures flight;  // with the request's flight settings
    long long steps = 0;   // sweep steps the full Calculate makes
};

// How the visited combinations ended. Every combination counts in exactly one of these.
struct ExploreCounts {
    long long visited = 0;
    long long ranked = 0;       // an operating point within the filter's budgets
    long long filteredOut = 0;  // an operating point outside them or the power range
    long long overLimits = 0;   // an operating point beyond a limit the catalogues state
    long long noKeptStep = 0;   // "Combination not possible": motor too slow for the fan
    long long notPossible = 0;  // "Combination not possible": the pack too weak
    long long atLimit = 0;      // stopped at MaxSweepPower: no operating point below it
    long long faults = 0;       // a floating-point fault or a refused pack
    long long unreadable = 0;   // a motor or battery line with a bad number
    long long notRun = 0;       // a motor or battery without a name: Calculate does nothing
    long long pruned = 0;       // a pack over the weight budget, left out before any sweep
    long long fullSweeps = 0;   // combinations the fast path could not shorten
    long long motorStalls = 0;  // "Combination not possible": the motor stalls first
    // Not calculated: bounds prove that its key cannot reach the best `top` rows. Its outcome is
    // not known, so it counts in none of the others.
    long long bounded = 0;
};

// Every count of ExploreCounts, for the code that adds, stores or lists them all.
inline constexpr long long ExploreCounts::*kExploreCounts[] = {
    &ExploreCounts::visited,     &ExploreCounts::ranked,     &ExploreCounts::filteredOut,
    &ExploreCounts::overLimits,  &ExploreCounts::noKeptStep, &ExploreCounts::notPossible,
    &ExploreCounts::atLimit,     &ExploreCounts::faults,     &ExploreCounts::unreadable,
    &ExploreCounts::notRun,      &ExploreCounts::pruned,     &ExploreCounts::fullSweeps,
    &ExploreCounts::motorStalls, &ExploreCounts::bounded};
static_assert(sizeof(ExploreCounts) ==
                  sizeof(kExploreCounts) / sizeof(kExploreCounts[0]) * sizeof(long long),
              "a count missing from kExploreCounts");

struct ExploreRequest {
    ExploreSpace space;
    ExploreFilter filter;
    // The shaft power range, W, a ranked combination lies in; an unset end is open.
    std::optional<double> minPower, maxPower;
    // Ranks combinations that exceed a catalogue limit too, instead of leaving them out.
    bool ignoreLimits = false;
    ExploreKey key = ExploreKey::Rpm;
    double targetPower = 0;   // W, for ExploreKey::Target
    double targetThrust = 0;  // g, for ExploreKey::TargetThrust
    FlightSettings flight;    // for the flight figures of every row
    // Keeps only the trade-off front (ParetoFront.h) instead of the best `top`, sorted by `key`.
    bool pareto = false;
    std::size_t top = 20;         // rows kept, best first
    int option = 1;               // the option column whose Calculate is reproduced
    unsigned threads = 0;         // 0: one per hardware thread
    char decimalSeparator = '.';  // for reading the catalogue lines
    // Recalculates every reported row with the full sweep of Calculate and compares the two.
    bool verify = false;
    // Calculates every combination, where a ranking would settle those that bounds keep out of
    // its best `top` without calculating them: the same rows, every outcome counted.
    bool exhaustive = false;
    // Shard `shard` (1-based) of `shards`: a deterministic share of the space's motor, cell type
    // and fan triples, so that separate runs of every shard together visit the space once.
    int shard = 1;
    int shards = 1;
};

struct ExploreResult {
    std::vector<ExploreRow> rows;  // at most `top`, best first; ties in combination order
    ExploreCounts counts;
    long long combinations = 0;      // the size of the space
    std::vector<std::string> notes;  // the catalogue lines skipped, with the reason
    // With verify: the reported rows whose full sweep gave anything else, described. Never
    // expected to hold anything; a front end reports it as an internal error.
    std::vector<std::string> mismatches;
    // Stopped before every combination was visited: the rows are the best of those visited
    // (counts.visited of them), and nothing was verified.
    bool partial = false;
    // Every combination was visited, but the run was stopped before every row was rechecked:
    // the rows are the ranking, and `mismatches` tells only of the rows rechecked.
    bool unverified = false;
    // With pareto: the rows on the trade-off front, before `top` was taken of them.
    std::optional<std::size_t> front;
};

// Called from the thread that runs Explore, about every `interval` seconds, with the combinations
// done so far. Setting `stop` (from any thread) ends the run early: work under way finishes,
// nothing new starts, and the result is marked partial.
struct ExploreProgress {
    double interval = 1.0;
    std::function<void(long long done, long long total)> report;
    const std::atomic<bool>* stop = nullptr;
    // Called as `report` is while the rows are rechecked, with the rows done so far.
    std::function<void(long long done, long long total)> rechecked;
};

// Seconds a run still needs if it goes on at the pace of its first `elapsed` seconds, in which it
// did `done` of `total` combinations; 0 before any are done.
inline double TimeLeft(double elapsed, long long done, long long total) {
    return done > 0 ? elapsed * static_cast<double>(total - done) / static_cast<double>(done) : 0;
}

// The ranking key of a row; larger is better. `target` is the target power (W) for
// ExploreKey::Target, the target thrust (g) for ExploreKey::TargetThrust, and counts for no other.
double KeyValue(const ExploreRow& row, ExploreKey key, double target = 0);
// The target of the request's key, for KeyValue.
double TargetOf(const ExploreRequest& request);

// Whether `a` ranks before `b`: a larger key, and for equal keys the earlier combination in
// catalogue order.
bool RanksBefore(const ExploreRow& a, const ExploreRow& b, ExploreKey key, double target = 0);

// Whether the catalogue states the jet data of every fan of the space, so that every combination
// has a thrust.
bool ThrustKnown(const Catalogue& catalogue, const ExploreSpace& space);
// The ranking that answers a modeller's question when none is asked for: thrust to weight where
// the thrust and the model's weight are known, thrust where only the thrust is, else shaft power
// per pack weight.
ExploreKey DefaultKey(const Catalogue& catalogue, const ExploreRequest& request);

// Fills a row's derived figures, limit checks and flight figures from its catalogue lines, as
// Explore does: for rows read back without them, such as a shard's.
void AssessRow(const Catalogue& catalogue, ExploreRow& row, const FlightSettings& flight,
               char decimalSeparator);

// How a row is recalculated: with the full sweep of Calculate, every step, which checks the
// shortened sweep too; or with the shortened sweep, which gives the same to the last bit
// (FastSweep.h) at the cost of the search itself.
enum class RecheckSweep { Full, Shortened };

// Recalculates a row's combination: "" when the row is what it gives, bit for bit, and one that
// `request` ranks (within its budgets, power range and, unless ignored, the catalogues' limits);
// otherwise the combination named and what is wrong with it. Throws SweepStopped once `stop` is
// set, within a few thousand sweep steps.
std::string RecheckRow(const Catalogue& catalogue, const ExploreRequest& request,
                       const ExploreRow& row, RecheckSweep sweep = RecheckSweep::Full,
                       const std::atomic<bool>* stop = nullptr);

// RecheckRow of every row, on the request's threads, reporting to progress.rechecked. Nothing
// when progress.stop ended it before every row was rechecked.
std::optional<std::vector<std::string>> RecheckRows(const Catalogue& catalogue,
                                                    const ExploreRequest& request,
                                                    const std::vector<ExploreRow>& rows,
                                                    RecheckSweep sweep,
                                                    const ExploreProgress& progress = {});

// Runs the Calculate of every combination of the space and ranks those with an operating point.
// Each combination's result is the one a Calculate of it in the window gives, bit for bit. A
// combination whose pack alone breaks the weight budget is counted as pruned without a sweep.
// Memory stays that of the catalogues and the top rows, however large the space.
ExploreResult Explore(const Catalogue& catalogue, const ExploreRequest& request,
                      const ExploreProgress& progress = {});

// Seconds the request would take on its threads, from timing a few motor, cell type and fan
// triples spread over the space (for about `budget` seconds at most).
double EstimateSeconds(const Catalogue& catalogue, const ExploreRequest& request,
                       double budget = 0.2);

}  // namespace mfb
