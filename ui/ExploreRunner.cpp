// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ExploreRunner.h"

#include <chrono>
#include <exception>

ExploreRunner::ExploreRunner(QObject* parent) : QObject(parent) {}

ExploreRunner::~ExploreRunner() {
    cancel();
    // A queued report or end still on its way is dropped with this object.
    if (worker_.joinable()) worker_.join();
}

bool ExploreRunner::start(const mfb::Catalogue& catalogue, const mfb::ExploreRequest& request) {
    if (running()) return false;
    stop_ = false;
    auto copy = std::make_shared<const mfb::Catalogue>(catalogue);
    worker_ = std::thread([this, copy, request] {
        auto outcome = std::make_shared<ExploreOutcome>();
        outcome->catalogue = copy;
        mfb::ExploreProgress progress;
        progress.interval = kProgressInterval;
        progress.stop = &stop_;
        progress.report = [this](long long done, long long total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { emit progressed(done, total); }, Qt::QueuedConnection);
        };
        const auto begin = std::chrono::steady_clock::now();
        try {
            outcome->result = mfb::Explore(*copy, request, progress);
        } catch (const std::exception& e) {
            outcome->error = QString::fromLatin1(e.what());
        }
        outcome->seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(outcome); }, Qt::QueuedConnection);
    });
    return true;
}

void ExploreRunner::cancel() {
    stop_ = true;
}

void ExploreRunner::finish(std::shared_ptr<const ExploreOutcome> outcome) {
    // The thread posted this as its last act, so the join does not wait.
    worker_.join();
    emit finished(std::move(outcome));
}
