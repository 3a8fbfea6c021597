// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SetupDocument.h"

SetupDocument::SetupDocument(QObject* parent) : QObject(parent) {}

template <class T>
void SetupDocument::change(int option, T mfb::SetupOption::*field, const T& value) {
    T& stored = setup_.option(option).*field;
    if (stored == value) return;
    stored = value;
    setModified(true);
    emit optionChanged(option);
}

void SetupDocument::setMotor(int option, const mfb::ChosenLine& motor) {
    change(option, &mfb::SetupOption::motor, motor);
}

void SetupDocument::setBattery(int option, const mfb::ChosenLine& battery) {
    change(option, &mfb::SetupOption::battery, battery);
}

void SetupDocument::setFan(int option, int fan, const std::string& name) {
    change(option, &mfb::SetupOption::fanName, name);
    change(option, &mfb::SetupOption::fan, fan);
}

void SetupDocument::setCells(int option, int serie, int parallel) {
    change(option, &mfb::SetupOption::serie, serie);
    change(option, &mfb::SetupOption::parallel, parallel);
}

void SetupDocument::setShown(int option, const std::optional<mfb::ShownResult>& shown) {
    std::optional<mfb::ShownResult>& stored = setup_.option(option).shown;
    if (stored == shown) return;
    // Calculating the same combination again to the same end, as opening a setup does, or showing
    // its figures under other flight settings changes nothing the modeller chose or saw decided.
    const bool sameOutcome = stored.has_value() == shown.has_value() &&
                             (!shown || (stored->calculatedFor == shown->calculatedFor &&
                                         stored->notPossible == shown->notPossible));
    stored = shown;
    if (!sameOutcome) setModified(true);
    emit optionChanged(option);
}

void SetupDocument::setSelectedOption(int option) {
    if (setup_.selected == option) return;
    setup_.selected = option;
    setModified(true);
    emit selectedOptionChanged(option);
}

void SetupDocument::setFigures(const mfb::SetupFigures& figures) {
    if (setup_.figures == figures) return;
    setup_.figures = figures;
    setModified(true);
    emit figuresChanged();
}

void SetupDocument::replace(const mfb::Setup& setup, const QString& path) {
    setup_ = setup;
    if (!path.isEmpty()) usedFile_ = true;
    if (path_ != path) {
        path_ = path;
        emit pathChanged(path_);
    }
    setModified(false);
    emit replaced();
}

void SetupDocument::rematch(const mfb::Setup& setup) {
    if (setup_ != setup) {
        setup_ = setup;
        setModified(true);
    }
    emit replaced();
}

void SetupDocument::markSaved(const QString& path) {
    usedFile_ = true;
    if (path_ != path) {
        path_ = path;
        emit pathChanged(path_);
    }
    setModified(false);
}

void SetupDocument::requestCombination(int option, const mfb::Combination& combination) {
    emit combinationRequested(option == 0 ? setup_.selected : option, combination);
}

void SetupDocument::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit modifiedChanged(modified_);
}
