// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/Explorer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <tuple>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/FastSweep.h"
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

struct BetterRow {
    ExploreKey key;
    bool operator()(const ExploreRow& a, const ExploreRow& b) const {
        const double ka = KeyValue(a, key);
        const double kb = KeyValue(b, key);
        if (ka != kb) return ka > kb;
        return CombinationOrder(a) < CombinationOrder(b);
    }
};

// Keeps the best `top` rows of those offered, trimming only now and then.
class TopRows {
public:
    TopRows(std::size_t top, ExploreKey key) : top_(top), better_{key} {}

    void Offer(const ExploreRow& row) {
        if (top_ == 0) return;
        rows_.push_back(row);
        if (rows_.size() >= 2 * top_ + 1024) Trim();
    }

    void Merge(const TopRows& other) {
        rows_.insert(rows_.end(), other.rows_.begin(), other.rows_.end());
        Trim();
    }

    std::vector<ExploreRow> Sorted() {
        Trim();
        std::sort(rows_.begin(), rows_.end(), better_);
        return rows_;
    }

private:
    void Trim() {
        if (rows_.size() <= top_) return;
        std::nth_element(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(top_),
                         rows_.end(), better_);
        rows_.resize(top_);
    }

    std::size_t top_;
    BetterRow better_;
    std::vector<ExploreRow> rows_;
};

void Add(ExploreCounts& into, const ExploreCounts& from) {
    into.visited += from.visited;
    into.ranked += from.ranked;
    into.filteredOut += from.filteredOut;
    into.noKeptStep += from.noKeptStep;
    into.notPossible += from.notPossible;
    into.atLimit += from.atLimit;
    into.faults += from.faults;
    into.unreadable += from.unreadable;
    into.notRun += from.notRun;
    into.fullSweeps += from.fullSweeps;
}

bool Passes(const ExploreFilter& filter, const ExploreRow& row) {
    return (!filter.maxCurrent || row.result.Current <= *filter.maxCurrent) &&
           (!filter.maxWeight || row.packWeight <= *filter.maxWeight) &&
           (!filter.minEfficiency || row.result.Efficiency >= *filter.minEfficiency);
}

// The combinations of one unit: every pack size, counted and ranked into `counts` and `top`.
void ExploreUnit(const Catalogue& catalogue, const ExploreRequest& request, const Unit& unit,
                 ExploreCounts& counts, TopRows& top) {
    const ExploreSpace& space = request.space;
    TOptionSlot slot;
    slot.Motor = unit.motor->Motor;
    slot.MotorName = unit.motor->MotorName;
    slot.Battery = unit.battery->Battery;
    slot.BatteryName = unit.battery->BatteryName;
    ChooseFan(slot, catalogue.Fans, unit.fan);

    DiscardingSinks sinks;
    for (const int serie : space.series) {
        for (const int parallel : space.parallels) {
            ++counts.visited;
            const SweepInputs inputs{catalogue.Fans,
                                     catalogue.WireResistance,
                                     catalogue.CompleteFans,
                                     request.option,
                                     serie,
                                     parallel,
                                     request.decimalSeparator};
            CalculateReport report;
            SweepEffort effort;
            try {
                FindOperatingPoint(slot, inputs, sinks, sinks, report, &effort);
            } catch (const Error&) {
                ++counts.faults;
                continue;
            }
            if (!effort.shortened) ++counts.fullSweeps;
            switch (report.outcome) {
                case Outcome::NotRun:
                    ++counts.notRun;
                    continue;
                case Outcome::NotPossible:
                    ++counts.notPossible;
                    continue;
                case Outcome::StoppedAtLimit:
                    ++counts.atLimit;
                    continue;
                case Outcome::Calculated:
                    break;
            }
            // The kept step is at least one step above the start power; all zero means none.
            if (report.result.PinMotor == 0) {
                ++counts.noKeptStep;
                continue;
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
            // mAh over A is thousandths of an hour.
            if (row.result.Current > 0) {
                row.runTime = slot.Battery.Capacity * parallel / row.result.Current * 0.06;
            }
            if (!Passes(request.filter, row)) {
                ++counts.filteredOut;
                continue;
            }
            ++counts.ranked;
            top.Offer(row);
        }
    }
}

long long PackSizes(const ExploreSpace& space) {
    return static_cast<long long>(space.series.size() * space.parallels.size());
}

// Reads the chosen lines once. A line with a bad number is left out with a note, and every
// combination it would have been part of counts as unreadable.
std::vector<std::optional<TOptionSlot>> ReadLines(const std::vector<std::string>& lines,
                                                  const std::vector<std::size_t>& chosen,
                                                  bool motors, char separator,
                                                  std::vector<std::string>& notes) {
    std::vector<std::optional<TOptionSlot>> read;
    read.reserve(chosen.size());
    for (const std::size_t index : chosen) {
        TOptionSlot slot;
        try {
            if (motors) {
                ChooseMotor(slot, lines.at(index), separator);
            } else {
                ChooseBattery(slot, lines.at(index), separator);
            }
            read.emplace_back(std::move(slot));
        } catch (const Error& e) {
            notes.push_back(std::string(motors ? "motor" : "battery") + " \"" +
                            std::string(EntryText(lines[index])) + "\" left out: " + e.what());
            read.emplace_back();
        }
    }
    return read;
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
    for (unsigned id = 0; id < threads; ++id) pool.emplace_back(worker, id);
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
    std::vector<std::string> found(result.rows.size());
    const unsigned threads = Threads(request.threads, result.rows.size());
    std::atomic<long long> done{0};
    const auto check = [&](unsigned, std::size_t i) {
        const ExploreRow& row = result.rows[i];
        TOptionSlot slot = RowSlot(catalogue, row, request.decimalSeparator);
        const SweepInputs inputs{catalogue.Fans,
                                 catalogue.WireResistance,
                                 catalogue.CompleteFans,
                                 request.option,
                                 row.serie,
                                 row.parallel,
                                 request.decimalSeparator};
        DiscardingSinks sinks;
        CalculateReport report;
        std::string error;
        try {
            Calculate(slot, inputs, sinks, sinks, report);
        } catch (const Error& e) {
            error = e.what();
        }
        const ResultPoint& a = report.result;
        const ResultPoint& b = row.result;
        const bool same = error.empty() && report.outcome == Outcome::Calculated &&
                          report.steps == row.steps && a.Current == b.Current &&
                          a.RpmMotor == b.RpmMotor && a.PinMotor == b.PinMotor &&
                          a.Efficiency == b.Efficiency && a.UMotor == b.UMotor &&
                          slot.PackWeight == row.packWeight && slot.UBattery == row.uBattery &&
                          slot.RTotal == row.rTotal;
        if (!same) {
            found[i] = "row " + std::to_string(i + 1) + " (" + slot.MotorName + ", " +
                       slot.BatteryName + ", fan " + std::to_string(row.fan) + ", " +
                       std::to_string(row.serie) + "S" + std::to_string(row.parallel) +
                       "P): the full sweep gives " +
                       (error.empty() ? std::to_string(report.steps) + " steps, kept step at " +
                                            std::to_string(a.PinMotor) + " W"
                                      : error);
        }
        done.fetch_add(1, std::memory_order_relaxed);
    };
    RunParallel(
        result.rows.size(), threads, {}, check, [&] { return done.load(); },
        static_cast<long long>(result.rows.size()));
    for (std::string& mismatch : found) {
        if (!mismatch.empty()) result.mismatches.push_back(std::move(mismatch));
    }
}

}  // namespace

std::vector<int> ExploreSpace::Counts(int first, int last) {
    std::vector<int> counts;
    for (int n = first; n <= last; ++n) counts.push_back(n);
    return counts;
}

ExploreSpace WholeSpace(const Catalogue& catalogue) {
    ExploreSpace space;
    for (std::size_t i = 0; i < catalogue.MotorLines.size(); ++i) space.motors.push_back(i);
    for (std::size_t i = 0; i < catalogue.BatteryLines.size(); ++i) space.batteries.push_back(i);
    for (int fan = 1; fan <= kFanCount; ++fan) space.fans.push_back(fan);
    return space;
}

double KeyValue(const ExploreRow& row, ExploreKey key) {
    const auto shaftPower = [&] {
        return static_cast<double>(ShaftPower(row.result.PinMotor, row.result.Efficiency));
    };
    switch (key) {
        case ExploreKey::Rpm:
            return row.result.RpmMotor;
        case ExploreKey::Power:
            return shaftPower();
        case ExploreKey::Efficiency:
            return row.result.Efficiency;
        case ExploreKey::PowerPerWeight:
            return row.packWeight > 0 ? shaftPower() / row.packWeight : 0;
        case ExploreKey::RunTime:
            return row.runTime;
    }
    return 0;
}

ExploreResult Explore(const Catalogue& catalogue, const ExploreRequest& request,
                      const ExploreProgress& progress) {
    const ExploreSpace& space = request.space;
    ExploreResult result;
    const long long packSizes = PackSizes(space);
    result.combinations =
        static_cast<long long>(space.motors.size() * space.batteries.size() * space.fans.size()) *
        packSizes;

    const auto motors =
        ReadLines(catalogue.MotorLines, space.motors, true, request.decimalSeparator, result.notes);
    const auto batteries = ReadLines(catalogue.BatteryLines, space.batteries, false,
                                     request.decimalSeparator, result.notes);
    std::vector<Unit> units;
    for (std::size_t m = 0; m < motors.size(); ++m) {
        for (std::size_t b = 0; b < batteries.size(); ++b) {
            for (const int fan : space.fans) {
                if (!motors[m] || !batteries[b]) {
                    result.counts.unreadable += packSizes;
                    result.counts.visited += packSizes;
                    continue;
                }
                units.push_back(
                    {&*motors[m], &*batteries[b], space.motors[m], space.batteries[b], fan});
            }
        }
    }

    const unsigned threads = Threads(request.threads, units.size());
    std::vector<ExploreCounts> counts(threads);
    std::vector<TopRows> tops(threads, TopRows(request.top, request.key));
    std::atomic<long long> done{result.counts.visited};
    RunParallel(
        units.size(), threads, progress,
        [&](unsigned worker, std::size_t i) {
            ExploreUnit(catalogue, request, units[i], counts[worker], tops[worker]);
            done.fetch_add(packSizes, std::memory_order_relaxed);
        },
        [&] { return done.load(std::memory_order_relaxed); }, result.combinations);

    TopRows best(request.top, request.key);
    for (unsigned worker = 0; worker < threads; ++worker) {
        Add(result.counts, counts[worker]);
        best.Merge(tops[worker]);
    }
    result.rows = best.Sorted();
    result.partial = result.counts.visited < result.combinations;
    if (request.verify && !result.partial) Verify(catalogue, request, result);
    return result;
}

}  // namespace mfb
