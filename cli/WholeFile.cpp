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

// Gives an unnamed file a name; fails with EEXIST when the name is taken, even by a dangling
// link. The descriptor's entry in /proc needs no privilege, AT_EMPTY_PATH does.
int LinkUnnamed(int fd, const std::string& to) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != ENOENT) return errno;
    if (::linkat(fd, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH) == 0) return 0;
    return errno;
}

}  // namespace

struct WholeFile::Parts {
    std::string path;
    Existing existing;
    std::string temporary;  // empty while the file is unnamed
    int fd = -1;
    bool placed = false;
    std::unique_ptr<DescriptorBuffer> buffer;
    std::unique_ptr<std::ostream> stream;

    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }

    // An unnamed file replaces the old one through a hidden name of its own, as a rename can
    // replace a name but a link cannot.
    int PlaceUnnamed() {
        if (existing == Existing::Refuse) return LinkUnnamed(fd, path);
        const std::filesystem::path target(path);
        for (int attempt = 0;; ++attempt) {
            const std::string hidden = (target.parent_path() / ("." + target.filename().string() +
                                                                "." + std::to_string(::getpid()) +
                                                                "." + std::to_string(attempt)))
                                           .string();
            const int error = LinkUnnamed(fd, hidden);
            if (error == EEXIST && attempt < 100) continue;
            if (error != 0) return error;
            if (std::rename(hidden.c_str(), path.c_str()) == 0) return 0;
            const int renameError = errno;
            ::unlink(hidden.c_str());
            return renameError;
        }
    }
};

WholeFile::WholeFile(std::string path, Existing existing) : parts_(std::make_unique<Parts>()) {
    namespace fs = std::filesystem;
    Parts& p = *parts_;
    p.path = std::move(path);
    p.existing = existing;
    const fs::path target(p.path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // The mode is what the user's umask gives new files, as for any file created.
    p.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (p.fd < 0) {
        // A file system or kernel without unnamed files says so in one of these ways.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) Fail(p.path, errno);
        p.temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
        p.fd = ::mkstemp(p.temporary.data());
        if (p.fd < 0) Fail(p.path, errno);
        // mkstemp makes the file private.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(p.fd, 0666 & ~mask);
    }
    p.buffer = std::make_unique<DescriptorBuffer>(p.fd);
    p.stream = std::make_unique<std::ostream>(p.buffer.get());
}

WholeFile::~WholeFile() {
    Parts& p = *parts_;
    p.stream.reset();
    p.Close();
    if (!p.placed && !p.temporary.empty()) ::unlink(p.temporary.c_str());
}

std::ostream& WholeFile::Stream() {
    return *parts_->stream;
}

const std::string& WholeFile::Path() const {
    return parts_->path;
}

void WholeFile::Place() {
    Complete();
    Name();
}

void WholeFile::Complete() {
    Parts& p = *parts_;
    int error = 0;
    if (!p.stream->flush()) error = p.buffer->Error() != 0 ? p.buffer->Error() : EIO;
    if (error == 0 && ::fsync(p.fd) != 0) error = errno;
    if (error != 0) {
        p.Close();
        Fail(p.path, error);
    }
}

void WholeFile::Name() {
    Parts& p = *parts_;
    int error = 0;
    if (p.temporary.empty()) {
        error = p.PlaceUnnamed();
    } else if (p.existing == Existing::Replace) {
        if (std::rename(p.temporary.c_str(), p.path.c_str()) != 0) error = errno;
    } else {
        error = PlaceNew(p.temporary.c_str(), p.path.c_str());
    }
    p.Close();
    if (error != 0) Fail(p.path, error);
    p.placed = true;
}

void WholeFile::Remove() {
    if (parts_->placed) ::unlink(parts_->path.c_str());
    parts_->placed = false;
}

void PlaceAll(const std::vector<WholeFile*>& files) {
    // The slow part, writing back to the disk, is done for all before any is named.
    for (WholeFile* file : files) file->Complete();
    std::size_t placed = 0;
    try {
        for (; placed < files.size(); ++placed) files[placed]->Name();
    } catch (const Error&) {
        for (std::size_t i = 0; i < placed; ++i) files[i]->Remove();
        throw;
    }
}

bool WriteWholeFile(const std::string& path, Existing existing,
                    const std::function<bool(std::ostream&)>& write) {
    WholeFile file(path, existing);
    if (!write(file.Stream())) return false;
    file.Place();
    return true;
}

}  // namespace mfb::cli
