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
    return WriteWholeFile(path, [&](const WholeFileWrite& write) { return write(bytes); });
}

QString WriteWholeFile(const QString& path,
                       const std::function<bool(const WholeFileWrite&)>& produce) {
    // Never written in place, not even where the folder takes no new file: a failure there would
    // leave the old file cut off part way.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    // The reason is taken when the write fails: committing a file whose write failed closes it,
    // and closing forgets the system's message.
    QString failure;
    const WholeFileWrite write = [&](QByteArrayView piece) {
        // A write cut short reports no reason; the next one, of what is left, fails with it.
        while (!piece.isEmpty()) {
            const qint64 written = file.write(piece.data(), piece.size());
            if (written <= 0) break;
            piece = piece.sliced(written);
        }
        if (piece.isEmpty() && file.flush()) return true;
        failure = file.errorString();
        return false;
    };
    if (!produce(write)) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit()) return file.errorString();
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
