// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

#include "catalogue/Catalogue.h"

// The catalogue platform of the window program: files from `directory` (the working directory
// when empty), lines ordered by the user's locale with case ignored, and the locale's decimal
// separator. Catalogue bytes are taken as Latin-1 for the comparison.
mfb::CataloguePlatform QtPlatform(const QString& directory = QString());

// The decimal separator the program writes and reads numbers with under `locale`: its own when
// that is one Latin-1 character, else '.'.
char DecimalSeparator(const QLocale& locale);
