// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogue files as they turn up on users' disks: unreadable, replaced by a directory, gone
// between listing and reading, huge, binary. Each gives the program's message, never a crash, and
// reading costs memory in proportion to the file.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"

namespace {

// Heap accounting for the whole test program: the peak of live bytes while a measurement runs.
std::atomic<bool> gMeasuring{false};
std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};

void* Allocate(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    if (gMeasuring) {
        const std::size_t live = gLive += malloc_usable_size(p);
        std::size_t peak = gPeak;
        while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
        }
    }
    return p;
}

void Release(void* p) {
    if (p == nullptr) return;
    if (gMeasuring) gLive -= std::min<std::size_t>(gLive, malloc_usable_size(p));
    std::free(p);
}

// The peak heap growth while `work` runs, counting what it frees as well as what it keeps.
std::size_t PeakBytes(const std::function<void()>& work) {
    gLive = 0;
    gPeak = 0;
    gMeasuring = true;
    work();
    gMeasuring = false;
    return gPeak;
}

}  // namespace

// Every replaceable form that pairs with another, so that no block is allocated by one heap and
// freed by another; the aligned forms stay the library's, in pairs of their own.
void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}

namespace mfb {
namespace {

namespace fs = std::filesystem;

class RobustReadingTest : public testing::Test {
protected:
    void SetUp() override { Reset(); }
    // A fresh directory holding the sample catalogues, for each row of a table.
    void Reset() {
        catalogue_ = {};
        slots_ = {};
        dir_ = fs::temp_directory_path() /
               ("mfb-robust-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const char* name : {kMotorFile, kBatteryFile, kFanFile}) {
            fs::copy_file(fs::path(MFB_SAMPLE_DATA) / name, dir_ / name);
        }
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_ / kMotorFile, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }

    void Write(const char* name, const std::string& bytes) {
        fs::remove_all(dir_ / name);
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    std::string Sample(const char* name) { return ReadWholeFile((dir_ / name).string()); }

    // Loads the three files; returns the error message, empty when the loading succeeded.
    std::string Load() {
        CataloguePlatform platform;
        platform.readFile = [this](const std::string& name) {
            return ReadWholeFile((dir_ / name).string());
        };
        platform.lineLess = [](const std::string& a, const std::string& b) { return a < b; };
        LoadObserver observer;
        try {
            LoadCatalogues(catalogue_, slots_, platform, observer);
        } catch (const Error& e) {
            return e.what();
        }
        return {};
    }
    std::string CannotOpen(const char* name, const char* reason) const {
        return "Cannot open file \"" + (dir_ / name).lexically_normal().string() + "\". " + reason;
    }

    fs::path dir_;
    Catalogue catalogue_;
    std::array<TOptionSlot, kOptionCount> slots_;
};

struct UnopenableRow {
    const char* what;
    std::function<void(const fs::path& dir)> arrange;
    const char* reason;
};

TEST_F(RobustReadingTest, FilesThatCannotBeReadGiveTheirReason) {
    const UnopenableRow rows[] = {
        {"missing", [](const fs::path& d) { fs::remove(d / kMotorFile); },
         "No such file or directory"},
        {"a directory named motor.txt",
         [](const fs::path& d) {
             fs::remove(d / kMotorFile);
             fs::create_directory(d / kMotorFile);
         },
         "Is a directory"},
        // Listed, then gone by the time it is read: a link whose target was deleted.
        {"vanished",
         [](const fs::path& d) {
             fs::remove(d / kMotorFile);
             fs::create_symlink(d / "deleted.txt", d / kMotorFile);
         },
         "No such file or directory"},
        {"a link to itself",
         [](const fs::path& d) {
             fs::remove(d / kMotorFile);
             fs::create_symlink(kMotorFile, d / kMotorFile);
         },
         "Too many levels of symbolic links"},
        // Opening a FIFO would wait for a writer; a device never ends.
        {"a FIFO",
         [](const fs::path& d) {
             fs::remove(d / kMotorFile);
             ASSERT_EQ(::mkfifo((d / kMotorFile).c_str(), 0600), 0);
         },
         "It is a FIFO, not a regular file"},
        {"a link to /dev/zero",
         [](const fs::path& d) {
             fs::remove(d / kMotorFile);
             fs::create_symlink("/dev/zero", d / kMotorFile);
         },
         "It is a device, not a regular file"},
        {"a link to /dev/urandom",
         [](const fs::path& d) {
             fs::remove(d / kMotorFile);
             fs::create_symlink("/dev/urandom", d / kMotorFile);
         },
         "It is a device, not a regular file"},
        {"one byte over the size limit, sparse",
         [](const fs::path& d) { fs::resize_file(d / kMotorFile, kMaxCatalogueBytes + 1); },
         "It is larger than 64 MiB, the most a catalogue file may be"},
        {"a path through a plain file",
         [](const fs::path& d) {
             fs::remove(d / kMotorFile);
             std::ofstream(d / "plain") << "x";
             fs::create_symlink(d / "plain" / "sub", d / kMotorFile);
         },
         "Not a directory"},
    };
    for (const UnopenableRow& row : rows) {
        SCOPED_TRACE(row.what);
        Reset();
        row.arrange(dir_);
        EXPECT_EQ(Load(), CannotOpen(kMotorFile, row.reason));
        EXPECT_TRUE(catalogue_.MotorLines.empty());
        EXPECT_EQ(catalogue_.CompleteFans.count, 0);
    }
}

// Each kind of file has its own limit, named in the refusal; a setup at its limit is read whole
// (the larger kinds would only take the memory to show the same).
TEST_F(RobustReadingTest, EachKindOfFileHasItsSizeLimit) {
    const struct {
        FileKind kind;
        const char* reason;
    } rows[] = {
        {kCatalogueFile, "It is larger than 64 MiB, the most a catalogue file may be"},
        {kSetupFile, "It is larger than 16 MiB, the most a setup file may be"},
        {kShardFile, "It is larger than 256 MiB, the most a shard file may be"},
    };
    const fs::path file = dir_ / "sparse";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kind.name);
        std::ofstream(file).close();
        if (row.kind.maxBytes == kSetupFile.maxBytes) {
            fs::resize_file(file, row.kind.maxBytes);
            EXPECT_EQ(ReadWholeFile(file.string(), row.kind).size(), row.kind.maxBytes);
        }
        fs::resize_file(file, row.kind.maxBytes + 1);
        try {
            ReadWholeFile(file.string(), row.kind);
            ADD_FAILURE() << "read";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), CannotOpen("sparse", row.reason));
        }
    }
    fs::remove(file);
}

TEST_F(RobustReadingTest, AFileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: file permissions do not stop root from reading";
    }
    fs::permissions(dir_ / kMotorFile, fs::perms::none);
    EXPECT_EQ(Load(), CannotOpen(kMotorFile, "Permission denied"));
}

// Contents that are odd but readable: the loading goes as far as the bytes allow.
struct ContentRow {
    const char* what;
    const char* file;
    std::function<std::string(const std::string& sample)> bytes;
    std::string message;  // empty: loads
    std::function<void(const Catalogue&)> check;
};

constexpr std::size_t kMegabyte = 1 << 20;

std::string FanFileWithLine(const std::string& sample, std::size_t lineNumber,
                            const std::string& line) {
    std::size_t start = 0;
    for (std::size_t n = 1; n < lineNumber; ++n) start = sample.find('\n', start) + 1;
    const std::size_t end = sample.find('\n', start);
    return sample.substr(0, start) + line + sample.substr(end);
}

TEST_F(RobustReadingTest, OddContentsGiveTheProgramsMessages) {
    const std::string hugeDigits(3 * kMegabyte, '9');
    const ContentRow rows[] = {
        {"NUL as the first byte of the fan file", kFanFile,
         [](const std::string& s) { return '\0' + s; }, "List index out of bounds (13)",
         [](const Catalogue& c) { EXPECT_TRUE(c.FanLines.empty()); }},
        {"NUL as the first byte of the motor file", kMotorFile,
         [](const std::string& s) { return '\0' + s; }, "",
         [](const Catalogue& c) { EXPECT_TRUE(c.MotorLines.empty()); }},
        {"bytes above 127 in a fan name", kFanFile,
         [](const std::string& s) {
             return FanFileWithLine(s, 14,
                                    "L\xfc"
                                    "fter \xe9\xff\x80");
         },
         "",
         [](const Catalogue& c) {
             EXPECT_EQ(c.Fans[0].Name,
                       "L\xfc"
                       "fter \xe9\xff\x80");
         }},
        {"bytes above 127 in a fan number", kFanFile,
         [](const std::string& s) {
             return FanFileWithLine(s, 15,
                                    "7021\xb7"
                                    "5");
         },
         "'7021\xb7"
         "5' is not a valid floating point value",
         nullptr},
        {"a fan name of four megabytes", kFanFile,
         [](const std::string& s) {
             return FanFileWithLine(s, 14, std::string(4 * kMegabyte, 'n'));
         },
         "",
         [this](const Catalogue& c) {
             EXPECT_EQ(c.Fans[0].Name.size(), 4 * kMegabyte);
             EXPECT_EQ(c.FanLines.size(), SplitLines(Sample(kFanFile)).size());
         }},
        {"a number after three megabytes of blanks", kFanFile,
         [](const std::string& s) {
             return FanFileWithLine(
                 s, 15, std::string(3 * kMegabyte, ' ') + "5" + std::string(kMegabyte, ' '));
         },
         "", [](const Catalogue& c) { EXPECT_EQ(c.Fans[0].a0, 5.0); }},
        {"a number with a megabyte of leading zeros", kFanFile,
         [](const std::string& s) {
             return FanFileWithLine(s, 15, std::string(kMegabyte, '0') + "7.25");
         },
         "", [](const Catalogue& c) { EXPECT_EQ(c.Fans[0].a0, 7.25); }},
        {"a number of three million digits", kFanFile,
         [&](const std::string& s) { return FanFileWithLine(s, 15, hugeDigits); },
         "'" + hugeDigits.substr(0, kMaxQuoted) +
             "\xE2\x80\xA6' is not a valid floating point value",
         nullptr},
        {"a bad number line of two hundred bytes, quoted whole", kFanFile,
         [&](const std::string& s) {
             return FanFileWithLine(s, 15, hugeDigits.substr(0, 199) + "x");
         },
         "'" + hugeDigits.substr(0, 199) + "x' is not a valid floating point value", nullptr},
        {"a motor line of four megabytes without a line end", kMotorFile,
         [](const std::string&) { return std::string(4 * kMegabyte, 'm'); }, "",
         [](const Catalogue& c) {
             ASSERT_EQ(c.MotorLines.size(), 1u);
             EXPECT_EQ(c.MotorLines[0].size(), 4 * kMegabyte);
         }},
        {"only line ends, as many as a catalogue may have", kBatteryFile,
         [](const std::string&) { return std::string(kMaxCatalogueLines, '\n'); }, "",
         [](const Catalogue& c) { EXPECT_EQ(c.BatteryLines.size(), kMaxCatalogueLines); }},
        {"only line ends, one more", kBatteryFile,
         [](const std::string&) { return std::string(kMaxCatalogueLines + 1, '\n'); },
         "\"battery.txt\" has more than 100000 lines, the most a catalogue may have",
         [](const Catalogue& c) { EXPECT_TRUE(c.BatteryLines.empty()); }},
    };
    for (const ContentRow& row : rows) {
        SCOPED_TRACE(row.what);
        Reset();
        Write(row.file, row.bytes(Sample(row.file)));
        const std::string message = Load();
        EXPECT_TRUE(message == row.message)
            << message.substr(0, 200) << " instead of " << row.message.substr(0, 200);
        if (row.check) row.check(catalogue_);
    }
}

// Choosing a huge or binary line cuts its fields by column and reports the field, not the line.
TEST_F(RobustReadingTest, ChoosingOddLinesNamesTheField) {
    struct Row {
        std::string line;
        std::string message;
    };
    const Row rows[] = {
        {std::string(4 * kMegabyte, 'm'), "'mmmm' is not a valid floating point value"},
        {std::string(44, ' ') + "45\xe9"
                                "0",
         "'45\xe9"
         "0' is not a valid floating point value"},
        {std::string(44, '\xff') + "4500  0.078   1.2 " + std::string(kMegabyte, '\x80'), ""},
    };
    for (const Row& row : rows) {
        TOptionSlot slot;
        std::string message;
        try {
            ChooseMotor(slot, row.line, '.');
        } catch (const Error& e) {
            message = e.what();
        }
        EXPECT_EQ(message, row.message);
        EXPECT_EQ(slot.MotorName, row.line.substr(0, 20));
    }
}

// An N-byte file costs about N bytes to hold and never more than twice that while it is read, so
// a large catalogue cannot exhaust the memory by the way it is read.
TEST_F(RobustReadingTest, ReadingCostsMemoryInProportionToTheFile) {
    for (const std::size_t size : {std::size_t{100}, std::size_t{65536}, std::size_t{65537},
                                   3 * kMegabyte + 12345, 8 * kMegabyte + 1}) {
        SCOPED_TRACE(size);
        Write(kMotorFile, std::string(size, 'x'));
        std::size_t capacity = 0;
        const std::size_t peak = PeakBytes([&] {
            const std::string text = ReadWholeFile((dir_ / kMotorFile).string());
            ASSERT_EQ(text.size(), size);
            capacity = text.capacity();
        });
        EXPECT_LE(capacity, size + 64);
        EXPECT_LE(peak, 2 * size + 4096);
    }
}

// Loading holds the file and its lines, never three files' worth, whatever the shape of the lines;
// a file of too many lines is refused before they are made.
TEST_F(RobustReadingTest, LoadingCostsAtMostThreeTimesTheFile) {
    const struct {
        const char* what;
        std::string bytes;
        bool loads;
    } rows[] = {
        {"one line of eight megabytes", std::string(8 * kMegabyte, 'm'), true},
        {"the most lines, then a long one",
         std::string(kMaxCatalogueLines - 1, '\n') + std::string(8 * kMegabyte, 'm'), true},
        {"the most lines of 84 bytes",
         [] {
             std::string line(83, 'm');
             line += '\n';
             std::string text;
             for (std::size_t i = 0; i < kMaxCatalogueLines; ++i) text += line;
             return text;
         }(),
         true},
        {"sixty megabytes of line ends", std::string(60 * kMegabyte, '\n'), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Reset();
        Write(kMotorFile, row.bytes);
        std::string message;
        const std::size_t peak = PeakBytes([&] { message = Load(); });
        EXPECT_EQ(message.empty(), row.loads) << message;
        EXPECT_LE(peak, 3 * row.bytes.size());
    }
}

}  // namespace
}  // namespace mfb
