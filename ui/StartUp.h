// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class TMainDlg;

// How the main window first appears. Linux hands a program no show command, so the window program
// reads it from the environment variable MFBCALC_SHOW: "maximized" or "minimized" (the latter
// shown without taking the focus); anything else, or no variable, is a normal start.
enum class ShowCommand { Normal, Maximized, Minimized };

ShowCommand ParseShowCommand(const QString& value);
// The show command from MFBCALC_SHOW.
ShowCommand ShowCommandFromEnvironment();

// Sets the application title and creates the six windows in start-up order (the main window,
// which loads the catalogues from the working directory, the About box and chart windows 1 to 4,
// both hidden), hands the main window the others, then shows it centred on the screen and returns
// it. Closing the main window ends the event loop; the others never keep the program alive. A
// `setupFile` is then opened as File > Open would, once the event loop runs. Needs a running
// QApplication.
TMainDlg* StartUp(ShowCommand show, const QString& setupFile = QString());

// Destroys the windows in reverse order.
void ShutDown();

// The whole program: start-up, the event loop, shutdown. Returns the loop's exit code.
int RunProgram(ShowCommand show, const QString& setupFile = QString());

// The application title: the taskbar's name for the program and the error box's caption.
inline const QString kApplicationTitle = QStringLiteral("Calculate Motor-Fan-Battery Combinations");
