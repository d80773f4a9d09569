#pragma once
// The undo history of one picture: a list of named steps and a position in it. Undo takes back
// the step before the position, Redo puts back the one after it; recording a step after an
// undo drops the steps that could have been redone.
//
// A step keeps only what its change touched. A whole-picture step holds the picture on the
// other side of the change (compressed on the packing thread once a newer step exists, where
// that pays; until then it is held and counted as it is). The packed picture Undo would give
// back next is unpacked ahead in the background while the budget has room for it. An area
// step keeps the 64 x 64 tiles its change wrote: the canvas reports each region before it
// writes there, the tile's old pixels are copied the first time, and once the step is closed
// each tile is kept as the compressed difference between before and after, which Undo and
// Redo both apply the same way.
//
// All histories share one memory budget: when they hold more, the oldest steps of all
// pictures go first, but the step Undo would take back next is always kept.
#include "documents/packed_picture.h"
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

namespace orv {

class Canvas;

class UndoHistory {
public:
    explicit UndoHistory(Canvas& canvas);   // reports of changes come from the canvas from now on
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // A step for a change that may touch any pixel or the size: the whole picture as it is.
    void recordWhole(const QString& name);
    // A step for a change of the pixels within `area` (may be empty): they are kept now, and
    // whatever the canvas writes elsewhere is kept as it is written, until the step closes.
    void recordArea(const QString& name, const QRect& area = {});
    // Closes the open area step: nothing drawn from now on belongs to it. A step that changed
    // no pixel is dropped.
    void close();

    bool canUndo() const { return cursor_ > 0; }
    bool canRedo() const { return cursor_ < int(steps_.size()); }
    QString undoName() const;   // the name of the step Undo takes back, empty when none
    QString redoName() const;
    bool undo();
    bool redo();

    // The saved picture is the one at the position now; forgetSaved: no state is saved.
    void markSaved() { close(); savedAt_ = cursor_; }
    void forgetSaved() { savedAt_ = -1; }
    bool atSaved() const { return savedAt_ == cursor_; }

    int undoCount() const { return cursor_; }
    int redoCount() const { return int(steps_.size()) - cursor_; }
    int64_t bytes() const;   // memory the steps hold

    // The budget over all histories, in bytes; setting it drops steps at once where needed.
    static void setBudget(int64_t bytes);
    static int64_t budget();
    static int64_t totalBytes();
    // A quarter of the machine's memory, at most 2 GB.
    static int64_t defaultBudget();

private:
    struct Tile {
        QRect rect;
        QByteArray data;   // old pixels while the step is open, then the packed difference
    };
    struct Step {
        QString name;
        uint64_t serial = 0;   // order of recording over all histories
        bool whole = false;
        PackedPicture picture;   // whole: the picture on the other side
        std::vector<Tile> tiles;
        int64_t bytes() const;
    };

    void push(Step step);
    void capture(const QRect& pixels);
    void applyTiles(const Step& step);
    void swapWhole(Step& step);
    void apply(Step& step);   // undo and redo alike: each step swaps the picture with what it keeps
    void lookAhead();
    bool dropOne();   // the oldest step it may give up; false when none
    uint64_t oldestDroppable() const;
    static void keepWithinBudget();

    Canvas& canvas_;
    std::vector<Step> steps_;
    int cursor_ = 0;
    int savedAt_ = 0;
    bool open_ = false;                 // steps_.back() is an area step still taking tiles
    std::vector<bool> taken_;           // open step: tiles copied so far, by row
    int tileColumns_ = 0;
    QSize openSize_;                    // the canvas's size when the open step began
};

} // namespace orv
