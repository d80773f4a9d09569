#include "fills/video_feedback.h"
#include "effects/batch_params.h"
#include "effects/pixel_kernels.h"
#include "effects/row_shares.h"
#include "effects/step_text.h"
#include "effects/target_picture.h"
#include "platform/numbers.h"
#include <algorithm>
#include <memory>

namespace orv {

namespace {

// The source coordinate of each position of a copy `n` long taken from `extent` positions: the
// stretched copy's nearest-pixel rule, floor((k + 0.5) * extent / n).
std::vector<int32_t> StretchMap(int n, int extent)
{
    std::vector<int32_t> map(static_cast<size_t>(std::max(n, 0)));
    for (int k = 0; k < n; ++k)
        map[static_cast<size_t>(k)] = static_cast<int>((2 * int64_t{k} + 1) * extent / (2 * int64_t{n}));
    return map;
}

struct Copy {
    QRect rect;
    std::vector<int32_t> columns;   // source column of each of the rectangle's columns
    std::vector<int32_t> rows;      // source row of each of its rows
};

// The copies are painted in reverse: a pixel ends with the last copy drawn over it, so each
// output row takes its pixels from the smallest copy that covers them first and leaves them to
// the larger copies only where no smaller one reaches. Every pixel is written once.
class Feedback {
public:
    Feedback(int width, int height, const VideoFeedbackParams& p) : width_(width)
    {
        for (const QRect& r : FeedbackCopies(width, height, p))
            copies_.push_back({r, StretchMap(r.width(), width), StretchMap(r.height(), height)});
    }
    bool empty() const { return copies_.empty(); }

    // Output rows from .. to-1. Copy by copy, so that each copy reads its source rows and writes
    // its output rows at a steady stride, which the memory fetches ahead.
    void rows(const WorkingCopy& source, const PixelRows& outRows, int from, int to) const
    {
        std::vector<std::vector<std::pair<int, int>>> covered(static_cast<size_t>(std::max(to - from, 0)));
        for (auto c = copies_.rbegin(); c != copies_.rend(); ++c) {
            const QRect& r = c->rect;
            if (r.width() <= 0) continue;
            const int32_t* map = c->columns.data();
            const int shift = r.left();   // output column x is the copy's column x - shift
            const int left = std::max(r.left(), 0), right = std::min(r.left() + r.width(), width_);
            const bool fullWidth = r.width() == width_;   // the first copy: column x is source column x
            for (int y = std::max(r.top(), from); y < std::min(r.top() + r.height(), to); ++y) {
                const uint32_t* in = source.row(c->rows[static_cast<size_t>(y - r.top())]);
                uint32_t* out = outRows[y];
                PaintUncovered(covered[static_cast<size_t>(y - from)], left, right, [&](int a, int b) {
                    if (fullWidth) std::copy(in + a, in + b, out + a);
                    else kernels::GatherRow(in, map + (a - shift), out + a, static_cast<size_t>(b - a));
                });
            }
        }
    }

private:
    // Paints the parts of [a, b) that `covered` (sorted, disjoint intervals) leaves open, then
    // adds [a, b) to it.
    template <class Paint>
    static void PaintUncovered(std::vector<std::pair<int, int>>& covered, int a, int b, Paint paint)
    {
        if (a >= b) return;
        // The copies nest, so the covered part of a row is nearly always one interval that
        // the next copy encloses.
        if (covered.size() == 1 && a <= covered[0].second && covered[0].first <= b) {
            auto& [ca, cb] = covered[0];
            if (a < ca) paint(a, ca);
            if (cb < b) paint(cb, b);
            ca = std::min(ca, a);
            cb = std::max(cb, b);
            return;
        }
        int at = a;
        for (const auto& [ca, cb] : covered) {
            if (cb <= at) continue;
            if (ca >= b) break;
            if (ca > at) paint(at, ca);
            at = std::max(at, cb);
            if (at >= b) break;
        }
        if (at < b) paint(at, b);
        covered.emplace_back(a, b);
        std::sort(covered.begin(), covered.end());
        size_t kept = 0;
        for (size_t i = 1; i < covered.size(); ++i) {
            if (covered[i].first <= covered[kept].second)
                covered[kept].second = std::max(covered[kept].second, covered[i].second);
            else
                covered[++kept] = covered[i];
        }
        covered.resize(kept + 1);
    }

    int width_;
    std::vector<Copy> copies_;
};

} // namespace

std::vector<QRect> FeedbackCopies(int width, int height, const VideoFeedbackParams& p)
{
    std::vector<QRect> copies;
    if (!(p.step >= kSmallestStep)) return copies;
    const double w = width, h = height;
    for (double i = 1; i <= 10; i += p.step) {
        const QRect r(CLng((w - w / i) / p.qx), CLng((h - h / i) / p.qy), CLng(w / i), CLng(h / i));
        if (copies.empty() || copies.back() != r) copies.push_back(r);
    }
    return copies;
}

std::vector<ColumnPass> VideoFeedbackPasses(WorkingCopy& work, const VideoFeedbackParams& p)
{
    const int w = work.width(), h = work.height();
    auto feedback = std::make_shared<const Feedback>(w, h, p);
    if (feedback->empty()) return {};
    return {PassIntoTarget(work, w, h, [feedback, w, h](const WorkingCopy& source, QImage& target, int x0, int x1) {
        const RowShare rows = RowsOfBand(w, h, x0, x1);
        const PixelRows out(target);
        ForRowShares(rows.from, rows.to, w, [&](int from, int to) { feedback->rows(source, out, from, to); });
    })};
}

bool ParseVideoFeedbackParams(const EffectParams& params, VideoFeedbackParams* out, QString* error)
{
    const QString effect = QStringLiteral("video-feedback");
    if (!CheckParamNames(effect, params, {"step", "x", "y"}, error)) return false;
    VideoFeedbackParams p;
    if (!ReadNumberParam(effect, params, QStringLiteral("step"), StepFromText,
                         QStringLiteral("a number of at least %1").arg(kSmallestStep), &p.step, error)
        || !ReadIntParam(effect, params, QStringLiteral("x"), kFirstPosition, kLastPosition, &p.qx, error)
        || !ReadIntParam(effect, params, QStringLiteral("y"), kFirstPosition, kLastPosition, &p.qy, error))
        return false;
    *out = p;
    return true;
}

} // namespace orv
