// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <exception>

class QWidget;

// Every message box of the program goes through this one interface, so that tests can replace it
// and no box ever blocks a test run.
class MessageService {
public:
    virtual ~MessageService() = default;
    // A warning box: warning icon, the given caption, one OK button.
    virtual void warning(const QString& caption, const QString& text) = 0;
    // The general error box: error icon, the application title as caption, one OK button. The text
    // is shown as given; ErrorBoxText() makes it from an error's message.
    virtual void error(const QString& text) = 0;
    // The same box with `details` behind its "Show Details..." button: where in which file the
    // error lies. A service that has no such place shows the text alone.
    virtual void error(const QString& text, const QString& details) {
        (void)details;
        error(text);
    }
    // A question box with Yes and No, the given caption; whether the user said yes. A service
    // that cannot ask takes it as no.
    virtual bool question(const QString& caption, const QString& text) {
        (void)caption;
        (void)text;
        return false;
    }
};

// The installed service; a QMessageBox-based one unless a test installed its own.
MessageService& Messages();
// Installs `service` (not owned) and returns the previous one; nullptr restores the default.
MessageService* SetMessages(MessageService* service);

// An error message as the error box shows it: a full stop is appended when the message's last
// character sorts after "." (a letter or a digit), not after ".", "!", ")", a quote or a blank.
QString ErrorBoxText(const QString& message);

// An error's message as the windows show it: catalogue bytes as Latin-1, the cut mark of a long
// quote as "…", and running out of memory in words.
QString MessageText(const std::exception& error);

// Shows an error that escaped a handler in the general error box.
void ShowError(const std::exception& error);
