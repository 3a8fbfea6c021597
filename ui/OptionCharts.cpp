// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OptionCharts.h"

#include "ui/GraphDlg.h"
#include "ui/ProgramWindows.h"

namespace {

class ChartWindowReader : public OptionCharts {
public:
    const mfb::CurveTable* curves(int option) const override {
        const TGraphDlg* graph = window(option);
        return graph != nullptr ? &graph->curves() : nullptr;
    }
    std::optional<double> operatingPoint(int option) const override {
        const TGraphDlg* graph = window(option);
        return graph != nullptr ? graph->operatingPoint() : std::nullopt;
    }

private:
    static const TGraphDlg* window(int option) {
        return Windows().GraphDlg.at(static_cast<std::size_t>(option - 1));
    }
};

}  // namespace

const OptionCharts& ProgramCharts() {
    static const ChartWindowReader reader;
    return reader;
}
