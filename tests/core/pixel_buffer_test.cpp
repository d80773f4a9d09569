// Large pixel buffers: the one given back last is handed out again for the next of its size.
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

} // namespace
} // namespace orv
