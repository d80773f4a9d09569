#pragma once
// Runs a blocking call (a web transfer, a scan) on a worker thread while the calling thread
// keeps processing its events, so that its windows stay painted and its buttons answer.
// Returns when the call has ended.
#include <functional>

namespace orv {

// `work` runs on the worker thread. `poll`, when given, runs on the calling thread every few
// milliseconds while `work` runs and once after it has ended (to report progress, for example).
void RunWhileProcessingEvents(const std::function<void()>& work, const std::function<void()>& poll = {});

} // namespace orv
