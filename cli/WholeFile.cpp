// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <streambuf>
#include <vector>

#include "model/Error.h"

namespace mfb::cli {

namespace {

// A stream buffer over a file descriptor of our own, so that the temporary file is written
// through the descriptor that created it and never reopened by name.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd) : fd_(fd), buffer_(1 << 16) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    int Error() const { return error_; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        for (const char* p = pbase(); p < pptr();) {
            const ssize_t n = ::write(fd_, p, static_cast<std::size_t>(pptr() - p));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error_ = n < 0 ? errno : EIO;
                return false;
            }
            p += n;
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return true;
    }

    int fd_;
    std::vector<char> buffer_;
    int error_ = 0;
};

[[noreturn]] void Fail(const std::string& path, int error) {
    throw Error("cannot write \"" + path + "\": " + std::strerror(error));
}

// Into place without replacing anything: the kernel's no-replace rename where the file system
// has it, else a hard link, which fails as well when the name is taken, even by a dangling link.
int PlaceNew(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::link(from, to) != 0) return errno;
    ::unlink(from);
    return 0;
}

}  // namespace

bool WriteWholeFile(const std::string& path, Existing existing,
                    const std::function<bool(std::ostream&)>& write) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) Fail(path, errno);
    // mkstemp makes the file private; a finished one gets what the user's umask gives new files.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    int error = 0;
    bool whole = false;
    {
        DescriptorBuffer buffer(fd);
        std::ostream out(&buffer);
        whole = write(out);
        if (whole && !out.flush()) error = buffer.Error() != 0 ? buffer.Error() : EIO;
    }
    if (whole && error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (whole && error == 0) {
        if (existing == Existing::Replace) {
            if (std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
        } else {
            error = PlaceNew(temporary.c_str(), path.c_str());
        }
    }
    if (!whole || error != 0) {
        ::unlink(temporary.c_str());
        if (error != 0) Fail(path, error);
        return false;
    }
    return true;
}

}  // namespace mfb::cli
