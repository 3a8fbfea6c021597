// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/RunParallel.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace mfb {

namespace {

bool Stopped(const ExploreProgress& progress) {
    return progress.stop != nullptr && progress.stop->load(std::memory_order_relaxed);
}

}  // namespace

unsigned Threads(unsigned requested, std::size_t work) {
    const unsigned threads = requested != 0 ? requested : std::thread::hardware_concurrency();
    return static_cast<unsigned>(
        std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(work, 1)));
}

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

}  // namespace mfb
