#pragma once
// Splits a range of rows into one share per processor core and computes the shares at once.
// Only kernels whose result rows depend on nothing another share writes may use it; the
// caller's thread takes part and the call returns when every share is done, so a run's
// progress and cancel tests stay on the caller's thread between calls.
#include <cstdint>
#include <functional>

namespace orv {

// Calls rows(from, to) on disjoint shares covering first .. last-1, each share on its own
// thread. `pixelsPerRow` sizes the shares: ranges too small to gain from threads are
// computed in one call on the caller's thread.
void ForRowShares(int first, int last, int64_t pixelsPerRow, const std::function<void(int, int)>& rows);

} // namespace orv
