// Bytes the program holds on the heap, counted by the benchmark program's own operator new and
// delete, so that a benchmark can report the peak memory of a run as a counter.
#pragma once

#include <cstddef>

namespace bench {

size_t liveBytes();  // allocated through operator new and not yet deleted
size_t peakBytes();  // the most liveBytes() reached since the last resetPeak()
void resetPeak();    // starts a new peak from the present live bytes

}  // namespace bench
