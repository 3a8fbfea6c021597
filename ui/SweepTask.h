// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <array>
#include <string>

#include "model/OptionSlot.h"
#include "model/ResultView.h"
#include "model/Sweep.h"

class OptionColumn;

// One option's Calculate, run in slices of a few milliseconds on the event loop so that the
// windows repaint and answer during a sweep of millions of steps. Slices rather than a thread: the
// column and the chart window are written from the thread that owns them, as everywhere else.
//
// The sweep runs on a copy of the option's slot taken at the click, with the cell counts and the
// fan table of that moment, so the result belongs to what was on screen when Calculate was
// pressed. The program's slot goes on taking the user's choices meanwhile; when the sweep ends,
// whichever way, only what a Calculate computes is copied into it (CopyCalculated), so a motor
// chosen during the sweep stays chosen.
//
// A sweep still running after kProgressAfterMs shows the input power it has reached on the
// column's Calculate button, which then stops it. A stopped Calculate leaves the option as
// SweepRun describes an abandoned run: like a sweep broken off as "Combination not possible", with
// no warning.
class SweepTask : public QObject {
    Q_OBJECT
public:
    SweepTask(mfb::TOptionSlot& slot, const mfb::FanTable& fans, const mfb::SweepInputs& inputs,
              OptionColumn& column, mfb::ChartSink& chart, QObject* parent = nullptr);
    ~SweepTask() override;

    // Runs the start and the first slice at once, so that a short sweep is over when the click
    // handler returns. Throws what Calculate throws there.
    void start();
    // Ends the sweep where it stands.
    void stop();
    // Whether the column's button shows the sweep's progress, and so offers to stop it.
    bool offersStop() const { return offersStop_; }

    // The slot as it was swept and what the sweep reported; final once ended() is emitted.
    const mfb::TOptionSlot& swept() const { return work_; }
    const mfb::CalculateReport& report() const { return report_; }
    // The value labels this sweep wrote, by ResultField; empty where it wrote none.
    const std::array<std::string, mfb::kResultFieldCount>& values() const {
        return written_.values;
    }

    static constexpr int kSliceMs = 20;
    static constexpr int kProgressAfterMs = 300;

signals:
    // The sweep is over and its computed fields are in the program's slot.
    void ended();

private:
    // Hands everything on to the column and keeps the values, so that what the sweep showed is
    // known without reading it back from the labels.
    struct WrittenValues final : mfb::ResultView {
        explicit WrittenValues(mfb::ResultView& column) : column(column) {}
        void ShowValue(mfb::ResultField field, const std::string& text) override {
            values.at(static_cast<std::size_t>(field)) = text;
            column.ShowValue(field, text);
        }
        void EnableChart() override { column.EnableChart(); }
        void ShowWarning(const std::string& message) override { column.ShowWarning(message); }

        mfb::ResultView& column;
        std::array<std::string, mfb::kResultFieldCount> values;
    };

    // One slice; false when the sweep has ended.
    bool slice();
    void runSlice();
    void end();

    mfb::TOptionSlot& target_;
    mfb::TOptionSlot work_;
    mfb::FanTable fans_;
    mfb::SweepInputs inputs_;
    OptionColumn& column_;
    WrittenValues written_;
    mfb::ChartSink& chart_;
    mfb::CalculateReport report_;
    mfb::SweepRun run_;
    QTimer next_;
    QElapsedTimer clock_;
    bool ended_ = false;
    bool offersStop_ = false;
};
