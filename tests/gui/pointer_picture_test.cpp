// A custom pointer picture keeps its transparent areas on the canvas.
#include "documents/ui/canvas_pointer.h"
#include "tests/support/test_pictures.h"
#include <Magick++.h>
#include <QTemporaryDir>

namespace orv::test {

namespace {

// A 4 x 2 icon (resource type 1) or cursor (type 2): red, its right half masked out.
QByteArray MaskedIcon(int type)
{
    QByteArray bmp = Le(40, 4) + Le(4, 4) + Le(4, 4) + Le(1, 2) + Le(24, 2) + QByteArray(24, '\0');
    for (int i = 0; i < 8; ++i) bmp += QByteArray("\x00\x00\xFF", 3);   // blue, green, red
    bmp += QByteArray("\x30\0\0\0\x30\0\0\0", 8);                           // columns 2 and 3
    return Le(0, 2) + Le(uint32_t(type), 2) + Le(1, 2) + Le(4, 1) + Le(2, 1) + Le(0, 2) + Le(1, 2) + Le(24, 2)
           + Le(uint32_t(bmp.size()), 4) + Le(22, 4) + bmp;
}

} // namespace

TEST(PointerPicture, TransparentAreasOfPngGifIconAndCursorFilesStayTransparent)
{
    QTemporaryDir dir;
    QImage halfClear(4, 2, QImage::Format_ARGB32);
    halfClear.fill(Qt::transparent);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) halfClear.setPixelColor(x, y, Qt::red);
    const QString png = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(halfClear.save(png));
    Magick::Image gif(png.toStdString());
    gif.write(dir.filePath(QStringLiteral("p.gif")).toStdString());
    WriteAll(dir.filePath(QStringLiteral("p.ico")), MaskedIcon(1));
    WriteAll(dir.filePath(QStringLiteral("p.cur")), MaskedIcon(2));
    for (const char* name : {"p.png", "p.gif", "p.ico", "p.cur"}) {
        SCOPED_TRACE(name);
        const PointerPicture pointer = LoadPointerPicture(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(pointer.ok()) << pointer.error.toStdString();
        const QImage shown = pointer.cursor.pixmap().toImage();
        ASSERT_EQ(shown.size(), QSize(4, 2));
        EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::red));
        EXPECT_EQ(shown.pixelColor(2, 0).alpha(), 0);
        EXPECT_EQ(shown.pixelColor(3, 1).alpha(), 0);
    }
}

} // namespace orv::test
