// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
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

// Writes `bytes` to `path` whole: the bytes go to a new file in the same folder, which replaces
// the one at `path` only once it is complete and flushed, so that a full disk, a crash or a
// signal leaves the old file or none, never a part. The empty string on success, else the reason
// it failed in the system's words ("No space left on device").
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// Hands out a piece of the file's content; false once a piece could not be written.
using WholeFileWrite = std::function<bool(QByteArrayView piece)>;

// The same for content made a piece at a time, so that it never has to be held whole: `produce`
// passes each piece to the write it is given and returns whether it finished. When it gives up
// (a cancel, or a piece that could not be written), nothing replaces the old file; the result is
// then the reason a write failed, or empty when `produce` stopped of its own accord. May run on
// any thread.
QString WriteWholeFile(const QString& path,
                       const std::function<bool(const WholeFileWrite&)>& produce);

// Writes what `widget` shows to `path`: as SVG when the name ends in ".svg" (case ignored), as PNG
// otherwise. The empty string on success, else the reason it failed.
QString SaveWidgetImage(QWidget* widget, const QString& path);
