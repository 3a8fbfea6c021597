// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/RowStore.h"

namespace mfb {

void RowStore::AddChunk() {
    if (used_ == chunks_.size()) {
        chunks_.push_back(std::make_unique_for_overwrite<ChartRow[]>(kChunkSize));
    }
    next_ = chunks_[used_++].get();
    chunkEnd_ = next_ + kChunkSize;
}

}  // namespace mfb
