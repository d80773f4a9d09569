// The flood fill tells the canvas what it is about to paint, run by run, so the undo history
// keeps only the tiles the fill reaches rather than copying the whole picture first.
#include "documents/canvas.h"
#include "documents/undo_history.h"
#include "tools/tool.h"
#include <gtest/gtest.h>
#include <vector>

namespace orv {

TEST(FillReach, ReportsEveryPixelItPaintsBeforePaintingAndNothingBeyond)
{
    const struct { QPoint press; QRect painted; } cases[] = {
        {{50, 50}, QRect(11, 11, 89, 89)},    // inside the box
        {{5, 5}, QRect(0, 0, 640, 480)},      // around it
        {{10, 10}, QRect(10, 10, 91, 91)},    // the box's own outline
    };
    for (const auto& k : cases) {
        Canvas c(640, 480);
        c.Line(10, 10, 100, 100, 0, LineMode::Box);
        const QImage before = c.Image().copy();
        std::vector<char> reported(size_t(c.pixelWidth() * c.pixelHeight()), 0);   // told before painted
        QRect reach;
        c.onBeforeChange = [&](const QRect& r) {
            reach |= r;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    if (c.buffer().pixel(x, y) == before.pixel(x, y)) reported[size_t(y * 640 + x)] = 1;
        };
        c.setForeColor(RGB(0, 200, 0));
        FindTool(QStringLiteral("Fill"))->press(c, ToolContext{}, float(k.press.x()), float(k.press.y()));
        EXPECT_EQ(reach, k.painted) << k.press.x();
        for (int y = 0; y < c.pixelHeight(); ++y)
            for (int x = 0; x < c.pixelWidth(); ++x) {
                if (c.buffer().pixel(x, y) != before.pixel(x, y)) {
                    ASSERT_TRUE(reported[size_t(y * 640 + x)]) << "(" << x << ", " << y << ") painted unreported";
                }
            }
    }
}

TEST(FillReach, UndoAndRedoOfAFillGiveBackBothPictures)
{
    Canvas c(640, 480);
    UndoHistory h(c);
    c.Line(10, 10, 100, 100, 0, LineMode::Box);
    const QImage before = c.Image().copy();
    h.recordArea(QStringLiteral("Fill"));
    c.setForeColor(RGB(0, 200, 0));
    FindTool(QStringLiteral("Fill"))->press(c, ToolContext{}, 5, 5);
    h.close();
    const QImage after = c.Image().copy();
    ASSERT_NE(after, before);
    ASSERT_TRUE(h.undo());
    EXPECT_EQ(c.Image(), before);
    ASSERT_TRUE(h.redo());
    EXPECT_EQ(c.Image(), after);
}

} // namespace orv
