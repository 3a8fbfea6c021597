// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Asks for the name of a file to write: a caption, the path to start from (folder and suggested
// name) and a filter list as QFileDialog takes it; an empty name when the user cancels. Tests put
// their own in place of the dialog.
using FilePrompt =
    std::function<QString(const QString& caption, const QString& start, const QString& filter)>;

// The save dialog of the platform, over `parent`; a name without a suffix gets that of the name
// in `start`.
FilePrompt SaveFileDialog(QWidget* parent);

// Writes `bytes` to `path` whole: a file already there keeps its content unless the new content
// was written completely. The empty string on success, else the reason it failed.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// Writes what `widget` shows to `path`: as SVG when the name ends in ".svg" (case ignored), as PNG
// otherwise. The empty string on success, else the reason it failed.
QString SaveWidgetImage(QWidget* widget, const QString& path);
