// Recovery copies on disk: what is written comes back whole, and copies of the first version
// are still read; a copy cut short (before or while it is read), with a flipped byte, absurd
// sizes or a band table that does not fit the file is refused with its message and no picture;
// a write that the disk refuses leaves the previous copy as it was.
#include "documents/recovery_file.h"
#include "documents/picture_snapshot.h"
#include "tests/support/test_pictures.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace orv;
using namespace orv::test;

namespace {

RecoveryCopy Sample(int w = 97, int h = 61)
{
    RecoveryCopy copy;
    copy.pixels = Numbered(w, h);
    copy.caption = QStringLiteral("Bild ü 1");
    copy.filePath = QStringLiteral("/home/user/pictures/bild ü.jpg");
    copy.jpegQuality = 42;
    copy.time = QDateTime::fromMSecsSinceEpoch(1765180800123);
    return copy;
}

bool Write(const RecoveryCopy& copy, const QString& path, QString* error)
{
    return WriteRecoveryCopy(copy, PictureSnapshot::Holding(copy.pixels), path, error);
}

struct RecoveryFileTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("copy.orc"));
};

} // namespace

// A copy of Sample(7, 3) as the first version of the format wrote it (one stream of planes).
const QByteArray kFirstVersionCopy = QByteArray::fromHex(
    "4f525652434f50590100000007000000030000002a0000007b7cf9fc9a010000090000001f0000002000000000000000"
    "b9684f180000000042696c6420c3bc20312f686f6d652f757365722f70696374757265732f62696c6420c3bc2e6a7067"
    "28b52ffd203fbd0000580001000100010001000200061000160b1c76ad35a10d");

TEST_F(RecoveryFileTest, ReadBackKeepsPixelsAndDescription)
{
    // One band; several bands with a short last one; a copy of the first version.
    for (const QSize size : {QSize(97, 61), QSize(2000, 700), QSize(7, 3)}) {
        const RecoveryCopy written = Sample(size.width(), size.height());
        QString error;
        if (size == QSize(7, 3)) WriteAll(path, kFirstVersionCopy);
        else ASSERT_TRUE(Write(written, path, &error)) << error.toStdString();
        for (bool withPixels : {false, true}) {
            RecoveryCopy read;
            ASSERT_TRUE(ReadRecoveryCopy(path, withPixels, &read, &error)) << error.toStdString();
            EXPECT_EQ(read.caption, written.caption);
            EXPECT_EQ(read.filePath, written.filePath);
            EXPECT_EQ(read.jpegQuality, 42);
            EXPECT_EQ(read.time, written.time);
            EXPECT_EQ(read.size, size);
            EXPECT_EQ(read.pixels.isNull(), !withPixels);
            if (withPixels) {
                EXPECT_EQ(read.pixels, written.pixels.convertToFormat(read.pixels.format())) << size.width();
            }
        }
    }
}

TEST_F(RecoveryFileTest, DamagedCopyGivesItsMessageAndNoPicture)
{
    QString error;
    ASSERT_TRUE(Write(Sample(), path, &error));
    const QByteArray whole = ReadAll(path);
    QByteArray flipped = whole;
    flipped[whole.size() / 2] = char(flipped[whole.size() / 2] ^ 0x10);
    const auto patched = [&](int at, uint32_t value) {
        QByteArray bytes = whole;
        std::memcpy(bytes.data() + at, &value, sizeof value);
        return bytes;
    };
    const int table = 56 + 9 + 31;   // after the header, the caption and the path
    const struct {
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {whole.left(whole.size() / 2), "cut short"},
        {whole.left(20), "cut short"},
        {flipped, "checksum"},
        {patched(12, 0xFFFFFF), "header is damaged"},   // width
        {patched(52, 0), "header is damaged"},          // rows per band
        {patched(52, 62), "header is damaged"},
        {patched(table, 0xFFFFFF00u), "band table is damaged"},   // a band beyond the file
        {patched(table, 3), "band table is damaged"},
        {QByteArray("BM not a copy at all, long enough for a header: ").repeated(4), "no recovery copy"},
    };
    for (const auto& c : cases) {
        WriteAll(path, c.bytes);
        RecoveryCopy read;
        read.pixels = Numbered(2, 2);
        EXPECT_FALSE(ReadRecoveryCopy(path, true, &read, &error)) << c.reason;
        EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
        EXPECT_TRUE(read.pixels.isNull() || read.pixels.size() == QSize(2, 2)) << c.reason;
        EXPECT_NE(read.pixels.size(), QSize(97, 61)) << c.reason;
    }
}

TEST_F(RecoveryFileTest, FullDiskLeavesThePreviousCopy)
{
    QString error;
    ASSERT_TRUE(Write(Sample(), path, &error));
    const QByteArray before = ReadAll(path);
    // A file may grow only to 4 KiB: the next, larger copy cannot be written whole.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    RecoveryCopy larger = Sample(640, 480);
    uint32_t noise = 1;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) Put(larger.pixels, x, y, (noise = noise * 1664525u + 1013904223u) >> 8);
    const bool written = Write(larger, path, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("copy.orc")});
}

TEST_F(RecoveryFileTest, ACopyCutShortWhileItIsReadIsRefused)
{
    // Another process cuts the copy short and writes it again while it is read, over and over:
    // every read gives the picture whole or refuses the copy, never a part of it.
    const RecoveryCopy written = Sample(2000, 700);
    QString error;
    ASSERT_TRUE(Write(written, path, &error)) << error.toStdString();
    const QByteArray whole = ReadAll(path);
    std::atomic<bool> done {false};
    std::thread cutter([&] {
        const QByteArray file = QFile::encodeName(path);
        for (int i = 0; !done; ++i) {
            if (truncate(file.constData(), whole.size() / (2 + i % 5)) != 0) break;
            WriteAll(path, whole);
        }
    });
    for (int i = 0; i < 40; ++i) {
        RecoveryCopy read;
        if (ReadRecoveryCopy(path, true, &read, &error)) {
            EXPECT_EQ(read.pixels, written.pixels.convertToFormat(read.pixels.format()));
        } else {
            EXPECT_TRUE(error.contains(QLatin1String("cut short")) || error.contains(QLatin1String("checksum")))
                << error.toStdString();
            EXPECT_TRUE(read.pixels.isNull());
        }
    }
    done = true;
    cutter.join();
}
