// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CapturedColumn.h"

namespace mfb::cli {

void CapturedColumn::ShowValue(ResultField field, const std::string& text) {
    labels_[static_cast<std::size_t>(field)] = text;
}

const std::optional<std::string>& CapturedColumn::Label(ResultField field) const {
    return labels_[static_cast<std::size_t>(field)];
}

}  // namespace mfb::cli
