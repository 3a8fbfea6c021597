// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FieldMark.h"

#include <QColor>
#include <QStringList>

FieldMark MarkOf(const std::vector<mfb::FieldFinding>& findings, std::size_t field) {
    QStringList messages;
    bool error = false, warning = false;
    for (const mfb::FieldFinding& f : findings) {
        const std::size_t at = f.field == static_cast<std::size_t>(-1) ? 0 : f.field;
        if (at != field) continue;
        messages << QStringLiteral("%1: %2").arg(
            QString::fromLatin1(mfb::SeverityName(f.severity)),
            QString::fromLatin1(f.message.data(), static_cast<qsizetype>(f.message.size())));
        (f.severity == mfb::Severity::Error ? error : warning) = true;
    }
    return {messages.join(u'\n'),
            error     ? QBrush(QColor(255, 200, 200))
            : warning ? QBrush(QColor(255, 240, 190))
                      : QBrush(),
            error};
}
