// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "ui/FormFont.h"

namespace {

constexpr int kClientWidth = 257;
constexpr int kClientHeight = 223;

}  // namespace

TAboutDlg::TAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFont(FormFont(16, true));
    setFixedSize(kClientWidth, kClientHeight);

    Label1 = AddLine("Label1", QStringLiteral("Program designed by"), 16, 28);
    Label2 = AddLine("Label2", QStringLiteral("the mfbcalc developers"), 16, 72);
    Label3 = AddLine("Label3", QStringLiteral("Use on own risk"), 13, 108);
    Label4 = AddLine("Label4", QStringLiteral("Version 1.1"), 16, 152);

    Button1 = new QPushButton(QStringLiteral("&Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFont(FormFont(16, false));
    Button1->setGeometry(91, 184, 75, 25);
    Button1->setDefault(true);
    Button1->setFocus();
    connect(Button1, &QPushButton::clicked, this, &TAboutDlg::Button1Click);
}

QLabel* TAboutDlg::AddLine(const char* name, const QString& text, int pixelSize, int top) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(FormFont(pixelSize, true));
    label->adjustSize();
    label->move((kClientWidth - label->width()) / 2, top);
    return label;
}

void TAboutDlg::Button1Click() {
    close();
}

QPoint TAboutDlg::CentredOver(const QRect& mainFrame, const QSize& aboutOuter) {
    return mainFrame.topLeft() + QPoint((mainFrame.width() - aboutOuter.width()) / 2,
                                        (mainFrame.height() - aboutOuter.height()) / 2);
}

void TAboutDlg::PlaceOverMainWindow() {
    const QWidget* main = parentWidget();
    if (main == nullptr) return;
    // Until the box has been mapped once its frame is unknown; the window manager decorates it
    // like the main window, so the main window's frame width stands in for it.
    QSize outer = frameGeometry().size();
    if (outer == size()) outer += main->frameGeometry().size() - main->size();
    move(CentredOver(main->frameGeometry(), outer));
}

void TAboutDlg::showModal() {
    if (!placed_) {
        PlaceOverMainWindow();
        placed_ = true;
    }
    Button1->setFocus();
    exec();
}
