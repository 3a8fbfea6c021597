// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Program.h"

namespace {

// The user's decimal separator. The numeric locale is set only for this look-up and put back to
// "C" at once, so no formatting in the program depends on it behind its back.
char LocaleDecimalSeparator() {
    char separator = '.';
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const char* point = std::localeconv()->decimal_point;
        // A separator of more than one byte cannot be matched column by column in a catalogue.
        if (point != nullptr && std::strlen(point) == 1) separator = point[0];
    }
    std::setlocale(LC_NUMERIC, "C");
    return separator;
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that goes away (a closed pipe) is a write that fails, reported and ended with the
    // exit status the documentation gives, not a death by signal.
    std::signal(SIGPIPE, SIG_IGN);
    const char separator = LocaleDecimalSeparator();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = mfb::cli::RunProgram(args, std::cout, std::cerr, separator);
    // RunProgram has flushed and checked std::cout; closing standard output reports what only a
    // close can, such as a file system that writes back late.
    if (status != mfb::cli::kExitError && std::fclose(stdout) != 0) {
        const int error = errno;
        mfb::cli::ReportError(
            std::cerr, std::string(mfb::cli::kWriteFailedMessage) + ": " + std::strerror(error));
        return mfb::cli::kExitError;
    }
    return status;
}
