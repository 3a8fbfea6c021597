// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChartExport.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

FilePrompt SaveFileDialog(QWidget* parent) {
    return [parent](const QString& caption, const QString& start, const QString& filter) {
        QFileDialog dialog(parent, caption, start, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // A name typed without a suffix gets the suggested name's here, where the dialog still
        // asks before replacing a file of the full name, rather than after it has closed.
        dialog.setDefaultSuffix(QFileInfo(start).suffix());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // A file the user may change in a folder where no new file may be made is written in place,
    // as it always was; only then can a failure leave it half written.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return file.errorString();
    }
    return QString();
}

QString SaveWidgetImage(QWidget* widget, const QString& path) {
    // Encoded in memory first: the SVG generator does not report a failed write to its file.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(widget->size());
        svg.setViewBox(QRect(QPoint(), widget->size()));
        svg.setTitle(widget->window()->windowTitle());
        QPainter painter;
        if (!painter.begin(&svg)) return QStringLiteral("The file cannot be written.");
        widget->render(&painter);
        if (!painter.end()) return QStringLiteral("The file cannot be written.");
    } else {
        QImageWriter writer(&buffer, "png");
        if (!writer.write(widget->grab().toImage())) return writer.errorString();
    }
    return WriteWholeFile(path, bytes);
}
