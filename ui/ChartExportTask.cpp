// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartExportTask.h"

#include <cmath>

#include "ui/ChartExport.h"

namespace {

// How often the progress shown is brought up to date.
constexpr int kPollMs = 100;

}  // namespace

ChartExportTask::ChartExportTask(Writer writer, const QString& path, QObject* parent)
    : QObject(parent), writer_(std::move(writer)), path_(path) {}

ChartExportTask::ChartExportTask(Writer writer, qsizetype limit, QObject* parent)
    : QObject(parent), writer_(std::move(writer)), limit_(limit) {}

ChartExportTask::~ChartExportTask() {
    stop();
}

void ChartExportTask::stop() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void ChartExportTask::start() {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, [this] { emit progressed(progress_); });
    poll_.start();
    worker_ = std::thread([this] {
        Run();
        // Queued to this object: dropped if the task is destroyed first.
        QMetaObject::invokeMethod(this, &ChartExportTask::End, Qt::QueuedConnection);
    });
}

bool ChartExportTask::Take(std::string_view piece, double done) {
    progress_ = static_cast<int>(std::lround(done * kProgressSteps));
    if (cancel_) {
        cancelled_ = true;
        return false;
    }
    if (toFile()) return true;
    if (text_.size() + static_cast<qsizetype>(piece.size()) > limit_) {
        tooLarge_ = true;
        return false;
    }
    text_.append(piece.data(), static_cast<qsizetype>(piece.size()));
    return true;
}

void ChartExportTask::Run() {
    if (!toFile()) {
        writer_([this](std::string_view piece, double done) { return Take(piece, done); });
        if (tooLarge_ || cancelled_) text_.clear();
        return;
    }
    failure_ = WriteWholeFile(path_, [this](const WholeFileWrite& write) {
        return writer_([&](std::string_view piece, double done) {
            return Take(piece, done) &&
                   write(QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
        });
    });
}

void ChartExportTask::End() {
    if (worker_.joinable()) worker_.join();
    poll_.stop();
    emit progressed(progress_);
    emit finished();
}
