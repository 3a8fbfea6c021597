// SPDX-License-Identifier: GPL-3.0-or-later
// Cross-checks the shortened sweep against Calculate's full sweep over a catalogue's whole space,
// every motor, cell type, fan and pack size, comparing everything each shows, reports and leaves
// in the slot. Too long for the test suite: the full sweeps of the sample space take hours, so
// combinations whose sweep is longer than a bound are checked one in so many. Or the same over
// random power trains (tests/support/RandomPowerTrains.h), each from its own seed, leaving out
// those whose sweep is longer than a bound: a nightly run compares a million.
//
//   fast_sweep_check DIR [FULL_BELOW_STEPS [ONE_IN [THREADS]]]
//   fast_sweep_check --random COUNT [FULL_BELOW_STEPS [SEED [THREADS]]]
//   fast_sweep_check --rankings COUNT [SEED]
//
// The third form compares random rankings that settle combinations by bounds with the exhaustive
// run of each (tests/support/RandomSearches.h).
//
// Prints the combinations checked, the differences found (the exit status is 1 if there are any)
// and the evaluations the shortened sweep needed against the steps of the full one.
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "tests/support/RandomPowerTrains.h"
#include "tests/support/RandomSearches.h"
#include "tests/support/SweepComparison.h"

namespace {

using namespace mfb;

struct Totals {
    std::atomic<long long> checked{0}, skipped{0}, different{0}, steps{0}, evaluations{0};
    std::array<std::atomic<long long>, 4> outcomes{};
    std::atomic<long long> faults{0};
};

// Compares one combination's two sweeps into the totals; false where the shortened sweep is too
// long to check.
bool Check(const TOptionSlot& slot, const SweepInputs& in, long long fullBelow, Totals& totals,
           std::mutex& mutex) {
    const test::Effects fast = test::Sweep(true, slot, in);
    if (fast.steps >= fullBelow) return false;
    const test::Effects full = test::Sweep(false, slot, in);
    ++totals.checked;
    totals.steps += full.steps + 1;
    totals.evaluations += fast.effort.evaluations;
    if (!full.error.empty()) ++totals.faults;
    ++totals.outcomes[static_cast<std::size_t>(full.outcome)];
    if (fast.error != full.error || fast.report != full.report || fast.slot != full.slot ||
        fast.events != full.events || fast.points != 0) {
        ++totals.different;
        const std::lock_guard lock(mutex);
        std::printf("DIFFERENT: %s | %s | %s | %dS%dP\n  full: %s %s\n  fast: %s %s\n",
                    slot.MotorName.c_str(), slot.BatteryName.c_str(), slot.FanName.c_str(),
                    in.CellsSerie, in.CellsParallel, full.report.c_str(), full.error.c_str(),
                    fast.report.c_str(), fast.error.c_str());
    }
    return true;
}

void RunOn(unsigned threads, const std::function<void()>& work) {
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < std::max(1u, threads); ++t) pool.emplace_back(work);
    for (std::thread& thread : pool) thread.join();
}

int Report(long long total, const Totals& totals) {
    std::printf(
        "%lld combinations: %lld checked (%lld calculated, %lld not possible, %lld at the limit, "
        "%lld faults), %lld not checked, %lld different\n"
        "full sweep: %lld evaluations; shortened sweep: %lld (%.1f per combination)\n",
        total, totals.checked.load(), totals.outcomes[1].load(), totals.outcomes[2].load(),
        totals.outcomes[3].load(), totals.faults.load(), totals.skipped.load(),
        totals.different.load(), totals.steps.load(), totals.evaluations.load(),
        static_cast<double>(totals.evaluations) /
            static_cast<double>(std::max(1LL, totals.checked.load())));
    return totals.different == 0 ? 0 : 1;
}

int CheckRandom(int argc, char** argv) {
    const long long count = argc > 2 ? std::atoll(argv[2]) : 1'000'000;
    const long long fullBelow = argc > 3 ? std::atoll(argv[3]) : 5'000;
    const auto seed = static_cast<std::uint64_t>(argc > 4 ? std::atoll(argv[4]) : 20261208);
    const unsigned threads =
        argc > 5 ? static_cast<unsigned>(std::atoi(argv[5])) : std::thread::hardware_concurrency();
    std::atomic<long long> next{0};
    std::mutex mutex;
    Totals totals;
    RunOn(threads, [&] {
        for (long long i; (i = next.fetch_add(1)) < count;) {
            const test::RandomPowerTrain train =
                test::RandomPowerTrains(seed + static_cast<std::uint64_t>(i)).Next();
            if (!Check(train.slot, train.Inputs(), fullBelow, totals, mutex)) ++totals.skipped;
        }
    });
    return Report(count, totals);
}

// Random rankings (tests/support/RandomSearches.h) that settle combinations by bounds, each against
// the exhaustive run of the same search.
int CheckRankings(int argc, char** argv) {
    const long long count = argc > 2 ? std::atoll(argv[2]) : 100'000;
    const auto seed = static_cast<std::uint64_t>(argc > 3 ? std::atoll(argv[3]) : 20261208);
    test::RandomSearches searches(seed);
    long long different = 0, settling = 0;
    for (long long i = 0; i < count; ++i) {
        const test::RandomSearch search = searches.Next();
        long long settled = 0;
        const std::string difference =
            test::CompareWithExhaustive(search.catalogue, search.request, &settled);
        if (settled > 0) ++settling;
        if (!difference.empty()) {
            ++different;
            std::printf("DIFFERENT: search %lld: %s\n", i, difference.c_str());
        }
    }
    std::printf(
        "%lld rankings compared with the exhaustive run, %lld settling combinations by "
        "bounds; %lld different\n",
        count, settling, different);
    return different == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s DIR [FULL_BELOW_STEPS [ONE_IN [THREADS]]]\n"
                     "       %s --random COUNT [FULL_BELOW_STEPS [SEED [THREADS]]]\n"
                     "       %s --rankings COUNT [SEED]\n",
                     argv[0], argv[0], argv[0]);
        return 2;
    }
    if (std::string(argv[1]) == "--random") return CheckRandom(argc, argv);
    if (std::string(argv[1]) == "--rankings") return CheckRankings(argc, argv);
    const std::string directory = argv[1];
    const long long fullBelow = argc > 2 ? std::atoll(argv[2]) : 100'000;
    const long long oneIn = argc > 3 ? std::max(1LL, std::atoll(argv[3])) : 50;
    const unsigned threads =
        argc > 4 ? static_cast<unsigned>(std::atoi(argv[4])) : std::thread::hardware_concurrency();

    Catalogue catalogue;
    std::array<TOptionSlot, kOptionCount> slots;
    LoadObserver quiet;
    try {
        LoadCatalogues(
            catalogue, slots,
            {[&](const std::string& name) { return ReadWholeFile(directory + "/" + name); },
             [](const std::string& a, const std::string& b) { return a < b; }, '.'},
            quiet);
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }

    const std::size_t motors = catalogue.MotorLines.size();
    const std::size_t batteries = catalogue.BatteryLines.size();
    const long long total = static_cast<long long>(motors * batteries) * kFanCount * 40 * 10;
    std::atomic<long long> next{0};
    long long longOnes = 0;  // shared count of long sweeps met, for the one-in-so-many choice
    std::mutex mutex;
    Totals totals;

    const auto work = [&] {
        for (long long i; (i = next.fetch_add(1)) < total;) {
            long long rest = i;
            const int parallel = 1 + static_cast<int>(rest % 10);
            const int serie = 1 + static_cast<int>((rest /= 10) % 40);
            const int fan = 1 + static_cast<int>((rest /= 40) % kFanCount);
            const std::size_t battery = static_cast<std::size_t>((rest /= kFanCount) % batteries);
            const std::size_t motor = static_cast<std::size_t>(rest / batteries);
            TOptionSlot slot;
            try {
                ChooseMotor(slot, catalogue.MotorLines[motor], '.');
                ChooseBattery(slot, catalogue.BatteryLines[battery], '.');
            } catch (const Error&) {
                ++totals.skipped;
                continue;
            }
            ChooseFan(slot, catalogue.Fans, fan);
            const SweepInputs in{
                catalogue.Fans, catalogue.WireResistance, kAllFansWhole, 1, serie, parallel, '.'};
            // Long sweeps are checked one in `oneIn`, counted over all threads.
            bool check = true;
            if (test::Sweep(true, slot, in).steps >= fullBelow) {
                const std::lock_guard lock(mutex);
                check = longOnes++ % oneIn == 0;
            }
            if (!check || !Check(slot, in, std::numeric_limits<long long>::max(), totals, mutex)) {
                ++totals.skipped;
            }
        }
    };
    RunOn(threads, work);
    return Report(total, totals);
}
