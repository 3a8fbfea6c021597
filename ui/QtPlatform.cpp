// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QtPlatform.h"

#include <QCollator>
#include <QDir>
#include <QLocale>

#include "catalogue/FileReader.h"

mfb::CataloguePlatform QtPlatform(const QString& directory) {
    mfb::CataloguePlatform platform;
    if (directory.isEmpty()) {
        platform.readFile = [](const std::string& fileName) {
            return mfb::ReadWholeFile(fileName);
        };
    } else {
        const QDir dir(directory);
        platform.readFile = [dir](const std::string& fileName) {
            return mfb::ReadWholeFile(
                dir.filePath(QString::fromLocal8Bit(fileName.c_str())).toLocal8Bit().toStdString());
        };
    }

    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    platform.lineLess = [collator](const std::string& a, const std::string& b) {
        return collator.compare(QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size())),
                                QString::fromLatin1(b.data(), static_cast<qsizetype>(b.size()))) <
               0;
    };

    platform.decimalSeparator = DecimalSeparator(QLocale::system());
    return platform;
}

char DecimalSeparator(const QLocale& locale) {
    // A separator outside Latin-1 (none is known) could never be typed into a catalogue line.
    const QString point = locale.decimalPoint();
    return point.size() == 1 && point.front().unicode() < 0x100 ? point.front().toLatin1() : '.';
}
