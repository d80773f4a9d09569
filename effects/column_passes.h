#pragma once
// The pixel loop of every effect run. An effect visits columns x = 0 .. W-1 (outer) and rows
// inside; after each column the run shows progress and tests for cancel. To read memory in
// rows, a kernel is handed bands of adjacent columns [x0, x1) and must produce exactly the
// pixels the column order would; progress and the cancel test follow each band, with the
// progress value of the band's last column.
#include <QImage>
#include <functional>
#include <vector>

namespace orv {

// Where a run reports progress and learns of a cancel: the progress dialog in the editor, a
// terminal bar in orvane-batch, nothing in tests.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void setProgress(float value) = 0;   // 0 .. 100
    // Lets pending user events run, then says whether the user asked to cancel.
    virtual bool cancelRequested() = 0;
};

struct ColumnPass {
    std::function<void(int x0, int x1)> columns;   // computes columns x0 .. x1-1
    float progressFrom = 0.0f;                     // progress after column x is
    float progressSpan = 100.0f;                   //   from + x * span / W
    bool wholeAtOnce = false;   // one call over all columns, no progress, no cancel test
};

// Runs the passes one after another over `width` columns of `height` rows. Returns false when
// cancelled (the rest is skipped), true when every pass ran to its end.
bool RunColumnPasses(int width, int height, const std::vector<ColumnPass>& passes,
                     ProgressSink* sink);

class WorkingCopy;

// The core of every effect run: a working copy of `image` is made, the passes that
// makePasses builds on it are run, and only when they all ran to their end is the working copy
// written back into `image` in one block (the result may have another size, as Rotate 90°).
// Returns false when cancelled; `image` is then untouched.
bool RunOnWorkingCopy(QImage& image,
                      const std::function<std::vector<ColumnPass>(WorkingCopy&)>& makePasses,
                      ProgressSink* sink);

// Columns per band for a picture of this height (about 256 K pixels a band, at least 1).
int BandWidth(int height);

// Rows from .. to-1: the same share of `height` rows as the band [x0, x1) is of `width`
// columns. The bands of a pass cover every column once, so their shares cover every row once.
//
// A kernel whose every result pixel is written once and computed only from pixels the pass
// does not change (a per-pixel map, a filter into a second picture) gives the same picture in
// any order, and no one sees its output before the run ends. Such a kernel computes the whole
// rows of its band's share instead of walking the band's columns down every row, which jumps a
// whole row ahead at every step and runs at a fraction of the memory's speed; progress and the
// cancel tests keep the pace of the column order.
struct RowShare {
    int from;
    int to;
};
RowShare RowsOfBand(int width, int height, int x0, int x1);

} // namespace orv
