// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: four centred lines and "&Close". It is created once, hidden, and only shown and
// hidden afterwards, so it keeps the place where the user left it.
class TAboutDlg : public QDialog {
public:
    explicit TAboutDlg(QWidget* parent = nullptr);

    // Shows the box modally and returns when it is closed. The first time it is centred over its
    // parent, the main window; later it comes back where it was last.
    void showModal();

    // Where the box goes the first time: `mainFrame` is the main window's outer rectangle and
    // `aboutOuter` the box's outer size. Halves are truncated.
    static QPoint CentredOver(const QRect& mainFrame, const QSize& aboutOuter);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QPushButton* Button1;

    void Button1Click();

private:
    QLabel* AddLine(const char* name, const QString& text, int pixelSize, int top);
    void PlaceOverMainWindow();

    bool placed_ = false;
};
