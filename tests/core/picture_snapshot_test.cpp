// A snapshot of a canvas read on another thread gives the pixels as they were when it was
// taken, whatever the canvas does meanwhile; a stroke or an undone stroke changes the canvas's
// own pixels in place (the picture is not copied), and only the rows the reader still needs
// are kept for it.
#include "documents/canvas.h"
#include "documents/picture_snapshot.h"
#include "documents/undo_history.h"
#include "tests/support/test_pictures.h"
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace orv;
using namespace orv::test;

TEST(PictureSnapshot, GivesThePixelsAsTheyWereWhateverTheCanvasDoes)
{
    constexpr int kW = 50, kH = 40, kReadFirst = 10;
    const struct {
        const char* name;
        std::function<void(std::unique_ptr<Canvas>&, UndoHistory*&)> change;
        bool inPlace;   // the canvas keeps its pixel memory
    } cases[] = {
        {"stroke over rows read and unread", [](auto& c, auto&) { c->Line(0, 0, 49, 39); }, true},
        {"stroke on unread rows twice", [](auto& c, auto&) { c->Line(0, 30, 49, 30); c->Line(0, 31, 49, 29); }, true},
        {"undo of a stroke", [](auto&, auto& h) { h->undo(); }, true},
        {"picture shared, then a stroke", [](auto& c, auto&) { const QImage other = c->Image(); c->PSet(3, 35); }, false},
        {"clear", [](auto& c, auto&) { c->Cls(); }, false},
        {"new picture", [](auto& c, auto&) { c->setPicture(Numbered(50, 40).mirrored()); }, false},
        {"new size", [](auto& c, auto&) { c->resizePixels(20, 60); }, false},
        {"write without notice", [](auto& c, auto&) { c->buffer().invertPixels(); }, false},
        {"another snapshot", [](auto& c, auto&) { c->snapshot(); }, true},
        {"canvas gone", [](auto& c, auto& h) { delete h; h = nullptr; c.reset(); }, true},
    };
    for (const auto& k : cases) {
        auto canvas = std::make_unique<Canvas>(kW, kH);
        canvas->setPicture(Numbered(kW, kH));
        canvas->buffer().detach();
        auto* history = new UndoHistory(*canvas);
        history->recordArea(QStringLiteral("stroke"));
        canvas->Line(0, 5, 49, 25, 0x00FF00, LineMode::Line);
        history->close();
        const QImage before = canvas->Image().copy();
        const uchar* memory = std::as_const(*canvas).buffer().constBits();

        const std::shared_ptr<PictureSnapshot> snapshot = canvas->snapshot();
        QImage read(kW, kH, before.format());
        ASSERT_TRUE(snapshot->readRows(0, kReadFirst, read.bits(), size_t(read.bytesPerLine())));
        k.change(canvas, history);
        ASSERT_TRUE(snapshot->readRows(kReadFirst, kH - kReadFirst, read.scanLine(kReadFirst),
                                       size_t(read.bytesPerLine())));
        EXPECT_EQ(read, before) << k.name;
        if (canvas) {
            EXPECT_EQ(std::as_const(*canvas).buffer().constBits() == memory, k.inPlace) << k.name;
        }
        delete history;
    }
}
