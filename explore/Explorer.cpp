// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/Explorer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/ExploreWork.h"
#include "explore/FastSweep.h"
#include "explore/KeyBound.h"
#include "explore/ParetoFront.h"
#include "explore/RunParallel.h"
#include "explore/TopRows.h"
#include "explore/UnitSearch.h"
#include "model/DiscardingSinks.h"
#include "model/Error.h"
#include "model/Extended.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

void Add(ExploreCounts& into, const ExploreCounts& from) {
    for (const auto count : kExploreCounts) into.*count += from.*count;
}

// The slot a row's combination starts its Calculate from, read afresh from the catalogue.
TOptionSlot RowSlot(const Catalogue& catalogue, const ExploreRow& row, char separator) {
    TOptionSlot slot;
    ChooseMotor(slot, catalogue.MotorLines.at(row.motor), separator);
    ChooseBattery(slot, catalogue.BatteryLines.at(row.battery), separator);
    const FanView view = ViewFor(catalogue, row.fan);
    ChooseFan(slot, view.fans, view.button);
    return slot;
}

// Recalculates each reported row the way the window does, every step of the sweep, and notes any
// row whose result differs in any bit.
void Verify(const Catalogue& catalogue, const ExploreRequest& request, ExploreResult& result,
            const ExploreProgress& progress) {
    const auto found = RecheckRows(catalogue, request, result.rows, RecheckSweep::Full, progress);
    if (!found) {
        result.unverified = true;
        return;
    }
    for (std::size_t i = 0; i < found->size(); ++i) {
        if (!(*found)[i].empty()) {
            result.mismatches.push_back("row " + std::to_string(i + 1) + " " + (*found)[i]);
        }
    }
}

// Calculate, giving up with SweepStopped once `stop` is set.
void CalculateUnlessStopped(TOptionSlot& slot, const SweepInputs& inputs, ResultView& view,
                            ChartSink& chart, CalculateReport& report,
                            const std::atomic<bool>* stop) {
    // A few milliseconds of steps between looks at the flag.
    constexpr long long kStepsBetweenChecks = 1 << 14;
    SweepRun run(slot, inputs, view, chart, report);
    if (!run.Start()) return;
    while (!run.Advance(kStepsBetweenChecks)) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) throw SweepStopped{};
    }
}

}  // namespace

namespace {

// The slot as the row's Calculate left it, as far as its figures read it.
TOptionSlot CalculatedSlot(const Catalogue& catalogue, const ExploreRow& row, char separator) {
    TOptionSlot slot = RowSlot(catalogue, row, separator);
    slot.CellsSerie = row.serie;
    slot.CellsParallel = row.parallel;
    slot.PackWeight = row.packWeight;
    slot.UBattery = row.uBattery;
    slot.RTotal = row.rTotal;
    return slot;
}

}  // namespace

void AssessRow(const Catalogue& catalogue, ExploreRow& row, const FlightSettings& flight,
               char decimalSeparator) {
    const TOptionSlot slot = CalculatedSlot(catalogue, row, decimalSeparator);
    const FanView view = ViewFor(catalogue, row.fan);
    row.derived = Derive(slot, row.result);
    row.limits = CheckLimits(slot, view.fans, view.limits, row.result, row.derived);
    row.flight = Fly(slot, view.fans, view.jets, flight, row.result);
}

std::string RecheckRow(const Catalogue& catalogue, const ExploreRequest& request,
                       const ExploreRow& row, RecheckSweep sweep, const std::atomic<bool>* stop) {
    const FanView view = ViewFor(catalogue, row.fan);
    const SweepInputs inputs{
        view.fans,    catalogue.WireResistance, catalogue.CompleteFans, request.option, row.serie,
        row.parallel, request.decimalSeparator};
    DiscardingSinks sinks;
    CalculateReport report;
    TOptionSlot slot;
    std::string error;
    try {
        slot = RowSlot(catalogue, row, request.decimalSeparator);
        if (sweep == RecheckSweep::Full) {
            CalculateUnlessStopped(slot, inputs, sinks, sinks, report, stop);
        } else {
            FindOperatingPoint(slot, inputs, sinks, sinks, report, nullptr, stop);
        }
    } catch (const Error& e) {
        error = e.what();
    }
    const ResultPoint& a = report.result;
    const ResultPoint& b = row.result;
    const bool same =
        error.empty() && report.outcome == Outcome::Calculated && report.steps == row.steps &&
        a.Current == b.Current && a.RpmMotor == b.RpmMotor && a.PinMotor == b.PinMotor &&
        a.Efficiency == b.Efficiency && a.UMotor == b.UMotor && slot.PackWeight == row.packWeight &&
        slot.UBattery == row.uBattery && slot.RTotal == row.rTotal;
    const std::string what = "(" + std::string(EntryText(catalogue.MotorLines.at(row.motor))) +
                             ", " + std::string(EntryText(catalogue.BatteryLines.at(row.battery))) +
                             ", fan " + std::to_string(row.fan) + ", " + std::to_string(row.serie) +
                             "S" + std::to_string(row.parallel) + "P)";
    if (!same) {
        return what + ": the full sweep gives " +
               (error.empty() ? std::to_string(report.steps) + " steps, kept step at " +
                                    std::to_string(a.PinMotor) + " W"
                              : error);
    }
    // A row read back from elsewhere may be right and still not belong in this ranking.
    ExploreRow assessed = row;
    AssessRow(catalogue, assessed, request.flight, request.decimalSeparator);
    if (!request.ignoreLimits && AnyExceeded(assessed.limits)) {
        return what + ": beyond a limit the catalogues state, so not ranked";
    }
    if (!Passes(request, assessed)) return what + ": outside the budgets or the power range";
    return {};
}

std::optional<std::vector<std::string>> RecheckRows(const Catalogue& catalogue,
                                                    const ExploreRequest& request,
                                                    const std::vector<ExploreRow>& rows,
                                                    RecheckSweep sweep,
                                                    const ExploreProgress& progress) {
    std::vector<std::string> found(rows.size());
    std::atomic<long long> done{0};
    ExploreProgress rechecking = progress;
    rechecking.report = progress.rechecked;
    try {
        RunParallel(
            rows.size(), Threads(request.threads, rows.size()), rechecking,
            [&](unsigned, std::size_t i) {
                found[i] = RecheckRow(catalogue, request, rows[i], sweep, progress.stop);
                done.fetch_add(1, std::memory_order_relaxed);
            },
            [&] { return done.load(); }, static_cast<long long>(rows.size()));
    } catch (const SweepStopped&) {
        return std::nullopt;
    }
    if (done.load() < static_cast<long long>(rows.size())) return std::nullopt;
    return found;
}

namespace {

WorkUnits Items(const ExploreRequest& request) {
    const ExploreSpace& space = request.space;
    return WorkUnits(space.motors.size(), space.batteries.size(), space.fans.size(),
                     static_cast<std::size_t>(request.shard - 1),
                     static_cast<std::size_t>(request.shards));
}

std::vector<std::optional<TOptionSlot>> ReadBatteries(const Catalogue& catalogue,
                                                      const ExploreRequest& request,
                                                      std::vector<std::string>* notes) {
    std::vector<std::optional<TOptionSlot>> batteries;
    batteries.reserve(request.space.batteries.size());
    for (const std::size_t index : request.space.batteries) {
        std::string note;
        batteries.push_back(
            ReadLine(catalogue.BatteryLines, index, false, request.decimalSeparator, &note));
        if (!batteries.back() && notes != nullptr) notes->push_back(std::move(note));
    }
    return batteries;
}

}  // namespace

ExploreResult Explore(const Catalogue& catalogue, const ExploreRequest& request,
                      const ExploreProgress& progress) {
    const ExploreSpace& space = request.space;
    ExploreResult result;
    const long long packSizes = PackSizes(space);
    const WorkUnits items = Items(request);
    result.combinations = static_cast<long long>(items.Count()) * packSizes;

    std::vector<std::string> batteryNotes;
    const auto batteries = ReadBatteries(catalogue, request, &batteryNotes);

    const unsigned threads = Threads(request.threads, items.Count());
    const ParetoAxes axes = ParetoAxesOf(catalogue, request);
    const std::unique_ptr<Bounding> bounding = BoundingFor(catalogue, request);
    std::vector<Worker> workers(threads, Worker(request, axes, bounding.get()));
    const SpreadOrder spread(items.Count());
    for (Worker& worker : workers) worker.stop = progress.stop;
    std::atomic<long long> done{0};
    RunParallel(
        items.Count(), threads, progress,
        [&](unsigned worker, std::size_t i) {
            ExploreItem(catalogue, request, batteries, items.At(bounding ? spread.At(i) : i),
                        workers[worker]);
            done.fetch_add(packSizes, std::memory_order_relaxed);
        },
        [&] { return done.load(std::memory_order_relaxed); }, result.combinations);

    TopRows best(request, axes);
    std::vector<std::pair<std::size_t, std::string>> motorNotes;
    for (Worker& worker : workers) {
        Add(result.counts, worker.counts);
        best.Merge(worker.best);
        for (auto& note : worker.notes) motorNotes.push_back(std::move(note));
    }
    std::sort(motorNotes.begin(), motorNotes.end());
    for (auto& note : motorNotes) result.notes.push_back(std::move(note.second));
    for (std::string& note : batteryNotes) result.notes.push_back(std::move(note));
    result.front = best.FrontSize();
    result.rows = best.Sorted();
    if (!NeedsFlight(request)) {
        for (ExploreRow& row : result.rows) {
            const FanView view = ViewFor(catalogue, row.fan);
            row.flight = Fly(CalculatedSlot(catalogue, row, request.decimalSeparator), view.fans,
                             view.jets, request.flight, row.result);
        }
    }
    result.partial = result.counts.visited < result.combinations;
    if (request.verify && !result.partial) Verify(catalogue, request, result, progress);
    return result;
}

namespace {

// A ranking that settles combinations by bounds goes faster as its bar rises, so samples of single
// items, each with no bar, would overstate it many times over. The run itself is started and
// stopped after the budget instead, and the rest is reckoned at the pace of the budget's second
// half: the bar has risen by then, and goes on rising.
double EstimateBounded(const Catalogue& catalogue, const ExploreRequest& request, double budget) {
    ExploreRequest quiet = request;
    quiet.verify = false;
    std::atomic<bool> stop{false};
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    // The combinations done when the second half of the budget began.
    double halfway = 0;
    long long doneHalfway = -1;
    ExploreProgress progress;
    progress.interval = budget / 16;
    progress.stop = &stop;
    progress.report = [&](long long done, long long) {
        const double now = elapsed();
        if (doneHalfway < 0 && now >= budget / 2) {
            halfway = now;
            doneHalfway = done;
        }
        if (now >= budget) stop = true;
    };
    const ExploreResult result = Explore(catalogue, quiet, progress);
    const double seconds = elapsed();
    if (!result.partial) return seconds;
    const long long done = result.counts.visited;
    const long long left = result.combinations - done;
    if (doneHalfway >= 0 && done > doneHalfway && seconds > halfway) {
        return seconds + static_cast<double>(left) * (seconds - halfway) /
                             static_cast<double>(done - doneHalfway);
    }
    return seconds * static_cast<double>(result.combinations) /
           static_cast<double>(std::max(1LL, done));
}

}  // namespace

double EstimateSeconds(const Catalogue& catalogue, const ExploreRequest& request, double budget) {
    const WorkUnits items = Items(request);
    if (items.Count() == 0) return 0;
    if (BoundingFor(catalogue, request) != nullptr && KeyBounded(request.key)) {
        return EstimateBounded(catalogue, request, budget);
    }
    const auto batteries = ReadBatteries(catalogue, request, nullptr);
    constexpr std::size_t kSamples = 64;
    const std::size_t stride = std::max<std::size_t>(1, items.Count() / kSamples);
    ExploreRequest quiet = request;
    quiet.top = 1;
    Worker worker(quiet, ParetoAxesOf(catalogue, quiet));
    const auto start = std::chrono::steady_clock::now();
    std::chrono::duration<double> spent{0};
    std::size_t sampled = 0;
    for (std::size_t i = stride / 2; i < items.Count() && spent.count() < budget; i += stride) {
        ExploreItem(catalogue, quiet, batteries, items.At(i), worker);
        ++sampled;
        spent = std::chrono::steady_clock::now() - start;
    }
    const double perItem = spent.count() / static_cast<double>(sampled);
    return perItem * static_cast<double>(items.Count()) / Threads(request.threads, items.Count());
}

}  // namespace mfb
