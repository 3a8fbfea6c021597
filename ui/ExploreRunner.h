// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

#include "catalogue/Catalogue.h"
#include "explore/Explorer.h"

// One finished exploration: the catalogue it ran on (a copy, so that the rows' indexes keep their
// meaning), its result and how long it took. `error` holds the message of an error that ended it.
struct ExploreOutcome {
    std::shared_ptr<const mfb::Catalogue> catalogue;
    mfb::ExploreResult result;
    double seconds = 0;
    QString error;
};

// Runs one exploration at a time on a thread of its own, so that the windows go on handling
// events meanwhile. Progress and the end arrive as signals on the thread that owns the runner.
// cancel() asks the run to stop after the combinations under way; the destructor cancels and
// waits, so no thread outlives the runner.
class ExploreRunner : public QObject {
    Q_OBJECT
public:
    explicit ExploreRunner(QObject* parent = nullptr);
    ~ExploreRunner() override;

    // Starts a run on a copy of `catalogue`; refused (false) while one is under way.
    bool start(const mfb::Catalogue& catalogue, const mfb::ExploreRequest& request);
    void cancel();
    // From start() until `finished` is emitted.
    bool running() const { return worker_.joinable(); }
    // Seconds between two `progressed` signals.
    static constexpr double kProgressInterval = 0.1;

signals:
    void progressed(long long done, long long total);
    void finished(std::shared_ptr<const ExploreOutcome> outcome);

private:
    void finish(std::shared_ptr<const ExploreOutcome> outcome);

    std::thread worker_;
    std::atomic<bool> stop_{false};
};
