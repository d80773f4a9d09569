#include "documents/canvas.h"
#include "documents/undo_history.h"
#include <gtest/gtest.h>
#include <random>

namespace orv {

namespace {

// Changes of every kind a document makes: strokes (area steps), a whole-picture effect, a
// turn and a handle drag that change the size.
void Change(Canvas& c, UndoHistory& h, int i, std::mt19937& rnd)
{
    switch (i % 10) {
    case 3: {   // an effect over the whole picture
        h.recordWhole(QStringLiteral("Invert"));
        c.buffer().invertPixels();
        c.Refresh();
        break;
    }
    case 6: {   // a turn: the size changes
        h.recordWhole(QStringLiteral("Rotate"));
        c.setAutoSize(true);
        c.setPicture(c.Image().transformed(QTransform().rotate(90)));
        c.setAutoSize(false);
        break;
    }
    case 9:   // a handle drag
        h.recordWhole(QStringLiteral("Resize"));
        c.resizePixels(c.pixelWidth() + int(rnd() % 30) - 10, c.pixelHeight() + int(rnd() % 30) - 10);
        break;
    default: {   // a freehand stroke of a few segments
        h.recordArea(QStringLiteral("Freeform"));
        c.setDrawWidth(int16_t(1 + rnd() % 4));
        float x = float(rnd() % c.pixelWidth()), y = float(rnd() % c.pixelHeight());
        for (int s = 0; s < 5; ++s) {
            const float nx = float(rnd() % c.pixelWidth()), ny = float(rnd() % c.pixelHeight());
            c.Line(x, y, nx, ny, ColorRef(rnd() & 0xFFFFFF), LineMode::Line);
            x = nx;
            y = ny;
        }
        h.close();
    }
    }
}

} // namespace

TEST(UndoHistory, HundredMixedChangesUndoneAndRedoneGiveBackEveryPictureWithItsSize)
{
    Canvas c(150, 100);
    UndoHistory h(c);
    std::mt19937 rnd(7);
    std::vector<QImage> states{c.Image().copy()};
    for (int i = 0; i < 100; ++i) {
        Change(c, h, i, rnd);
        states.push_back(c.Image().copy());
    }
    ASSERT_EQ(h.undoCount(), 100);
    for (int i = 99; i >= 0; --i) {
        ASSERT_TRUE(h.undo());
        ASSERT_EQ(c.Image(), states[size_t(i)]) << "undo to " << i;
    }
    EXPECT_FALSE(h.canUndo());
    for (int i = 1; i <= 100; ++i) {
        ASSERT_TRUE(h.redo());
        ASSERT_EQ(c.Image(), states[size_t(i)]) << "redo to " << i;
    }
    EXPECT_FALSE(h.canRedo());
}

TEST(UndoHistory, NamesTheSavedStateAndDropsRedoStepsAfterAChange)
{
    Canvas c(100, 100);
    UndoHistory h(c);
    h.recordArea(QStringLiteral("Freeform"));
    c.Line(0, 0, 50, 50);
    h.markSaved();
    h.recordWhole(QStringLiteral("Invert"));
    c.buffer().invertPixels();
    EXPECT_EQ(h.undoName(), QStringLiteral("Invert"));
    EXPECT_FALSE(h.atSaved());
    h.undo();
    EXPECT_TRUE(h.atSaved());
    EXPECT_EQ(h.redoName(), QStringLiteral("Invert"));
    h.undo();
    EXPECT_FALSE(h.atSaved());
    h.redo();
    h.recordArea(QStringLiteral("Line"));   // a new change after undo: Invert cannot come back
    c.Line(0, 10, 50, 10);
    EXPECT_FALSE(h.canRedo());
    h.undo();
    EXPECT_TRUE(h.atSaved());
    h.recordArea(QStringLiteral("Pick color"));   // a press that draws nothing leaves no step
    h.close();
    EXPECT_EQ(h.undoName(), QStringLiteral("Freeform"));
}

TEST(UndoHistory, TheBudgetDropsTheOldestStepsOfAllPicturesAndKeepsEachLastOne)
{
    const int64_t before = UndoHistory::budget();
    Canvas a(200, 200), b(200, 200);
    UndoHistory ha(a), hb(b);
    UndoHistory::setBudget(int64_t(1) << 30);
    std::mt19937 rnd(3);
    for (int i = 0; i < 4; ++i) {   // noise: pictures that do not compress
        for (Canvas* c : {&a, &b}) {
            (c == &a ? ha : hb).recordWhole(QStringLiteral("Diffuse"));
            auto* p = reinterpret_cast<uint32_t*>(c->buffer().bits());
            for (int k = 0; k < 200 * 200; ++k) p[k] = rnd() | 0xFF000000u;
        }
    }
    EXPECT_EQ(ha.undoCount(), 4);
    UndoHistory::setBudget(200 * 200 * 4 * 3);   // room for three pictures
    EXPECT_EQ(ha.undoCount() + hb.undoCount(), 3);
    EXPECT_EQ(hb.undoCount(), 2);   // a's older steps were the oldest
    UndoHistory::setBudget(0);
    EXPECT_EQ(ha.undoCount(), 1);
    EXPECT_EQ(hb.undoCount(), 1);
    UndoHistory::setBudget(before);
}

} // namespace orv
