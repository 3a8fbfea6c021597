// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FigureRows.h"

#include <QAction>
#include <string>

#include "ui/AutoLabel.h"
#include "ui/FormFont.h"
#include "ui/Latin1Text.h"

namespace {

// Column 1's places; the other columns follow at the columns' 232 px pitch.
constexpr int kColumnPitch = 232, kCaptionLeft = 20, kValueRight = 212;

}  // namespace

FigureRows::FigureRows(int option, int top, QWidget* parent)
    : partLoad_(new QAction(QStringLiteral("Part &load..."), parent)) {
    partLoad_->setObjectName(QStringLiteral("PartLoad%1").arg(option));
    partLoad_->setEnabled(false);
    const int x = (option - 1) * kColumnPitch;
    const auto captions = mfb::ShownFigureCaptions();
    for (std::size_t row = 0; row < captions.size(); ++row) {
        const int y = top + static_cast<int>(row) * kPitch;
        const std::string name = "Figure" + std::to_string(option) + '_' + std::to_string(row + 1);
        captions_[row] =
            new AutoLabel((name + "Caption").c_str(), Latin1(captions[row]) + u':',
                          x + kCaptionLeft, y, AutoLabel::Anchor::Left, FormFont(), parent);
        values_[row] = new AutoLabel(name.c_str(), QString(), x + kValueRight, y,
                                     AutoLabel::Anchor::Right, FormFont(13, true), parent);
        for (AutoLabel* label : {captions_[row], values_[row]}) {
            label->setContextMenuPolicy(Qt::ActionsContextMenu);
            label->addAction(partLoad_);
        }
    }
}

void FigureRows::show(const std::optional<mfb::ShownFigures>& figures) {
    partLoad_->setEnabled(figures.has_value());
    for (std::size_t row = 0; row < values_.size(); ++row) {
        const QString value = figures ? QString::fromLatin1((*figures)[row].value) : QString();
        const QString note = figures ? QString::fromLatin1((*figures)[row].note) : QString();
        // An unknown figure shows a dash, so that an empty row does not read as not calculated.
        values_[row]->setText(figures && value.isEmpty() ? QStringLiteral("-") : value);
        values_[row]->setToolTip(note);
        captions_[row]->setToolTip(note);
    }
}

void FigureRows::showMissing(const QString& why) {
    partLoad_->setEnabled(false);
    for (std::size_t row = 0; row < values_.size(); ++row) {
        values_[row]->setText(QStringLiteral("-"));
        values_[row]->setToolTip(why);
        captions_[row]->setToolTip(why);
    }
}
