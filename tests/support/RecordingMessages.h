// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "ui/MessageService.h"

// Records every box instead of showing it, and puts the previous service back when it goes.
class RecordingMessages final : public MessageService {
public:
    RecordingMessages() : previous_(SetMessages(this)) {}
    ~RecordingMessages() override { SetMessages(previous_); }
    RecordingMessages(const RecordingMessages&) = delete;
    RecordingMessages& operator=(const RecordingMessages&) = delete;

    void warning(const QString& caption, const QString& text) override {
        warnings << caption + u'|' + text;
    }
    void error(const QString& text) override { errors << text; }
    void error(const QString& text, const QString& details) override {
        errors << text;
        errorDetails << details;
    }
    bool question(const QString& caption, const QString& text) override {
        questions << caption + u'|' + text;
        return answer;
    }

    QStringList warnings;
    QStringList errors;
    QStringList errorDetails;  // of the errors that had any, in order
    QStringList questions;
    bool answer = false;  // to every question

private:
    MessageService* previous_;
};
