// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "model/Error.h"

namespace mfb {

namespace {

[[noreturn]] void ThrowCannotOpen(const std::string& fileName, const std::string& reason) {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(fileName, ec);
    if (ec) path = fileName;
    throw Error("Cannot open file \"" + path.lexically_normal().string() + "\". " + reason);
}

[[noreturn]] void ThrowCannotOpen(const std::string& fileName, int error) {
    ThrowCannotOpen(fileName, std::strerror(error != 0 ? error : EIO));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

const char* NotRegularKind(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "not a plain file";
}

std::string TooLarge(const FileKind& kind) {
    return "It is larger than " + std::to_string(kind.maxBytes >> 20) + " MiB, the most " +
           kind.name + " may be";
}

// A FIFO, a socket or a device like /dev/zero can block or never end.
void RefuseIfNotRegular(const std::string& fileName, mode_t mode) {
    if (S_ISDIR(mode)) ThrowCannotOpen(fileName, EISDIR);
    if (!S_ISREG(mode)) {
        ThrowCannotOpen(fileName,
                        std::string("It is ") + NotRegularKind(mode) + ", not a regular file");
    }
}

}  // namespace

std::string ReadWholeFile(const std::string& fileName, const FileKind& kind) {
    // Opening some devices acts on them (a tape rewinds, a modem hangs up): what is not a regular
    // file is refused before any open.
    struct stat status {};
    if (::stat(fileName.c_str(), &status) != 0) ThrowCannotOpen(fileName, errno);
    RefuseIfNotRegular(fileName, status.st_mode);
    // The name may have been pointed elsewhere since: without O_NONBLOCK, opening a FIFO waits for
    // a writer that may never come, so the descriptor is asked again.
    const Descriptor file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) ThrowCannotOpen(fileName, errno);
    if (::fstat(file.get(), &status) != 0) ThrowCannotOpen(fileName, errno);
    RefuseIfNotRegular(fileName, status.st_mode);
    if (static_cast<std::uintmax_t>(status.st_size) > kind.maxBytes) {
        ThrowCannotOpen(fileName, TooLarge(kind));
    }

    // The size known up front keeps the copy at one file's worth; a file still growing is read
    // only up to one byte past the limit, enough to tell it is too large.
    std::string text;
    text.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[1 << 16];
    for (;;) {
        const std::size_t want = std::min(sizeof buffer, kind.maxBytes + 1 - text.size());
        const ssize_t n = ::read(file.get(), buffer, want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowCannotOpen(fileName, errno);
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kind.maxBytes) ThrowCannotOpen(fileName, TooLarge(kind));
    }
    text.shrink_to_fit();
    return text;
}

}  // namespace mfb
