// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/ShardFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "explore/ExploreSettings.h"

namespace mfb {
namespace {

// A shard file as a run writes it, whose search has every field off its default: a field the
// reader leaves out comes back as its default, or breaks the fingerprint; one the writer leaves
// out, or moves, changes the text. Either way shards written before would no longer merge.
TEST(ExploreShard, KeepsEveryFieldOfItsSearchInTheSameText) {
    std::ifstream file(MFB_TEST_DATA "/cli/every-field-shard.txt", std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    ASSERT_FALSE(text.empty());
    std::istringstream in(text);
    const ExploreShard shard = ReadExploreShard(in, "every-field-shard.txt");

    const ExploreRequest plain;
    for (const ExploreRequestField& field : ExploreRequestFields()) {
        // How a search runs is not kept: the merge runs it again its own way.
        if (field.name == "threads" || field.name == "verify" || field.name == "exhaustive") {
            continue;
        }
        EXPECT_NE(field.text(shard.request), field.text(plain)) << field.name;
    }
    std::ostringstream out;
    WriteExploreShard(shard, out);
    EXPECT_EQ(out.str(), text);
}

}  // namespace
}  // namespace mfb
