// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QString>
#include <vector>

#include "catalogue/CatalogueEdit.h"

// How the editor's tables show what the check found at a field: every finding in the tooltip,
// "error: ..." or "warning: ...", and the field's background red for an error, yellow for a
// warning. A finding of the line as a whole stands at field 0, the name.
struct FieldMark {
    QString toolTip;
    QBrush background;
    bool error = false;
};
FieldMark MarkOf(const std::vector<mfb::FieldFinding>& findings, std::size_t field);
