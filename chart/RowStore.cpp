// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/RowStore.h"

#include <system_error>

namespace mfb {

namespace {

// Rows in the smallest page a system uses: touching one row of each faults the chunk in.
constexpr std::size_t kRowsPerPage = 4096 / sizeof(ChartRow);

}  // namespace

void RowStore::AddChunk() {
    Settle();
    if (used_ == chunks_.size()) {
        chunks_.push_back(std::make_unique_for_overwrite<ChartRow[]>(kChunkSize));
    }
    next_ = chunks_[used_++].get();
    chunkEnd_ = next_ + kChunkSize;

    // A store that outgrows its first chunk is most likely a long sweep's. Its fresh memory costs
    // the kernel a page fault for every 4 KiB written, which made a new chart's first sweep a
    // sixth slower than a refilled one's; faulted in on another core while this chunk fills, the
    // next chunk is ready when it is needed.
    if (used_ < 2 || used_ < chunks_.size()) return;
    chunks_.push_back(std::make_unique_for_overwrite<ChartRow[]>(kChunkSize));
    ChartRow* ahead = chunks_.back().get();
    try {
        faultingAhead_ = std::thread([ahead] {
            for (std::size_t i = 0; i < kChunkSize; i += kRowsPerPage) ahead[i].x = 0;
        });
    } catch (const std::system_error&) {
        // No thread to spare: the pages fault in as the rows arrive, as they always could.
    }
}

void RowStore::truncate(std::size_t count) {
    if (count >= size_) return;
    Settle();
    size_ = count;
    // The chunk the next row goes into; none when the rows end at a chunk's end, so that
    // push_back takes the next one as usual.
    used_ = (count + kChunkSize - 1) >> kChunkBits;
    if (used_ == 0) {
        next_ = chunkEnd_ = nullptr;
    } else {
        ChartRow* chunk = chunks_[used_ - 1].get();
        next_ = chunk + (count - ((used_ - 1) << kChunkBits));
        chunkEnd_ = chunk + kChunkSize;
    }
}

void RowStore::GiveSpareChunks(RowStore& other) {
    Settle();
    other.Settle();
    for (std::size_t c = used_; c < chunks_.size(); ++c) {
        other.chunks_.push_back(std::move(chunks_[c]));
    }
    chunks_.resize(used_);
}

}  // namespace mfb
