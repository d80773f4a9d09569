#include "fills/block_moves.h"
#include "effects/pixel_kernels.h"
#include "effects/row_shares.h"
#include "effects/target_picture.h"
#include <hwy/cache_control.h>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>

namespace orv {

namespace {

// The picture is worked in strips 16 lines across: 16 columns for moves up or down, 16 rows
// for sideways ones. A strip's pixels along one line of the moves' axis fill a cache line.
constexpr int kStrip = static_cast<int>(kernels::kSlotPixels);
constexpr size_t kSlotBytes = kStrip * sizeof(uint32_t);

// The moves that touch each strip, in the order of the run.
std::vector<std::vector<const BlockMove*>> MovesByStrip(const std::vector<BlockMove>& moves, int lines)
{
    std::vector<std::vector<const BlockMove*>> strips(static_cast<size_t>((lines + kStrip - 1) / kStrip));
    for (const BlockMove& m : moves)
        for (int s = m.first / kStrip; s <= (m.first + m.count - 1) / kStrip; ++s) strips[static_cast<size_t>(s)].push_back(&m);
    return strips;
}

// Calls f(k) for k in lo .. hi-1 except skipLo .. skipHi-1.
template <class F>
void ForEachOutside(int lo, int hi, int skipLo, int skipHi, F f)
{
    for (int k = lo; k < std::min(hi, skipLo); ++k) f(k);
    for (int k = std::max(lo, skipHi); k < hi; ++k) f(k);
}

// One strip, copied into a compact store that stays in the processor's cache while every move
// over the strip is made there in the run's order. Position p along the moves' axis holds the
// strip's up to 16 pixels across as slot slotOf_[p] of the store, and no two positions show the
// same slot. A move across the whole strip then shifts references, 4 bytes a position instead
// of 64; a move over part of the strip copies those pixels.
class Strip {
public:
    // Starts a strip n lines across and `length` positions long; the caller then fills
    // loadSlot(p) for every position.
    void reset(int n, int length)
    {
        n_ = n;
        pixels_.resize(static_cast<size_t>(length) * kStrip);
        slotOf_.resize(static_cast<size_t>(length));
        std::iota(slotOf_.begin(), slotOf_.end(), 0);
    }
    int across() const { return n_; }
    uint32_t* loadSlot(int p) { return slot(p); }
    // Pixel p of lines[i] as pixel i of position p, and back (n_ lines across, `length` long).
    void loadTurned(const uint32_t* const* lines, int length)
    {
        kernels::LinesToSlots(lines, static_cast<size_t>(n_), static_cast<size_t>(length), pixels_.data());
    }
    void storeTurned(uint32_t* const* lines, int length) const
    {
        kernels::SlotsToLines(pixels_.data(), slotOf_.data(), static_cast<size_t>(length), lines, static_cast<size_t>(n_));
    }
    const uint32_t* at(int p) const { return pixels_.data() + static_cast<size_t>(slotOf_[static_cast<size_t>(p)]) * kStrip; }

    // Gives the store's memory back.
    void release() { *this = Strip(); }

    // Makes move m over lines a .. b-1 of the strip.
    void move(const BlockMove& m, int a, int b)
    {
        if (a == 0 && b == n_) moveReferences(m);
        else copyPixels(m, a, b);
    }

private:
    uint32_t* slot(int s) { return pixels_.data() + static_cast<size_t>(s) * kStrip; }
    int32_t& slotOf(int p) { return slotOf_[static_cast<size_t>(p)]; }

    // The positions the block lands on outside those it comes from lose their pixels; their
    // slots are given, with a copy of the pixels, to as many positions it comes from outside
    // those it lands on, whose own slots the positions landed on now show.
    void moveReferences(const BlockMove& m)
    {
        const int srcEnd = m.from + m.length, dstEnd = m.to + m.length;
        dropped_.clear();
        ForEachOutside(m.to, dstEnd, m.from, srcEnd, [&](int p) { dropped_.push_back(slotOf(p)); });
        std::memmove(&slotOf(m.to), &slotOf(m.from), static_cast<size_t>(m.length) * sizeof(int32_t));
        auto spare = dropped_.begin();
        ForEachOutside(m.from, srcEnd, m.to, dstEnd, [&](int p) {
            std::memcpy(slot(*spare), slot(slotOf(p)), kSlotBytes);
            slotOf(p) = *spare++;
        });
    }

    // Positions last first when the block moves forward, so that none is written before it
    // is read.
    void copyPixels(const BlockMove& m, int a, int b)
    {
        kernels::CopySlotPixels(pixels_.data(), &slotOf(m.to), &slotOf(m.from), static_cast<size_t>(m.length),
                                m.to > m.from, static_cast<size_t>(a), static_cast<size_t>(b));
    }

    int n_ = 0;
    std::vector<uint32_t> pixels_;    // slot s: pixels s * 16 .. s * 16 + n_ - 1
    std::vector<int32_t> slotOf_;     // per position
    std::vector<int32_t> dropped_;    // moveReferences's slots to give out
};

// Each thread's strips, kept from one part of the picture to the next so that their memory is
// taken from the system once in a run. Helper threads end with the run; the calling thread
// lets its own strips go when the run is over.
constexpr int kTogether = 4;
thread_local Strip tStrips[kTogether];
struct ReleaseStrips {
    ~ReleaseStrips()
    {
        for (Strip& s : tStrips) s.release();
    }
};

// Makes the strip's moves; `first` is the strip's first line across.
void MakeMoves(Strip& strip, const std::vector<const BlockMove*>& moves, int first)
{
    for (const BlockMove* m : moves)
        strip.move(*m, std::max(m->first, first) - first, std::min(m->first + m->count, first + strip.across()) - first);
}

// n pixels, n at most a strip's width: a whole strip's row is copied inline, without a call.
inline void CopyStripRow(uint32_t* to, const uint32_t* from, int n)
{
    if (n == kStrip) std::memcpy(to, from, kSlotBytes);
    else std::memcpy(to, from, static_cast<size_t>(n) * sizeof(uint32_t));
}

} // namespace

// Four strips side by side are copied in and out together, so that each row of the picture is
// visited once per 64 columns, the rows a little ahead being asked for early; sets of four
// strips share nothing and are worked on all cores.
void MoveAlongColumns(QImage& picture, const std::vector<BlockMove>& moves)
{
    constexpr int kAhead = 16;
    constexpr int kSetWidth = kStrip * kTogether;
    const int w = picture.width(), h = picture.height();
    const auto byStrip = MovesByStrip(moves, w);
    const PixelRows rows(picture);
    const ReleaseStrips release;
    ForRowShares(0, (w + kSetWidth - 1) / kSetWidth, int64_t{kSetWidth} * h, [&](int firstSet, int lastSet) {
        Strip* strips = tStrips;
        for (int set = firstSet; set < lastSet; ++set) {
            const int left = set * kSetWidth, right = std::min(left + kSetWidth, w);
            const int count = (right - left + kStrip - 1) / kStrip;
            bool any = false;
            for (int j = 0; j < count; ++j) any = any || !byStrip[static_cast<size_t>(left / kStrip + j)].empty();
            if (!any) continue;
            for (int j = 0; j < count; ++j) strips[j].reset(std::min(kStrip, right - left - j * kStrip), h);
            const auto eachRow = [&](auto copy) {
                for (int y = 0; y < h; ++y) {
                    if (y + kAhead < h)
                        for (int j = 0; j < count; ++j) hwy::Prefetch(rows[y + kAhead] + left + j * kStrip);
                    for (int j = 0; j < count; ++j) copy(rows[y] + left + j * kStrip, strips[j], y);
                }
            };
            eachRow([](const uint32_t* row, Strip& s, int y) { CopyStripRow(s.loadSlot(y), row, s.across()); });
            for (int j = 0; j < count; ++j) MakeMoves(strips[j], byStrip[static_cast<size_t>(left / kStrip + j)], left + j * kStrip);
            eachRow([](uint32_t* row, Strip& s, int y) { CopyStripRow(row, s.at(y), s.across()); });
        }
    });
}

// Each strip of 16 rows is turned into one slot per column for its moves and turned back
// after them; strips share nothing and are worked on all cores.
void MoveAlongRows(QImage& picture, const std::vector<BlockMove>& moves)
{
    const int w = picture.width(), h = picture.height();
    const auto byStrip = MovesByStrip(moves, h);
    const PixelRows rows(picture);
    const ReleaseStrips release;
    ForRowShares(0, (h + kStrip - 1) / kStrip, int64_t{kStrip} * w, [&](int firstStrip, int lastStrip) {
        Strip& strip = tStrips[0];
        for (int s = firstStrip; s < lastStrip; ++s) {
            if (byStrip[static_cast<size_t>(s)].empty()) continue;
            const int top = s * kStrip, n = std::min(kStrip, h - top);
            strip.reset(n, w);
            uint32_t* lines[kStrip];
            for (int i = 0; i < n; ++i) lines[i] = rows[top + i];
            strip.loadTurned(lines, w);
            MakeMoves(strip, byStrip[static_cast<size_t>(s)], top);
            strip.storeTurned(lines, w);
        }
    });
}

} // namespace orv
