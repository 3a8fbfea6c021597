// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// Every command of the program reads its arguments through these, so they agree on every rule.
namespace mfb::cli {

// A command line the program cannot act on; exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Walks a command line of "--name value", "--name=value" and "--flag" arguments, each name at
// most once.
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& args) : args_(args) {}

    // Moves to the next argument; false after the last. Throws UsageError for a repeated name.
    bool Next();
    const std::string& Name() const { return name_; }
    // The argument as it was given, for the message about an unknown one.
    const std::string& Given() const { return args_[at_]; }
    // The inline value, else the next argument. Throws UsageError when there is none.
    std::string Value();
    // The inline value, else the next argument unless it is an option of its own; none then.
    std::optional<std::string> OptionalValue();
    // Throws UsageError when a flag was given a value.
    void NoValue() const;

private:
    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
    std::size_t next_ = 0;
    std::string name_;
    std::optional<std::string> inlineValue_;
    std::set<std::string> seen_;
};

// True when --help or -h is anywhere: it wins over everything else, so a broken command line can
// still ask for help.
bool AsksForHelp(const std::vector<std::string>& args);

// A whole number from low to high for `option`; throws UsageError naming the option otherwise.
int ParseCount(const std::string& option, const std::string& text, int low, int high);

// The value of an option naming a directory, such as --catalogues: any non-empty path.
std::string ParseDirectory(const std::string& option, std::string text);

// The value of --decimal-separator: one character, neither a digit nor a blank.
char ParseSeparator(const std::string& text);

}  // namespace mfb::cli
