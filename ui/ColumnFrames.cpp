// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ColumnFrames.h"

#include <QPainter>
#include <QPolygon>

namespace {

const QColor kGrey(128, 128, 128);
const QColor kRed(255, 0, 0);

void DrawFrame(QPainter& painter, int column, const QColor& colour) {
    painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const int left = ColumnFrames::kLefts[column];
    const int right = ColumnFrames::kRights[column];
    const QPolygon frame{{left, ColumnFrames::kTop},
                         {right, ColumnFrames::kTop},
                         {right, ColumnFrames::kBottom},
                         {left, ColumnFrames::kBottom},
                         {left, ColumnFrames::kTop}};
    painter.drawPolyline(frame);
}

}  // namespace

ColumnFrames::ColumnFrames(QWidget* parent) : QWidget(parent) {}

void ColumnFrames::select(int option) {
    selected_ = option;
    if (!isVisible()) {
        update();
        return;
    }
    selectedLast_ = true;
    repaint();
    selectedLast_ = false;
}

void ColumnFrames::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int column = 0; column < 4; ++column) {
        const bool isSelected = column + 1 == selected_;
        if (isSelected && selectedLast_) continue;
        DrawFrame(painter, column, isSelected ? kRed : kGrey);
    }
    if (selectedLast_) DrawFrame(painter, selected_ - 1, kRed);
}
