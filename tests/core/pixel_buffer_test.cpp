// Large pixel buffers: the two given back last are handed out again for the next of their size.
#include "platform/color.h"
#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(PixelBuffers, ALargeBufferGivenBackIsReusedOnceForItsSize)
{
    const uchar* first = NewUninitializedPixelBuffer(3000, 2000).constBits();
    QImage b = NewUninitializedPixelBuffer(3000, 2000);
    EXPECT_EQ(b.constBits(), first);
    EXPECT_NE(NewUninitializedPixelBuffer(3000, 2000).constBits(), first);   // b still holds it
    b = QImage();
    const QImage other = NewUninitializedPixelBuffer(4000, 3000);   // another size: fresh memory
    EXPECT_NE(other.constBits(), first);
    EXPECT_EQ(other.size(), QSize(4000, 3000));
}

// An effect that writes into a picture of its own needs two buffers (working copy and target)
// in every run: both come back for the next run, and a third given back lets the oldest go.
TEST(PixelBuffers, TheLastTwoLargeBuffersGivenBackAreKept)
{
    const uchar* bits[3] = {};
    {
        const QImage a = NewUninitializedPixelBuffer(3000, 2000), b = NewUninitializedPixelBuffer(3000, 2000),
                     c = NewUninitializedPixelBuffer(3000, 2000);
        bits[0] = a.constBits();
        bits[1] = b.constBits();
        bits[2] = c.constBits();
    }   // given back c, b, a: c is let go
    const QImage x = NewUninitializedPixelBuffer(3000, 2000), y = NewUninitializedPixelBuffer(3000, 2000),
                 z = NewUninitializedPixelBuffer(3000, 2000);
    EXPECT_TRUE((x.constBits() == bits[0] && y.constBits() == bits[1]) || (x.constBits() == bits[1] && y.constBits() == bits[0]));
    EXPECT_NE(z.constBits(), bits[0]);
    EXPECT_NE(z.constBits(), bits[1]);
}

} // namespace
} // namespace orv
