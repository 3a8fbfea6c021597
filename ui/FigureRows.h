// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>

#include "model/FigureRows.h"

class AutoLabel;
class QString;
class QAction;
class QWidget;

// The figures of one option column, a caption and a value a row, below the window's columns:
// visible without the mouse, so that the four options compare at a glance. Each row's tooltip
// explains its figure.
class FigureRows {
public:
    // Column `option` (1..4), its first row at `top` on `parent`.
    FigureRows(int option, int top, QWidget* parent);

    // The figures of a Calculate's kept step; none leaves every value empty.
    void show(const std::optional<mfb::ShownFigures>& figures);
    // Every value a dash, each row's tooltip saying `why`.
    void showMissing(const QString& why);

    // "Part load..." in every row's context menu, enabled while figures are shown.
    QAction* partLoadAction() const { return partLoad_; }

    static constexpr int kPitch = 16;

private:
    QAction* partLoad_;
    std::array<AutoLabel*, mfb::kShownFigureCount> captions_{};
    std::array<AutoLabel*, mfb::kShownFigureCount> values_{};
};
