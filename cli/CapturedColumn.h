// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/ResultView.h"

namespace mfb::cli {

// The option column as the command sees it: the texts written and the last warning.
class CapturedColumn : public ResultView {
public:
    void ShowValue(ResultField field, const std::string& text) override;
    void EnableChart() override { chartEnabled_ = true; }
    void ShowWarning(const std::string& message) override { warning_ = message; }

    const std::optional<std::string>& Label(ResultField field) const;
    const std::string& Warning() const { return warning_; }
    bool ChartEnabled() const { return chartEnabled_; }

private:
    std::array<std::optional<std::string>, kResultFieldCount> labels_;
    std::string warning_;
    bool chartEnabled_ = false;
};

}  // namespace mfb::cli
