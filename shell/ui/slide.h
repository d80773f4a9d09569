#pragma once
// A slide animation that a newer one can take over: a value moves one pixel a step from one
// end to the other, the screen is updated and pending events run after each step, so a click
// during the slide is handled at once. When such a click starts another slide of the same
// kind, the newer slide has the last word and the older one stops where it is.
// With the "Scrolling toolbars" preference off, every slide jumps to its end at once.
#include <functional>

namespace orv {

class SlideRun {
public:
    // Moves from `from` to `to`, calling `apply` with every value. Returns true when the slide
    // reached `to`, false when a newer run (or stop()) took over meanwhile.
    bool run(int from, int to, const std::function<void(int)>& apply);
    // Ends any slide in progress where it is (it returns false).
    void stop() { ++generation_; running_ = false; }
    bool running() const { return running_; }
    // Whether slides move step by step (true) or jump to their end; for every slide.
    static void setAnimated(bool on) { animated_ = on; }
    static bool animated() { return animated_; }

private:
    int generation_ = 0;
    bool running_ = false;
    static inline bool animated_ = true;
};

} // namespace orv
