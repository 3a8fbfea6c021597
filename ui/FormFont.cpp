// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FormFont.h"

#include <QFontDatabase>

namespace {

QString FormFamily() {
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))
                                      ? QStringLiteral("MS Sans Serif")
                                      : QStringLiteral("Liberation Sans");
    return family;
}

}  // namespace

QFont FormFont(int pixelSize, bool bold) {
    QFont font(FormFamily());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
