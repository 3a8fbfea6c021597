// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SweepTask.h"

#include <exception>

#include "ui/MessageService.h"
#include "ui/OptionColumn.h"

namespace {

// Steps between two looks at the clock: a fraction of a millisecond of sweeping.
constexpr long long kStepsPerLook = 4096;

}  // namespace

SweepTask::SweepTask(mfb::TOptionSlot& slot, const mfb::FanTable& fans,
                     const mfb::SweepInputs& inputs, OptionColumn& column, mfb::ChartSink& chart,
                     QObject* parent)
    : QObject(parent),
      target_(slot),
      work_(slot),
      fans_(fans),
      inputs_{fans_,
              inputs.WireResistance,
              inputs.CompleteFans,
              inputs.Option,
              inputs.CellsSerie,
              inputs.CellsParallel,
              inputs.DecimalSeparator},
      column_(column),
      written_(column),
      chart_(chart),
      run_(work_, inputs_, written_, chart, report_) {
    next_.setSingleShot(true);
    next_.setInterval(0);
    connect(&next_, &QTimer::timeout, this, &SweepTask::runSlice);
}

SweepTask::~SweepTask() = default;

void SweepTask::start() {
    clock_.start();
    try {
        if (run_.Start() && slice()) {
            next_.start();
            return;
        }
    } catch (...) {
        end();
        throw;
    }
    end();
}

void SweepTask::stop() {
    if (!ended_) end();
}

bool SweepTask::slice() {
    const qint64 until = clock_.elapsed() + kSliceMs;
    while (!run_.Advance(kStepsPerLook)) {
        if (clock_.elapsed() >= until) {
            if (clock_.elapsed() >= kProgressAfterMs) {
                column_.showSweepProgress(work_.PinMotor);
                offersStop_ = true;
            }
            return true;
        }
    }
    return false;
}

void SweepTask::runSlice() {
    try {
        if (slice()) {
            next_.start();
            return;
        }
    } catch (const std::exception& error) {
        // Where the click handler would have let the error reach the event loop's error box.
        end();
        ShowError(error);
        return;
    }
    end();
}

void SweepTask::end() {
    next_.stop();
    ended_ = true;
    mfb::CopyCalculated(work_, target_);
    column_.showSweepEnded();
    emit ended();
}
