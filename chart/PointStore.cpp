// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PointStore.h"

namespace mfb {

void PointStore::AddChunk() {
    if (used_ == chunks_.size()) {
        chunks_.push_back(std::make_unique_for_overwrite<ChartPoint[]>(kChunkSize));
    }
    next_ = chunks_[used_++].get();
    chunkEnd_ = next_ + kChunkSize;
}

}  // namespace mfb
