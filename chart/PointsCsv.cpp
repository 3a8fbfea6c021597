// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PointsCsv.h"

#include <charconv>

namespace mfb {
namespace {

void Append(std::string& out, double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

bool SharedX(const std::vector<CurvePoints>& curves) {
    if (curves.empty()) return true;
    const CurvePoints& first = curves.front();
    for (const CurvePoints& points : curves) {
        if (points.size() != first.size()) return false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (!(points[i].x == first[i].x)) return false;
        }
    }
    return true;
}

// Collects lines and hands them on whenever a piece is full.
class Pieces {
public:
    Pieces(const CsvSink& sink, std::size_t pieceSize, std::size_t lines)
        : sink_(sink), pieceSize_(pieceSize), lines_(lines) {
        text_.reserve(pieceSize + 128);
    }
    std::string& text() { return text_; }
    // After each whole line.
    bool LineDone() {
        ++written_;
        return text_.size() < pieceSize_ || Flush();
    }
    bool Flush() {
        const double done = lines_ == 0 ? 1.0 : static_cast<double>(written_) / lines_;
        const bool more = sink_(text_, done);
        text_.clear();
        return more;
    }

private:
    const CsvSink& sink_;
    std::size_t pieceSize_;
    std::size_t lines_;
    std::size_t written_ = 0;
    std::string text_;
};

}  // namespace

bool WritePointsCsv(const std::vector<std::string>& names, const std::vector<CurvePoints>& curves,
                    const CsvSink& sink, std::size_t pieceSize) {
    const bool shared = SharedX(curves);
    std::size_t lines = 0;
    for (const CurvePoints& curve : curves) lines = shared ? curve.size() : lines + curve.size();
    Pieces out(sink, pieceSize, lines);
    std::string& text = out.text();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += ',';
        text += names[i];
    }
    text += '\n';
    if (shared) {
        for (std::size_t row = 0; row < lines; ++row) {
            Append(text, curves.front()[row].x);
            for (const CurvePoints& curve : curves) {
                text += ',';
                Append(text, curve[row].y);
            }
            text += '\n';
            if (!out.LineDone()) return false;
        }
        return out.Flush();
    }
    for (std::size_t c = 0; c < curves.size(); ++c) {
        for (const ChartPoint p : curves[c]) {
            Append(text, p.x);
            for (std::size_t other = 0; other < curves.size(); ++other) {
                text += ',';
                if (other == c) Append(text, p.y);
            }
            text += '\n';
            if (!out.LineDone()) return false;
        }
    }
    return out.Flush();
}

std::string PointsCsv(const std::vector<std::string>& names,
                      const std::vector<CurvePoints>& curves) {
    std::string whole;
    WritePointsCsv(names, curves, [&](std::string_view piece, double) {
        whole += piece;
        return true;
    });
    return whole;
}

}  // namespace mfb
