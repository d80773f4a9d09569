// The messages of pictures that cannot be read: they name the file and a reason, and never carry
// the empty "()" that the picture library leaves in some of its texts.
#include "platform/color.h"
#include "platform/picture_codec.h"
#include "tests/support/test_pictures.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv::test {

TEST(ErrorText, DamagedPicturesGiveAReasonWithoutEmptyBrackets)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    const QString whole = dir.filePath("whole.bmp");
    ASSERT_TRUE(EncodeBmp24(Numbered(40, 30), whole, &error));
    const QByteArray bytes = ReadAll(whole);

    // A bitmap cut short at several places, one whose header is garbage after "BM", and files
    // of other types that are not what their names say.
    QByteArray garbage = bytes;
    for (int i = 2; i < 54; ++i) garbage[i] = char(0xA5);
    const std::pair<const char*, QByteArray> files[] = {
        {"cut20.bmp", bytes.left(20)},   {"cut60.bmp", bytes.left(60)},
        {"cut500.bmp", bytes.left(500)}, {"header.bmp", garbage},
        {"bm.gif", bytes},               {"half.pcx", QByteArray("\x0a\x05\x01\x08", 4) + QByteArray(60, '\0')},
        {"short.tga", QByteArray(10, '\x02')},
    };
    int reasons = 0;
    for (const auto& [name, content] : files) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        WriteAll(path, content);
        const DecodedPicture d = DecodePictureFile(path);
        if (d.ok()) continue;   // the library made something of it: no message to check
        ++reasons;
        EXPECT_TRUE(d.error.startsWith("Cannot open \"" + path + "\": ")) << d.error.toStdString();
        EXPECT_FALSE(d.error.contains("()")) << d.error.toStdString();
        EXPECT_FALSE(d.error.contains("  ")) << d.error.toStdString();
        EXPECT_TRUE(d.error.endsWith('.')) << d.error.toStdString();
    }
    EXPECT_GE(reasons, 4);
}

} // namespace orv::test
