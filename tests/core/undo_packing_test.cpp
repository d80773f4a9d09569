// Whole-picture steps are compressed on the packing thread. These tests hold that thread back
// with a task of their own, so a step's packing is reliably still to come while they look.
#include "documents/canvas.h"
#include "documents/undo_history.h"
#include "platform/color.h"
#include <QThreadPool>
#include <gtest/gtest.h>
#include <future>
#include <memory>

namespace orv {

namespace {

// Keeps the packing thread busy until it goes: everything asked meanwhile waits its turn.
class HeldBack {
public:
    explicit HeldBack(bool on)
    {
        if (on) PackingThread().start([gate = gate_.get_future().share()] { gate.wait(); });
    }
    ~HeldBack() { release(); }
    void release()
    {
        if (!released_) gate_.set_value();
        released_ = true;
        PackingThread().waitForDone();
    }

private:
    std::promise<void> gate_;
    bool released_ = false;
};

// A picture that packs well: flat colour crossed by a few lines.
void Draw(Canvas& c, int i)
{
    c.setDrawWidth(3);
    for (int k = 0; k < 4; ++k)
        c.Line(float(k * 20), float(i * 10), float(c.pixelWidth() - 1), float(k * 30), RGB(40 * i, 200, 10 * k),
               LineMode::Line);
}

} // namespace

TEST(UndoPacking, UndoAndRedoGiveTheExactPicturesAndTheirResolutionWhilePackingIsPendingAndAfterIt)
{
    for (const bool pending : {true, false}) {
        Canvas c(300, 200);
        SetResolution(c.buffer(), {11811, 5000});   // as a file declared it
        UndoHistory h(c);
        HeldBack hold(pending);
        std::vector<QImage> states{c.Image().copy()};
        for (int i = 1; i <= 3; ++i) {
            h.recordWhole(QStringLiteral("Invert"));
            c.buffer().invertPixels();
            Draw(c, i);
            states.push_back(c.Image().copy());
        }
        if (!pending) {
            hold.release();
            ASSERT_LT(h.bytes(), 2 * 300 * 200 * 4) << "the older pictures are packed";
        }
        for (int round = 0; round < 2; ++round) {   // the second round after Redo's fresh steps
            for (int i = 2; i >= 0; --i) {
                ASSERT_TRUE(h.undo());
                if (!pending) PackingThread().waitForDone();   // the next Undo's picture is unpacked ahead
                ASSERT_EQ(c.Image(), states[size_t(i)]) << "pending " << pending << ", undo to " << i;
                ASSERT_EQ(ResolutionOf(c.Image()).y, 5000) << "pending " << pending << ", undo to " << i;
            }
            for (int i = 1; i <= 3; ++i) {
                ASSERT_TRUE(h.redo());
                ASSERT_EQ(c.Image(), states[size_t(i)]) << "pending " << pending << ", redo to " << i;
            }
        }
    }
}

TEST(UndoPacking, PicturesBeingPackedCountWholeAgainstTheBudget)
{
    const int64_t before = UndoHistory::budget();
    constexpr int64_t kPicture = 200 * 200 * 4;
    Canvas c(200, 200);
    UndoHistory h(c);
    HeldBack hold(true);
    for (int i = 1; i <= 3; ++i) {
        h.recordWhole(QStringLiteral("Invert"));
        c.buffer().invertPixels();
        Draw(c, i);
    }
    EXPECT_EQ(h.bytes(), 3 * kPicture);   // none packed yet
    UndoHistory::setBudget(kPicture * 5 / 2);
    EXPECT_EQ(h.undoCount(), 2);   // the oldest went at once
    EXPECT_LE(UndoHistory::totalBytes(), kPicture * 5 / 2);
    hold.release();
    EXPECT_LT(h.bytes(), kPicture / 2);   // both left are packed now
    ASSERT_TRUE(h.undo());   // the next Undo's picture fits: it is unpacked ahead, and counted
    PackingThread().waitForDone();
    EXPECT_GT(h.bytes(), 2 * kPicture);
    EXPECT_LE(UndoHistory::totalBytes(), kPicture * 5 / 2);
    UndoHistory::setBudget(kPicture * 3 / 2);   // the picture unpacked ahead goes before any step
    EXPECT_EQ(h.undoCount() + h.redoCount(), 2);
    EXPECT_LE(UndoHistory::totalBytes(), kPicture * 3 / 2);
    UndoHistory::setBudget(before);
}

TEST(UndoPacking, ClosingAPictureWhileItsStepsArePackedLetsThemGo)
{
    for (const bool queued : {true, false}) {
        auto c = std::make_unique<Canvas>(1500, 1000);
        auto h = std::make_unique<UndoHistory>(*c);
        HeldBack hold(queued);
        const QImage first = c->Image();
        for (int i = 1; i <= 3; ++i) {
            h->recordWhole(QStringLiteral("Invert"));
            c->buffer().invertPixels();
            Draw(*c, i);
        }
        h.reset();
        c.reset();
        hold.release();
        EXPECT_TRUE(first.isDetached()) << "queued " << queued << ": the picture is still held";
    }
}

TEST(UndoPacking, QuittingWhilePackingEndsTheProgramCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto* c = new Canvas(3000, 2000);   // the windows are still open as the program ends
            auto* h = new UndoHistory(*c);
            for (int i = 1; i <= 3; ++i) {
                h->recordWhole(QStringLiteral("Invert"));
                c->buffer().invertPixels();
                Draw(*c, i);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace orv
