#include "dialup/elapsed_time.h"

#include <atomic>

namespace {

std::atomic<TickSource> gTickSource{GetTickCount64};

}  // namespace

std::uint64_t TickMilliseconds() { return gTickSource.load()(); }

void SetTickSource(TickSource source) { gTickSource.store(source ? source : GetTickCount64); }
