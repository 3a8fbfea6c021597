// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// Qt does not let an exception cross its event loop. Every event handler runs inside notify(), so
// this is the one place where an error escaping a handler is caught: it is shown in the error box,
// the handler stays ended where it failed, and the loop goes on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
