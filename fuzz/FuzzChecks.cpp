// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/FuzzChecks.h"

#include <cstdio>
#include <cstdlib>

#include "catalogue/TextLines.h"

namespace mfb::fuzz {

void Fail(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "invariant broken: %.*s\n  %.*s\n", static_cast<int>(what.size()),
                 what.data(), static_cast<int>(detail.size()), detail.data());
    std::abort();
}

std::string NumberMessage(std::string_view field) {
    return "'" + mfb::Excerpt(field) + "' is not a valid floating point value";
}

bool IsNumberMessage(std::string_view message, std::string_view field) {
    const std::string plain = NumberMessage(field);
    return message == plain || (message.substr(0, plain.size() + 5) == plain + ": it " &&
                                message.size() > plain.size());
}

bool IsFaultMessage(std::string_view message) {
    return message == "Invalid floating point operation" ||
           message == "Floating point division by zero" || message == "Floating point overflow";
}

std::array<std::string_view, 3> SplitFiles(std::string_view rest) {
    std::array<std::string_view, 3> files;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::size_t end = k + 1 < files.size() ? rest.find('\x1e') : rest.npos;
        files[k] = rest.substr(0, end);
        rest = end == rest.npos ? std::string_view() : rest.substr(end + 1);
    }
    return files;
}

}  // namespace mfb::fuzz
