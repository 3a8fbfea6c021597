// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/Explorer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>
#include <tuple>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/ExploreWork.h"
#include "explore/FastSweep.h"
#include "explore/KeyBound.h"
#include "explore/ParetoFront.h"
#include "explore/TopRows.h"
#include "model/DiscardingSinks.h"
#include "model/Error.h"
#include "model/Extended.h"
#include "model/PowerTrain.h"

namespace mfb {

namespace {

// A motor and a cell type whose lines have been read into a slot once, for every combination
// that uses them.
struct Unit {
    const TOptionSlot* motor;
    const TOptionSlot* battery;
    std::size_t motorIndex;
    std::size_t batteryIndex;
    int fan;
};

auto CombinationOrder(const ExploreRow& row) {
    return std::tie(row.motor, row.battery, row.fan, row.serie, row.parallel);
}

void Add(ExploreCounts& into, const ExploreCounts& from) {
    for (const auto count : kExploreCounts) into.*count += from.*count;
}

bool Passes(const ExploreRequest& request, const ExploreRow& row) {
    const ExploreFilter& filter = request.filter;
    const double power = KeyValue(row, ExploreKey::Power);
    // An unknown figure is -infinity, below every budget.
    const auto atLeast = [&](const std::optional<double>& budget, ExploreKey key) {
        return !budget || KeyValue(row, key) >= *budget;
    };
    return (!filter.maxCurrent || row.result.Current <= *filter.maxCurrent) &&
           (!filter.maxWeight || row.packWeight <= *filter.maxWeight) &&
           (!filter.minEfficiency || row.result.Efficiency >= *filter.minEfficiency) &&
           atLeast(filter.minThrust, ExploreKey::Thrust) &&
           atLeast(filter.minFlightTime, ExploreKey::FlightTime) &&
           atLeast(filter.minThrustToWeight, ExploreKey::ThrustToWeight) &&
           (!request.minPower || power >= *request.minPower) &&
           (!request.maxPower || power <= *request.maxPower);
}

long long ExploreCounts::*NotPossibleCount(NotPossibleReason reason) {
    switch (reason) {
        case NotPossibleReason::MotorStalls:
            return &ExploreCounts::motorStalls;
        case NotPossibleReason::MotorTooSlow:
            return &ExploreCounts::noKeptStep;
        case NotPossibleReason::None:
        case NotPossibleReason::PackTooWeak:
            break;
    }
    return &ExploreCounts::notPossible;
}

// Whether ranking or filtering a row needs its flight figures. The rows shown get theirs in any
// case; working them out for every row would cost a run a bisection of the fan curve per row.
bool NeedsFlight(const ExploreRequest& request) {
    const ExploreFilter& filter = request.filter;
    return request.pareto || request.key >= ExploreKey::Thrust || filter.minThrust ||
           filter.minFlightTime || filter.minThrustToWeight;
}

// What the workers of a run share to settle combinations by bounds instead of sweeps.
struct Bounding {
    std::array<std::optional<FanRise>, kFanCount> rises;
    RankBar bar;
};

// The fan whose curve the model uses for the slot: the last of its name.
std::size_t ModelFan(const FanTable& fans, const std::string& name) {
    std::size_t found = 0;
    for (std::size_t k = 0; k < fans.size(); ++k) {
        if (fans[k].Name == name) found = k;
    }
    return found;
}

// Whether the pack alone breaks the weight budget. The pack weight needs no sweep, and a pack over
// the budget never ranks. One whose weight faults is left to the sweep, which reports the fault.
bool OverWeight(const ExploreRequest& request, const TOptionSlot& slot, int serie, int parallel) {
    if (!request.filter.maxWeight) return false;
    const double weight =
        static_cast<double>(PackWeightOf(serie, slot.Battery.CellWeight, parallel));
    return std::isfinite(weight) && weight > *request.filter.maxWeight;
}

// Calculates one combination of the slot's unit, counted and ranked into `counts` and `top`.
// Returns false when the stop flag gave it up.
bool ExploreCombination(const Catalogue& catalogue, const ExploreRequest& request, const Unit& unit,
                        TOptionSlot& slot, int serie, int parallel, const std::atomic<bool>* stop,
                        ExploreCounts& counts, TopRows& top) {
    DiscardingSinks sinks;
    const SweepInputs inputs{
        catalogue.Fans, catalogue.WireResistance, catalogue.CompleteFans, request.option, serie,
        parallel,       request.decimalSeparator};
    CalculateReport report;
    SweepEffort effort;
    try {
        FindOperatingPoint(slot, inputs, sinks, sinks, report, &effort, SweepMethod::Bracketing,
                           stop);
    } catch (const SweepStopped&) {
        --counts.visited;
        return false;
    } catch (const Error&) {
        ++counts.faults;
        return true;
    }
    if (!effort.shortened) ++counts.fullSweeps;
    switch (report.outcome) {
        case Outcome::NotRun:
            ++counts.notRun;
            return true;
        case Outcome::NotPossible:
            ++(counts.*NotPossibleCount(report.reason));
            return true;
        case Outcome::StoppedAtLimit:
            ++counts.atLimit;
            return true;
        case Outcome::Calculated:
            break;
    }
    ExploreRow row;
    row.motor = unit.motorIndex;
    row.battery = unit.batteryIndex;
    row.fan = unit.fan;
    row.serie = serie;
    row.parallel = parallel;
    row.result = report.result;
    row.packWeight = slot.PackWeight;
    row.uBattery = slot.UBattery;
    row.rTotal = slot.RTotal;
    row.steps = report.steps;
    row.derived = Derive(slot, row.result);
    row.limits = CheckLimits(slot, catalogue.Fans, catalogue.FanLimits, row.result, row.derived);
    if (!request.ignoreLimits && AnyExceeded(row.limits)) {
        ++counts.overLimits;
        return true;
    }
    if (NeedsFlight(request)) {
        row.flight = Fly(slot, catalogue.Fans, catalogue.FanJet, request.flight, row.result);
    }
    if (!Passes(request, row)) {
        ++counts.filteredOut;
        return true;
    }
    ++counts.ranked;
    top.Offer(row);
    return true;
}

// The combinations of one unit: every pack size, counted and ranked into `counts` and `top`. With
// bounds, a block of series counts (with every parallel count) whose key provably stays below the
// bar is settled without a sweep; a block that is not is halved, the larger packs first, down to
// single combinations.
class UnitSearch {
public:
    UnitSearch(const Catalogue& catalogue, const ExploreRequest& request, const Unit& unit,
               const std::atomic<bool>* stop, ExploreCounts& counts, TopRows& top,
               Bounding* bounding)
        : catalogue_(catalogue),
          request_(request),
          unit_(unit),
          stop_(stop),
          counts_(counts),
          top_(top),
          bar_(bounding != nullptr ? &bounding->bar : nullptr) {
        slot_.Motor = unit.motor->Motor;
        slot_.MotorName = unit.motor->MotorName;
        slot_.MotorLimits = unit.motor->MotorLimits;
        slot_.Battery = unit.battery->Battery;
        slot_.BatteryName = unit.battery->BatteryName;
        slot_.CellLimits = unit.battery->CellLimits;
        ChooseFan(slot_, catalogue.Fans, unit.fan);
        if (bounding != nullptr && !request.space.parallels.empty()) {
            const std::size_t fan = ModelFan(catalogue.Fans, slot_.FanName);
            bound_ = KeyBound::For(request, slot_, catalogue, fan, bounding->rises[fan]);
        }
    }

    void Run() { Block(request_.space.series); }

private:
    bool Stopped() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

    // Whether bounds settle the block. Until some worker has `top` rows, nothing can be.
    bool Settled(int serie1, int serie2, int parallel1, int parallel2) const {
        if (!bound_) return false;
        const double bar = bar_->Get();
        return bar > -std::numeric_limits<double>::infinity() &&
               bound_->Below(serie1, serie2, parallel1, parallel2, bar);
    }

    void Block(std::span<const int> series) {
        // A combination given up is not visited: a partial run counts only what it saw.
        if (stopped_ || (stopped_ = Stopped())) return;
        const std::vector<int>& parallels = request_.space.parallels;
        if (series.empty() || parallels.empty()) return;
        if (series.size() > 1 &&
            Settled(series.front(), series.back(), parallels.front(), parallels.back())) {
            for (const int serie : series) Settle(serie, parallels);
            return;
        }
        if (series.size() > 1 && bound_) {
            const std::size_t half = series.size() / 2;
            Block(series.subspan(half));
            Block(series.first(half));
            return;
        }
        for (const int serie : series) Row(serie);
    }

    // Every parallel count of one series count.
    void Row(int serie) {
        const std::vector<int>& parallels = request_.space.parallels;
        if (Settled(serie, serie, parallels.front(), parallels.back())) {
            Settle(serie, parallels);
            return;
        }
        for (const int parallel : parallels) {
            if (stopped_ || (stopped_ = Stopped())) return;
            ++counts_.visited;
            if (OverWeight(request_, slot_, serie, parallel)) {
                ++counts_.pruned;
            } else if (Settled(serie, serie, parallel, parallel)) {
                ++counts_.bounded;
            } else if (!ExploreCombination(catalogue_, request_, unit_, slot_, serie, parallel,
                                           stop_, counts_, top_)) {
                stopped_ = true;
            }
        }
    }

    void Settle(int serie, std::span<const int> parallels) {
        for (const int parallel : parallels) {
            ++counts_.visited;
            ++(OverWeight(request_, slot_, serie, parallel) ? counts_.pruned : counts_.bounded);
        }
    }

    const Catalogue& catalogue_;
    const ExploreRequest& request_;
    const Unit& unit_;
    const std::atomic<bool>* stop_;
    ExploreCounts& counts_;
    TopRows& top_;
    RankBar* bar_;
    TOptionSlot slot_;
    std::optional<KeyBound> bound_;
    bool stopped_ = false;
};

long long PackSizes(const ExploreSpace& space) {
    return static_cast<long long>(space.series.size() * space.parallels.size());
}

// Reads one motor or battery line into a slot, or notes why it is left out.
std::optional<TOptionSlot> ReadLine(const std::vector<std::string>& lines, std::size_t index,
                                    bool motor, char separator, std::string* note) {
    TOptionSlot slot;
    try {
        if (motor) {
            ChooseMotor(slot, lines.at(index), separator);
        } else {
            ChooseBattery(slot, lines.at(index), separator);
        }
        return slot;
    } catch (const Error& e) {
        if (note != nullptr) {
            *note = std::string(motor ? "motor" : "battery") + " \"" +
                    std::string(EntryText(lines[index])) + "\" left out: " + e.what();
        }
        return std::nullopt;
    }
}

// What one worker thread holds: its counts and best rows, the motor it read last (items come in
// motor order, so a worker reads each motor about once), and the notes on the motors it found
// unreadable, by position.
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
                 Worker& worker) {
    const ExploreSpace& space = request.space;
    if (worker.motorAt != item.motor) {
        worker.motorAt = item.motor;
        std::string note;
        worker.motor = ReadLine(catalogue.MotorLines, space.motors[item.motor], true,
                                request.decimalSeparator, &note);
        // The note is made once, by whoever takes the motor's first item.
        if (!worker.motor && item.battery == 0 && item.fan == 0) {
            worker.notes.emplace_back(item.motor, std::move(note));
        }
    }
    const std::optional<TOptionSlot>& battery = batteries[item.battery];
    if (!worker.motor || !battery) {
        const long long packs = PackSizes(space);
        worker.counts.unreadable += packs;
        worker.counts.visited += packs;
        return;
    }
    const Unit unit{&*worker.motor, &*battery, space.motors[item.motor],
                    space.batteries[item.battery], space.fans[item.fan]};
    UnitSearch(catalogue, request, unit, worker.stop, worker.counts, worker.best, worker.bounding)
        .Run();
}

unsigned Threads(unsigned requested, std::size_t work) {
    const unsigned threads = requested != 0 ? requested : std::thread::hardware_concurrency();
    return static_cast<unsigned>(
        std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(work, 1)));
}

bool Stopped(const ExploreProgress& progress) {
    return progress.stop != nullptr && progress.stop->load(std::memory_order_relaxed);
}

// Calls work(worker, i) for every i < count on `threads` threads, each index once, until
// progress.stop is set, and reports progress from the calling thread meanwhile. An exception in any
// call stops the others' work and is rethrown here.
void RunParallel(std::size_t count, unsigned threads, const ExploreProgress& progress,
                 const std::function<void(unsigned, std::size_t)>& work,
                 const std::function<long long()>& done, long long total) {
    std::atomic<std::size_t> next{0};
    std::vector<std::exception_ptr> failures(threads);
    std::mutex mutex;
    std::condition_variable finished;
    unsigned running = threads;

    const auto worker = [&](unsigned id) {
        try {
            for (std::size_t i; (i = next.fetch_add(1)) < count && !Stopped(progress);) {
                work(id, i);
            }
        } catch (...) {
            failures[id] = std::current_exception();
            next.store(count);
        }
        const std::lock_guard lock(mutex);
        --running;
        finished.notify_one();
    };

    std::vector<std::thread> pool;
    for (unsigned id = 0; id < threads; ++id) {
        try {
            pool.emplace_back(worker, id);
        } catch (const std::system_error&) {
            // Out of threads: those started share all the work, and with none started the
            // caller's thread does it. Leaving started threads unjoined would end the program.
            const std::lock_guard lock(mutex);
            running -= threads - id;
            break;
        }
    }
    if (pool.empty()) {
        running = 1;
        worker(0);
    }
    {
        std::unique_lock lock(mutex);
        const auto interval = std::chrono::duration<double>(progress.interval);
        while (!finished.wait_for(lock, interval, [&] { return running == 0; })) {
            if (progress.report) {
                lock.unlock();
                progress.report(done(), total);
                lock.lock();
            }
        }
    }
    for (std::thread& thread : pool) thread.join();
    for (const std::exception_ptr& failure : failures) {
        if (failure) std::rethrow_exception(failure);
    }
}

// The slot a row's combination starts its Calculate from, read afresh from the catalogue.
TOptionSlot RowSlot(const Catalogue& catalogue, const ExploreRow& row, char separator) {
    TOptionSlot slot;
    ChooseMotor(slot, catalogue.MotorLines.at(row.motor), separator);
    ChooseBattery(slot, catalogue.BatteryLines.at(row.battery), separator);
    ChooseFan(slot, catalogue.Fans, row.fan);
    return slot;
}

// Recalculates each reported row the way the window does, every step of the sweep, and notes any
// row whose result differs in any bit.
void Verify(const Catalogue& catalogue, const ExploreRequest& request, ExploreResult& result) {
    std::vector<std::string> found = RecheckRows(catalogue, request, result.rows);
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (!found[i].empty()) {
            result.mismatches.push_back("row " + std::to_string(i + 1) + " " + found[i]);
        }
    }
}

}  // namespace

std::vector<int> ExploreSpace::Counts(int first, int last) {
    std::vector<int> counts;
    for (int n = first; n <= last; ++n) counts.push_back(n);
    return counts;
}

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
    row.derived = Derive(slot, row.result);
    row.limits = CheckLimits(slot, catalogue.Fans, catalogue.FanLimits, row.result, row.derived);
    row.flight = Fly(slot, catalogue.Fans, catalogue.FanJet, flight, row.result);
}

std::string RecheckRow(const Catalogue& catalogue, const ExploreRequest& request,
                       const ExploreRow& row) {
    const SweepInputs inputs{
        catalogue.Fans, catalogue.WireResistance, catalogue.CompleteFans, request.option, row.serie,
        row.parallel,   request.decimalSeparator};
    DiscardingSinks sinks;
    CalculateReport report;
    TOptionSlot slot;
    std::string error;
    try {
        slot = RowSlot(catalogue, row, request.decimalSeparator);
        Calculate(slot, inputs, sinks, sinks, report);
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

std::vector<std::string> RecheckRows(const Catalogue& catalogue, const ExploreRequest& request,
                                     const std::vector<ExploreRow>& rows) {
    std::vector<std::string> found(rows.size());
    std::atomic<long long> done{0};
    RunParallel(
        rows.size(), Threads(request.threads, rows.size()), {},
        [&](unsigned, std::size_t i) {
            found[i] = RecheckRow(catalogue, request, rows[i]);
            done.fetch_add(1, std::memory_order_relaxed);
        },
        [&] { return done.load(); }, static_cast<long long>(rows.size()));
    return found;
}

ExploreSpace WholeSpace(const Catalogue& catalogue) {
    ExploreSpace space;
    for (std::size_t i = 0; i < catalogue.MotorLines.size(); ++i) space.motors.push_back(i);
    for (std::size_t i = 0; i < catalogue.BatteryLines.size(); ++i) space.batteries.push_back(i);
    for (int fan = 1; fan <= kFanCount; ++fan) space.fans.push_back(fan);
    return space;
}

double KeyValue(const ExploreRow& row, ExploreKey key, double target) {
    const auto shaftPower = [&] {
        return static_cast<double>(ShaftPower(row.result.PinMotor, row.result.Efficiency));
    };
    static constexpr double kUnknown = -std::numeric_limits<double>::infinity();
    const auto known = [](const std::optional<double>& value) { return value.value_or(kUnknown); };
    const FlightFigures& flight = row.flight;
    switch (key) {
        case ExploreKey::Rpm:
            return row.result.RpmMotor;
        case ExploreKey::Power:
            return shaftPower();
        case ExploreKey::Efficiency:
            return row.result.Efficiency;
        case ExploreKey::PowerPerWeight:
            return row.derived.powerPerWeight;
        case ExploreKey::RunTime:
            return row.derived.runTime;
        case ExploreKey::Target:
            return -std::abs(shaftPower() - target);
        case ExploreKey::Thrust:
            return flight.full ? flight.full->thrust : kUnknown;
        case ExploreKey::ThrustToWeight:
            return known(flight.thrustToWeight);
        case ExploreKey::Efflux:
            return flight.full ? flight.full->efflux : kUnknown;
        case ExploreKey::FlightTime:
            return known(flight.flightTime);
        case ExploreKey::TargetThrust:
            return flight.full ? -std::abs(flight.full->thrust - target) : kUnknown;
    }
    return 0;
}

double TargetOf(const ExploreRequest& request) {
    return request.key == ExploreKey::TargetThrust ? request.targetThrust : request.targetPower;
}

bool ThrustKnown(const Catalogue& catalogue, const ExploreSpace& space) {
    return std::all_of(space.fans.begin(), space.fans.end(), [&](int fan) {
        const TFanJetData& jet = catalogue.FanJet.at(static_cast<std::size_t>(fan - 1));
        return jet.SweptArea && jet.StaticEfficiency;
    });
}

ExploreKey DefaultKey(const Catalogue& catalogue, const ExploreRequest& request) {
    if (!ThrustKnown(catalogue, request.space)) return ExploreKey::PowerPerWeight;
    return request.flight.modelWeight ? ExploreKey::ThrustToWeight : ExploreKey::Thrust;
}

bool RanksBefore(const ExploreRow& a, const ExploreRow& b, ExploreKey key, double target) {
    const double ka = KeyValue(a, key, target);
    const double kb = KeyValue(b, key, target);
    if (ka != kb) return ka > kb;
    return CombinationOrder(a) < CombinationOrder(b);
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

// The bounds a ranked run settles combinations with; none where every combination is calculated.
std::unique_ptr<Bounding> BoundingFor(const Catalogue& catalogue, const ExploreRequest& request) {
    if (request.exhaustive || request.pareto || request.top == 0 ||
        catalogue.CompleteFans.count != kFanCount) {
        return nullptr;
    }
    auto bounding = std::make_unique<Bounding>();
    for (std::size_t k = 0; k < kFanCount; ++k) bounding->rises[k] = FanRiseOf(catalogue.Fans[k]);
    return bounding;
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
    result.rows = best.Sorted();
    if (!NeedsFlight(request)) {
        for (ExploreRow& row : result.rows) {
            row.flight = Fly(CalculatedSlot(catalogue, row, request.decimalSeparator),
                             catalogue.Fans, catalogue.FanJet, request.flight, row.result);
        }
    }
    result.partial = result.counts.visited < result.combinations;
    if (request.verify && !result.partial) Verify(catalogue, request, result);
    return result;
}

namespace {

// A ranking that settles combinations by bounds goes faster as its bar rises, so samples of single
// items, each with no bar, would overstate it many times over. The run itself is started and
// stopped after the budget instead; its pace then is still the slowest of the run.
double EstimateBounded(const Catalogue& catalogue, const ExploreRequest& request, double budget) {
    ExploreRequest quiet = request;
    quiet.verify = false;
    std::atomic<bool> stop{false};
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    ExploreProgress progress;
    progress.interval = budget / 8;
    progress.stop = &stop;
    progress.report = [&](long long, long long) {
        if (elapsed() >= budget) stop = true;
    };
    const ExploreResult result = Explore(catalogue, quiet, progress);
    const double seconds = elapsed();
    if (!result.partial) return seconds;
    return seconds * static_cast<double>(result.combinations) /
           static_cast<double>(std::max(1LL, result.counts.visited));
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
