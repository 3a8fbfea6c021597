// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The main window's client area. Under its controls it draws the frames of the four option
// columns: red around the selected one, grey around the others.
//
// Neighbouring frames share a border, so the drawing order decides its colour. On an ordinary
// repaint the frames are drawn in column order; when an option has just been selected, the
// selected frame is drawn last, over its neighbours, for that one paint.
class ColumnFrames : public QWidget {
public:
    explicit ColumnFrames(QWidget* parent = nullptr);

    int selected() const { return selected_; }
    // Marks column `option` (1..4) and draws the frames at once.
    void select(int option);

    static constexpr int kTop = 178;
    static constexpr int kBottom = 601;
    static constexpr int kLefts[4] = {10, 244, 476, 708};
    static constexpr int kRights[4] = {243, 477, 709, 941};

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int selected_ = 1;
    bool selectedLast_ = false;
};
