// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartExport.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>
#include <QWidget>

FilePrompt SaveFileDialog(QWidget* parent) {
    return [parent](const QString& caption, const QString& start, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, start, filter);
    };
}

QString SaveWidgetImage(QWidget* widget, const QString& path) {
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(widget->size());
        svg.setViewBox(QRect(QPoint(), widget->size()));
        svg.setTitle(widget->window()->windowTitle());
        QPainter painter;
        if (!painter.begin(&svg)) return QStringLiteral("The file cannot be written.");
        widget->render(&painter);
        return painter.end() ? QString() : QStringLiteral("The file cannot be written.");
    }
    QImageWriter writer(path, "png");
    return writer.write(widget->grab().toImage()) ? QString() : writer.errorString();
}
