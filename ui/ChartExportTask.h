// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>

#include "chart/PointsCsv.h"

// A chart's points as comma-separated text, made on a worker thread so that the window goes on
// answering while millions of rows become hundreds of megabytes: written whole to a file (see
// WriteWholeFile), a piece at a time, or collected in memory up to a limit.
//
// The writer runs on the worker and reads the chart's rows there; the window must leave them as
// they are until finished() or the task is destroyed, which cancels and waits for the worker.
class ChartExportTask : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<bool(const mfb::CsvSink& sink)>;

    // progressed() counts up to this.
    static constexpr int kProgressSteps = 1000;

    // Into the file at `path`.
    ChartExportTask(Writer writer, const QString& path, QObject* parent = nullptr);
    // Into memory; text longer than `limit` bytes stops it as tooLarge().
    ChartExportTask(Writer writer, qsizetype limit, QObject* parent = nullptr);
    ~ChartExportTask() override;

    void start();
    // Stops at the next piece; finished() follows, with cancelled().
    void cancel() { cancel_ = true; }
    // Stops at the next piece and waits for the worker; the results below are then final, and
    // the task is to be destroyed without waiting for finished().
    void stop();

    bool toFile() const { return limit_ < 0; }
    const QString& path() const { return path_; }
    // Once finished: the reason the file could not be written (empty if it was, or if cancelled),
    // whether the user cancelled, whether the text outgrew the limit, and the text collected.
    const QString& failure() const { return failure_; }
    bool cancelled() const { return cancelled_; }
    bool tooLarge() const { return tooLarge_; }
    const QByteArray& text() const { return text_; }

signals:
    void progressed(int steps);
    void finished();

private:
    void Run();
    bool Take(std::string_view piece, double done);
    void End();

    Writer writer_;
    QString path_;
    qsizetype limit_ = -1;  // none when writing to a file
    std::atomic<bool> cancel_{false};
    std::atomic<int> progress_{0};
    QTimer poll_;
    std::thread worker_;
    // Written by the worker, read after it has been joined.
    QString failure_;
    bool cancelled_ = false;
    bool tooLarge_ = false;
    QByteArray text_;
};
