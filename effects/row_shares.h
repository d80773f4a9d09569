#pragma once
// Spreads the computing of a range of rows over the processor's cores. Only kernels whose
// result rows depend on nothing another row's computing writes may use it. The caller's thread
// takes part and the call returns when every row is done, so a run's progress and cancel tests
// stay on the caller's thread, between calls.
#include <cstdint>
#include <functional>

namespace orv {

// Calls rows(from, to) on disjoint pieces that together cover first .. last-1, on the caller's
// thread and on helper threads at once. `pixelsPerRow` sizes the pieces; a range too small to
// gain from threads is computed in one call on the caller's thread.
void ForRowShares(int first, int last, int64_t pixelsPerRow, const std::function<void(int, int)>& rows);

} // namespace orv
