// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FileReader.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "model/Error.h"

namespace mfb {

namespace {

[[noreturn]] void ThrowCannotOpen(const std::string& fileName, int error) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(fileName, ec);
    if (ec) path = fileName;
    std::string reason = std::strerror(error);
    throw Error("Cannot open file \"" + path.lexically_normal().string() + "\". " + reason);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string ReadWholeFile(const std::string& fileName) {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) ThrowCannotOpen(fileName, errno != 0 ? errno : EIO);

    std::string text;
    // Growing by doubling would hold up to three times the file while it copies; the size known
    // up front keeps it at one. A size that cannot be told (a directory, a pipe) just grows.
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(fileName, sizeError);
    if (!sizeError && size < text.max_size()) text.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        text.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    // A directory opens but cannot be read; neither can a file that vanished under a network
    // mount. Both are reported like a file that could not be opened.
    if (std::ferror(file.get())) ThrowCannotOpen(fileName, errno != 0 ? errno : EIO);
    text.shrink_to_fit();
    return text;
}

}  // namespace mfb
