#include "platform/background_call.h"
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <thread>

namespace orv {

void RunWhileProcessingEvents(const std::function<void()>& work, const std::function<void()>& poll)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    QEventLoop loop;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (poll) poll();
        if (done) loop.quit();
    });
    timer.start(15);
    if (!done) loop.exec();
    worker.join();
    if (poll) poll();
}

} // namespace orv
