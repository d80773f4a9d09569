#include "shell/ui/slide.h"
#include <QCoreApplication>
#include <QThread>

namespace orv {

namespace {
// A pause per pixel, so that the slide can be seen and takes a fraction of a second.
constexpr unsigned long kStepMs = 3;
}

bool SlideRun::run(int from, int to, const std::function<void(int)>& apply)
{
    const int mine = ++generation_;
    running_ = true;
    const int step = to >= from ? 1 : -1;
    for (int v = from; animated_ && v != to; v += step) {
        apply(v);
        QCoreApplication::processEvents();
        if (generation_ != mine) return false;
        QThread::msleep(kStepMs);
    }
    apply(to);
    running_ = false;
    return true;
}

} // namespace orv
