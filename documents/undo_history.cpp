#include "documents/undo_history.h"
#include "documents/canvas.h"
#include <algorithm>
#include <cstring>
#include <limits>
#include <unistd.h>
#include <utility>

namespace orv {

namespace {

constexpr int kTile = 64;
constexpr uint64_t kNone = std::numeric_limits<uint64_t>::max();

std::vector<UndoHistory*> gHistories;
int64_t gBudget = UndoHistory::defaultBudget();
uint64_t gSerial = 0;

} // namespace

int64_t UndoHistory::Step::bytes() const
{
    int64_t n = whole ? picture.bytes() : 0;
    for (const Tile& t : tiles) n += t.data.size();
    return n;
}

UndoHistory::UndoHistory(Canvas& canvas) : canvas_(canvas)
{
    canvas_.onBeforeChange = [this](const QRect& pixels) { capture(pixels); };
    gHistories.push_back(this);
}

UndoHistory::~UndoHistory()
{
    canvas_.onBeforeChange = nullptr;
    std::erase(gHistories, this);
}

QString UndoHistory::undoName() const
{
    return canUndo() ? steps_[size_t(cursor_ - 1)].name : QString();
}

QString UndoHistory::redoName() const
{
    return canRedo() ? steps_[size_t(cursor_)].name : QString();
}

void UndoHistory::recordWhole(const QString& name)
{
    Step step;
    step.name = name;
    step.whole = true;
    step.picture = PackedPicture(canvas_.Image());   // shares the pixels until the canvas is drawn on
    push(std::move(step));
}

void UndoHistory::recordArea(const QString& name, const QRect& area)
{
    Step step;
    step.name = name;
    push(std::move(step));
    const QImage& image = std::as_const(canvas_).buffer();
    tileColumns_ = (image.width() + kTile - 1) / kTile;
    taken_.assign(size_t(tileColumns_) * size_t((image.height() + kTile - 1) / kTile), false);
    openSize_ = image.size();
    open_ = true;
    capture(area);
}

void UndoHistory::push(Step step)
{
    close();
    steps_.erase(steps_.begin() + cursor_, steps_.end());
    if (savedAt_ > cursor_) savedAt_ = -1;   // the saved picture could only have been redone
    // The pictures below the new step are not the next to come back: they are compressed in
    // the background.
    for (Step& s : steps_)
        if (s.whole) s.picture.pack();
    step.serial = ++gSerial;
    steps_.push_back(std::move(step));
    ++cursor_;
    keepWithinBudget();
    lookAhead();
}

void UndoHistory::capture(const QRect& pixels)
{
    if (!open_) return;
    const QImage& image = std::as_const(canvas_).buffer();
    if (image.size() != openSize_) {   // a change of size is never an area step's
        close();
        return;
    }
    const QRect r = pixels & image.rect();
    if (r.isEmpty()) return;
    std::vector<Tile>& tiles = steps_.back().tiles;
    for (int ty = r.top() / kTile; ty <= r.bottom() / kTile; ++ty)
        for (int tx = r.left() / kTile; tx <= r.right() / kTile; ++tx) {
            const size_t i = size_t(ty) * size_t(tileColumns_) + size_t(tx);
            if (taken_[i]) continue;
            taken_[i] = true;
            const QRect t = QRect(tx * kTile, ty * kTile, kTile, kTile) & image.rect();
            const size_t rowBytes = size_t(t.width()) * 4;
            QByteArray old(qsizetype(rowBytes * size_t(t.height())), Qt::Uninitialized);
            for (int y = 0; y < t.height(); ++y)
                std::memcpy(old.data() + rowBytes * size_t(y), image.constScanLine(t.top() + y) + t.left() * 4,
                            rowBytes);
            tiles.push_back({t, std::move(old)});
        }
}

void UndoHistory::close()
{
    if (!open_) return;
    open_ = false;
    taken_ = {};
    Step& step = steps_.back();
    const QImage& image = std::as_const(canvas_).buffer();
    std::vector<Tile> kept;
    std::vector<uint32_t> diff;
    for (Tile& t : step.tiles) {
        if (!image.rect().contains(t.rect)) continue;
        const int w = t.rect.width();
        diff.resize(size_t(w) * size_t(t.rect.height()));
        const auto* old = reinterpret_cast<const uint32_t*>(t.data.constData());
        uint32_t any = 0;
        for (int y = 0; y < t.rect.height(); ++y) {
            const auto* now = reinterpret_cast<const uint32_t*>(image.constScanLine(t.rect.top() + y)) + t.rect.left();
            uint32_t* out = diff.data() + size_t(y) * size_t(w);
            const uint32_t* before = old + size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x) {
                out[x] = before[x] ^ now[x];
                any |= out[x];
            }
        }
        if (!any) continue;   // written with what was there: nothing to take back
        t.data = PackBytes(diff.data(), diff.size() * 4);
        kept.push_back(std::move(t));
    }
    step.tiles = std::move(kept);
    if (step.tiles.empty()) {   // changed no pixel: no step
        steps_.pop_back();
        --cursor_;
        if (savedAt_ > cursor_) savedAt_ = cursor_;
    }
}

void UndoHistory::applyTiles(const Step& step)
{
    // Each tile holds before XOR after: applied to either side it gives the other.
    QImage& image = canvas_.reportedBuffer();
    QRect dirty;
    std::vector<uint32_t> diff;
    for (const Tile& t : step.tiles) {
        const int w = t.rect.width();
        diff.resize(size_t(w) * size_t(t.rect.height()));
        if (!UnpackBytes(t.data, diff.data(), diff.size() * 4)) continue;
        canvas_.aboutToChange(t.rect);
        for (int y = 0; y < t.rect.height(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(image.scanLine(t.rect.top() + y)) + t.rect.left();
            const uint32_t* d = diff.data() + size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x) row[x] ^= d[x];
        }
        dirty |= t.rect;
    }
    canvas_.markDirty(dirty);
}

void UndoHistory::swapWhole(Step& step)
{
    // The held picture comes back whole, with its own size: a change of size (a turn, a
    // handle drag) is undone like any other, and nothing of either picture is cut away.
    const QImage held = step.picture.picture();
    step.picture = PackedPicture(canvas_.Image());
    const bool autoSize = canvas_.AutoSize();
    canvas_.setAutoSize(true);
    canvas_.setPicture(held);
    canvas_.setAutoSize(autoSize);
}

bool UndoHistory::undo()
{
    close();
    if (!canUndo()) return false;
    apply(steps_[size_t(--cursor_)]);
    return true;
}

bool UndoHistory::redo()
{
    close();
    if (!canRedo()) return false;
    apply(steps_[size_t(cursor_++)]);
    return true;
}

void UndoHistory::apply(Step& step)
{
    if (step.whole)
        swapWhole(step);
    else
        applyTiles(step);
    keepWithinBudget();
    lookAhead();
}

void UndoHistory::lookAhead()
{
    // The picture Undo gives back next is unpacked in the background where the budget has
    // room for it; the others' are let go.
    for (size_t i = 0; i < steps_.size(); ++i) {
        if (!steps_[i].whole) continue;
        if (int(i) == cursor_ - 1)
            steps_[i].picture.unpackAhead(gBudget - totalBytes());
        else
            steps_[i].picture.letGoAhead();
    }
}

int64_t UndoHistory::bytes() const
{
    int64_t n = 0;
    for (const Step& s : steps_) n += s.bytes();
    return n;
}

uint64_t UndoHistory::oldestDroppable() const
{
    // The step Undo takes back next stays; so does the next Redo when nothing can be undone.
    if (cursor_ >= 2) return steps_.front().serial;
    if (redoCount() > (cursor_ == 0 ? 1 : 0) && !open_) return steps_.back().serial;
    return kNone;
}

bool UndoHistory::dropOne()
{
    if (cursor_ >= 2) {
        steps_.erase(steps_.begin());
        --cursor_;
        savedAt_ = savedAt_ > 0 ? savedAt_ - 1 : -1;
        return true;
    }
    if (oldestDroppable() == kNone) return false;
    steps_.pop_back();
    if (savedAt_ > int(steps_.size())) savedAt_ = -1;
    return true;
}

int64_t UndoHistory::totalBytes()
{
    int64_t n = 0;
    for (const UndoHistory* h : gHistories) n += h->bytes();
    return n;
}

void UndoHistory::keepWithinBudget()
{
    if (totalBytes() <= gBudget) return;
    // Pictures unpacked ahead go first. Pictures still being packed count whole: the budget
    // holds now, without waiting for them.
    for (UndoHistory* h : gHistories)
        for (Step& s : h->steps_)
            if (s.whole) {
                s.picture.letGoAhead();
                s.picture.pack();
            }
    while (totalBytes() > gBudget) {
        UndoHistory* oldest = nullptr;
        uint64_t serial = kNone;
        for (UndoHistory* h : gHistories)
            if (const uint64_t s = h->oldestDroppable(); s < serial) {
                serial = s;
                oldest = h;
            }
        if (!oldest || !oldest->dropOne()) return;
    }
}

void UndoHistory::setBudget(int64_t bytes)
{
    gBudget = std::max<int64_t>(bytes, 0);
    keepWithinBudget();
}

int64_t UndoHistory::budget()
{
    return gBudget;
}

int64_t UndoHistory::defaultBudget()
{
    constexpr int64_t kMost = int64_t(2) << 30;
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return kMost;
    return std::min(int64_t(pages) * pageSize / 4, kMost);
}

} // namespace orv
