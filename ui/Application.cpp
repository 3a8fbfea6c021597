// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Application.h"

#include <exception>

#include "ui/MessageService.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
        Messages().error(ErrorBoxText(QStringLiteral("An unknown error occurred")));
    }
    return false;
}
