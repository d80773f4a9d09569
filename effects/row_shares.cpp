#include "effects/row_shares.h"
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace orv {

namespace {

// Rows are handed out in pieces of about this many pixels: few enough that taking one costs
// nothing, small enough that the caller's thread never waits long for a helper's last piece.
constexpr int64_t kPixelsPerPiece = 64 * 1024;

int Cores()
{
    static const int cores = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 64);
    return cores;
}

// The pieces of one call. Helpers that start late, when the processor is busy with other
// programs, find no piece left and end without touching the caller's data; the caller waits
// only for pieces already taken, so a busy machine costs no more than computing alone.
struct Pieces {
    int first = 0, last = 0, rowsPerPiece = 1, count = 0;
    const std::function<void(int, int)>* rows = nullptr;   // valid while pieces are left
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::mutex mutex;
    std::condition_variable finished;

    // Takes and computes pieces until none is left.
    void work()
    {
        for (int k = next.fetch_add(1); k < count; k = next.fetch_add(1)) {
            const int from = first + k * rowsPerPiece;
            (*rows)(from, std::min(last, from + rowsPerPiece));
            if (done.fetch_add(1) + 1 == count) {
                std::lock_guard<std::mutex> lock(mutex);
                finished.notify_all();
            }
        }
    }
};

} // namespace

void ForRowShares(int first, int last, int64_t pixelsPerRow, const std::function<void(int, int)>& rows)
{
    const int64_t count = last - first;
    if (count <= 0) return;
    const int64_t perPiece = std::clamp<int64_t>(kPixelsPerPiece / std::max<int64_t>(1, pixelsPerRow), 1, count);
    const int pieces = static_cast<int>((count + perPiece - 1) / perPiece);
    const int helpers = std::min(Cores(), pieces) - 1;
    if (helpers <= 0) {
        rows(first, last);
        return;
    }
    auto shared = std::make_shared<Pieces>();
    shared->first = first;
    shared->last = last;
    shared->rowsPerPiece = static_cast<int>(perPiece);
    shared->count = pieces;
    shared->rows = &rows;
    for (int k = 0; k < helpers; ++k) {
        try {
            std::thread([shared] { shared->work(); }).detach();
        } catch (const std::system_error&) {
            break;   // no thread to be had: the caller computes the rest
        }
    }
    shared->work();
    // The last pieces are short: waiting for them without giving up the processor spares the
    // wake-up, which on a busy machine can take longer than the piece.
    for (int spins = 0; spins < 1024 && shared->done.load() < shared->count; ++spins) std::this_thread::yield();
    std::unique_lock<std::mutex> lock(shared->mutex);
    shared->finished.wait(lock, [&] { return shared->done.load() == shared->count; });
}

} // namespace orv
