#pragma once
// The state of a plug-in run: while the helper runs, the document it works for is on the
// stack and gets the result, so neither that document nor the frame may close meanwhile.
#include <functional>

namespace orv {

// True from the start of a plug-in run to its end.
bool PlugInRunning();

// Ends the running plug-in's helper (its window goes, the document keeps its picture, no
// error is shown) and runs `then` once the run has ended and returned to the event loop.
void StopPlugInRunThen(std::function<void()> then);

} // namespace orv
