// Large pixel buffers: the two given back last are handed out again for the next of their size.
#include "platform/color.h"
#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(PixelBuffers, ALargeBufferGivenBackIsReusedOnceForItsSize)
{
    const uchar* first = nullptr;
    {
        const QImage a = NewUninitializedPixelBuffer(3000, 2000);
        first = a.constBits();
    }
    QImage b = NewUninitializedPixelBuffer(3000, 2000);   // the same rounded size
    EXPECT_EQ(b.constBits(), first);
    const QImage c = NewUninitializedPixelBuffer(3000, 2000);   // b still holds it
    EXPECT_NE(c.constBits(), first);
    b = QImage();
    const QImage other = NewUninitializedPixelBuffer(4000, 3000);   // another size: fresh memory
    EXPECT_NE(other.constBits(), first);
    EXPECT_EQ(other.size(), QSize(4000, 3000));
    // Small pictures come from the ordinary allocator and keep working as ever.
    const QImage small = NewPixelBuffer(5, 3, RGB(1, 2, 3));
    EXPECT_EQ(small.pixel(4, 2) & 0xFFFFFFu, 0x010203u);
}

// An effect that writes into a picture of its own needs two buffers (working copy and target)
// in every run: both come back for the next run, and a third given back lets the oldest go.
TEST(PixelBuffers, TheLastTwoLargeBuffersGivenBackAreKept)
{
    const uchar* bits[3] = {};
    {
        const QImage a = NewUninitializedPixelBuffer(3000, 2000);
        const QImage b = NewUninitializedPixelBuffer(3000, 2000);
        const QImage c = NewUninitializedPixelBuffer(3000, 2000);
        bits[0] = a.constBits();
        bits[1] = b.constBits();
        bits[2] = c.constBits();
    }   // given back c, b, a: c is let go
    const QImage x = NewUninitializedPixelBuffer(3000, 2000);
    const QImage y = NewUninitializedPixelBuffer(3000, 2000);
    const QImage z = NewUninitializedPixelBuffer(3000, 2000);
    EXPECT_TRUE((x.constBits() == bits[0] && y.constBits() == bits[1]) || (x.constBits() == bits[1] && y.constBits() == bits[0]));
    EXPECT_NE(z.constBits(), bits[0]);
    EXPECT_NE(z.constBits(), bits[1]);
}

} // namespace
} // namespace orv
