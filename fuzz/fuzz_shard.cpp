// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a shard file that explore --merge is given. Input: a shard's text up to its "end" line,
// which the target adds with the digest of that text, so that the checks behind the digest are
// reached; the text alone, as given, is read as well. What a file read without an error writes
// must read back and write the same text again.
#include <cstdint>
#include <sstream>
#include <string>

#include "explore/ShardFile.h"
#include "fuzz/FuzzChecks.h"

namespace {

using mfb::fuzz::Require;

std::string Written(const mfb::ExploreShard& shard) {
    std::ostringstream out;
    mfb::WriteExploreShard(shard, out);
    return out.str();
}

void ReadBack(const std::string& text) {
    std::istringstream in(text);
    mfb::ExploreShard shard;
    try {
        shard = mfb::ReadExploreShard(in, "fuzz");
    } catch (const mfb::ShardError& e) {
        Require(std::string(e.what()).rfind("\"fuzz\" is not a whole explore shard", 0) == 0,
                "a refusal that does not name the file", e.what());
        return;
    }
    const auto& result = shard.result;
    Require(result.rows.size() == shard.rowLines.size(), "a row without its line");
    Require(result.rows.size() <= shard.request.top, "more rows than the search keeps");
    Require(result.counts.visited <= result.combinations, "more visited than the share holds");
    // Numbers may have been written in another form than the program's; its own form is stable.
    const std::string written = Written(shard);
    std::istringstream again(written);
    mfb::ExploreShard reread;
    try {
        reread = mfb::ReadExploreShard(again, "fuzz");
    } catch (const mfb::ShardError& e) {
        mfb::fuzz::Fail("a shard written from one read whole is refused", e.what());
    }
    Require(Written(reread) == written, "a shard does not write back the same", written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    ReadBack(body);
    if (!body.empty() && body.back() == '\n') {
        ReadBack(body + "end\t" + mfb::ShardDigest(body) + "\n");
    }
    return 0;
}
