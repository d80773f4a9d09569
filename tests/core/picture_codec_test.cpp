#include "platform/color.h"
#include "platform/picture_codec.h"
#include "tests/support/test_pictures.h"
#include <Magick++.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>
#include <sys/wait.h>
#include <sys/time.h>
#include <sys/stat.h>
#include <tuple>

namespace orv {

namespace {

QImage Pattern(int w, int h)
{
    QImage img = NewPixelBuffer(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) test::Put(img, x, y, RGB((x * 37 + y * 11) & 255, (x * y) & 255, (x + 3 * y * y) & 255));
    return img;
}

using test::GifClaiming;
using test::PngClaiming;
using test::ReadAll;
using test::WriteAll;

// A 24-bit BMP header (file and info header, 54 bytes) claiming w x h pixels.
QByteArray BmpHeader(uint32_t w, uint32_t h)
{
    QByteArray b(54, '\0');
    b[0] = 'B', b[1] = 'M';
    const uint64_t image = uint64_t((w * 3 + 3) & ~3u) * h;
    for (auto [at, v, bytes] : {std::tuple{2, uint32_t(54 + image), 4}, {10, 54u, 4}, {14, 40u, 4}, {18, w, 4},
                                {22, h, 4}, {26, 1u, 2}, {28, 24u, 2}, {34, uint32_t(image), 4}})
        for (int i = 0; i < bytes; ++i) b[at + i] = char(v >> (8 * i));
    return b;
}

class PictureCodec : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }

    void ExpectOpenError(const QString& file, const char* reasonPart)
    {
        const DecodedPicture d = DecodePictureFile(file);
        EXPECT_FALSE(d.ok());
        EXPECT_TRUE(d.image.isNull());
        EXPECT_TRUE(d.error.startsWith("Cannot open \"" + file + "\": ")) << d.error.toStdString();
        EXPECT_TRUE(d.error.contains(reasonPart)) << d.error.toStdString();
        EXPECT_FALSE(d.error.contains('\n'));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PictureCodec, FormatCanBeForcedAndPathsAreTakenLiterally)
{
    QString error;
    const QImage picture = Pattern(5, 4);
    ASSERT_TRUE(EncodeBmp24(picture, path("gif:odd [0] name%d.dat"), &error)) << error.toStdString();
    EXPECT_EQ(DecodePictureFile(path("gif:odd [0] name%d.dat"), "BMP").image, picture);
    EXPECT_EQ(DecodePictureFile(path("gif:odd [0] name%d.dat")).image, picture);
}

TEST_F(PictureCodec, UnreadableFilesFailWithTheirReason)
{
    ExpectOpenError(path("missing.bmp"), "does not exist");
    WriteAll(path("empty.bmp"), {});
    ExpectOpenError(path("empty.bmp"), "the file is empty");
    QDir(dir.path()).mkdir("folder.bmp");
    ExpectOpenError(path("folder.bmp"), "folder");
    // Neither a named pipe nor a device is opened: either would block or never end.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.bmp")).constData(), 0600), 0);
    ExpectOpenError(path("pipe.bmp"), "it is a named pipe, not a picture file");
    ExpectOpenError(QStringLiteral("/dev/urandom"), "it is a device, not a picture file");
    // A 4 GB file (sparse: it takes no disk) is larger than any picture within the limits needs,
    // whatever its header claims: it is refused before any of it is read.
    QByteArray big = test::PngClaiming(16, 16);
    WriteAll(path("big.png"), big);
    ASSERT_EQ(::truncate(QFile::encodeName(path("big.png")).constData(), off_t{4} << 30), 0);
    ExpectOpenError(path("big.png"), "the file is too large (4096 MB; no picture Orvane opens needs more than 3115 MB)");
    QByteArray noise(4096, '\0');
    uint32_t s = 12345;
    for (char& c : noise) c = char((s = s * 1103515245u + 12345u) >> 24);
    WriteAll(path("noise.bmp"), noise);
    ExpectOpenError(path("noise.bmp"), "not a picture in a format");
    WriteAll(path("text.jpg"), "just some text\n");
    ExpectOpenError(path("text.jpg"), "not a picture in a format");
    // Documents that the library would hand to outside programs are not pictures here.
    for (const char* content : {"%!PS-Adobe-3.0\n%%BoundingBox: 0 0 10 10\nshowpage\n",
                                "<html><body><p>page</p></body></html>\n",
                                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>\n",
                                "%PDF-1.4\n1 0 obj<<>>endobj\n"}) {
        WriteAll(path("document.jpg"), content);
        ExpectOpenError(path("document.jpg"), "not a picture in a format");
    }
}

TEST_F(PictureCodec, PictureSizesAreCheckedBeforeAnyAllocation)
{
    // Headers claiming more pixels than the file holds are found out before any allocation; a
    // file that does hold them is refused by size. Rows of 32768 pixels need no padding.
    const struct { const char* name; QByteArray bytes; const char* reason; } cases[] = {
        {"huge.bmp", BmpHeader(100000, 100000) + QByteArray(300, '\x55'), "damaged or incomplete"},
        {"overflow.bmp", BmpHeader(0x7FFFFFFF, 0x7FFFFFFF) + QByteArray(300, '\x55'), "damaged or incomplete"},
        {"huge.png", PngClaiming(100000, 100000), "damaged or incomplete"},
        {"huge.gif", GifClaiming(65535, 65535), "too large (65535 pixels wide; at most 32768)"},
        {"wider.bmp", BmpHeader(32769, 2) + QByteArray(2 * ((32769 * 3 + 3) & ~3), '\x55'),
         "too large (32769 pixels wide; at most 32768)"},
    };
    for (const auto& c : cases) {
        WriteAll(path(c.name), c.bytes);
        ExpectOpenError(path(c.name), c.reason);
    }
    WriteAll(path("widest.bmp"), BmpHeader(32768, 2) + QByteArray(2 * 32768 * 3, '\x55'));
    const DecodedPicture d = DecodePictureFile(path("widest.bmp"));
    ASSERT_TRUE(d.ok()) << d.error.toStdString();
    EXPECT_EQ(d.image.size(), QSize(32768, 2));
    EXPECT_EQ(test::At(d.image, 32767, 1), RGB(0x55, 0x55, 0x55));
}

TEST_F(PictureCodec, AMetafileThatTakesTooLongToDrawIsStopped)
{
    // 4000 rectangles each covering all of 1000 x 1000 pixels (56 KB): minutes of drawing.
    WriteAll(path("slow.wmf"), test::MakeWmf(1000, 1000, 72, 7, 4000));
    DecodeOptions options;
    options.timeLimitMs = 500;
    const auto start = std::chrono::steady_clock::now();
    const DecodedPicture d = DecodePictureFile(path("slow.wmf"), options);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(d.error, "Cannot open \"" + path("slow.wmf") + "\": decoding the picture takes too long (more than 0.5 seconds).");
    // One rectangle draws in time.
    WriteAll(path("quick.wmf"), test::MakeWmf(100, 80, 72));
    const DecodedPicture quick = DecodePictureFile(path("quick.wmf"), options);
    ASSERT_TRUE(quick.ok()) << quick.error.toStdString();
    EXPECT_EQ(quick.image.size(), QSize(100, 80));
}

TEST(PictureLimits, AFileClaimsAtMost64PixelsAByteAndNeverFewerThan8192Squared)
{
    EXPECT_EQ(PixelBudget(0), 8192 * 8192);
    EXPECT_EQ(PixelBudget(1 << 20), 8192 * 8192);              // 1 MiB: 64 Mi pixels either way
    EXPECT_EQ(PixelBudget(2 << 20), int64_t{2} * 8192 * 8192);
    EXPECT_EQ(PixelBudget(int64_t{1} << 40), 400'000'000);     // never beyond 400 million
    const struct { int64_t w, h, bytes; bool vector; const char* refusal; } cases[] = {
        {8192, 8192, 1000, false, ""},
        {8192, 8193, 1000, false, "the picture is too large (8192 x 8193 pixels; a file of this size may hold at most 67 million)"},
        {32768, 2048, 1000, false, ""},
        {32769, 1, 1000, false, "the picture is too large (32769 pixels wide; at most 32768)"},
        {1, 32769, 100'000'000, false, "the picture is too large (32769 pixels high; at most 32768)"},
        {20000, 20000, 100'000'000, false, ""},
        {20000, 20001, 100'000'000, false, "the picture is too large (20000 x 20001 pixels; a file of this size may hold at most 400 million)"},
        {16384, 4096, 1000, true, ""},
        {16385, 1, 1000, true, "the picture would be drawn too large (16385 pixels wide; at most 16384)"},
        {0, 5, 1000, false, "the file holds no picture"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PictureSizeRefusal(c.w, c.h, c.bytes, c.vector), QString::fromLatin1(c.refusal)) << c.w << " x " << c.h;
}

TEST_F(PictureCodec, FailedWritesLeaveTheOldFileAndNoTemporary)
{
    WriteAll(path("target.bmp"), "original bytes");
    QFile::setPermissions(path("target.bmp"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QString error;
    QString seenTemp;
    const bool ok = WriteFileAtomically(path("target.bmp"), [&](const QString& temp, QString* err) {
        seenTemp = temp;
        WriteAll(temp, "partial");
        *err = "Cannot save: the encoder stopped.";
        return false;
    }, &error);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, "Cannot save: the encoder stopped.");
    EXPECT_EQ(QFileInfo(seenTemp).path(), dir.path());   // beside the target
    EXPECT_TRUE(QFileInfo(seenTemp).fileName().startsWith(".orvane-"));
    EXPECT_EQ(ReadAll(path("target.bmp")), "original bytes");
    EXPECT_EQ(entries(), QStringList{"target.bmp"});

    // A successful write replaces the file and keeps its permissions.
    ASSERT_TRUE(EncodeBmp24(Pattern(3, 3), path("target.bmp"), &error));
    EXPECT_EQ(ReadAll(path("target.bmp")).left(2), "BM");
    EXPECT_EQ(QFile::permissions(path("target.bmp")),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    EXPECT_EQ(entries(), QStringList{"target.bmp"});
}

TEST_F(PictureCodec, SavesTakeLongNamesAndClearOnlyTheirOwnStaleLeftovers)
{
    // A name as long as the system allows still saves: the temporary name is short.
    const QString longest = path(QString(251, 'n') + ".bmp");
    QString error;
    ASSERT_TRUE(EncodeBmp24(Pattern(2, 2), longest, &error)) << error.toStdString();

    // Leftovers of killed saves go once they are an hour old; anything else stays.
    const struct { const char* name; int ageSeconds; bool removed; } files[] = {
        {".orvane-Ab12Cd.tmp", 7200, true},   {".photo.jpg.x1Y2z3.tmp", 7200, true},
        {".orvane-Ab12Ce.tmp", 60, false},    {".notes.txt.x1Y2z3.tmp", 7200, false},
        {"orvane-Ab12Cf.tmp", 7200, false},   {".orvane-Ab12.tmp", 7200, false},
    };
    for (const auto& f : files) {
        WriteAll(path(f.name), "left");
        const timeval when[2] = {{::time(nullptr) - f.ageSeconds, 0}, {::time(nullptr) - f.ageSeconds, 0}};
        ASSERT_EQ(::utimes(QFile::encodeName(path(f.name)).constData(), when), 0);
    }
    ASSERT_TRUE(EncodeBmp24(Pattern(2, 2), path("next.bmp"), &error)) << error.toStdString();
    for (const auto& f : files) EXPECT_EQ(!QFile::exists(path(f.name)), f.removed) << f.name;
}

TEST_F(PictureCodec, AFileTheUserMayNotWriteIsNotReplaced)
{
    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    // Root's file in a folder anyone may write, saved over by another user.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    WriteAll(path("theirs.bmp"), "their bytes");
    ASSERT_EQ(::chmod(QFile::encodeName(path("theirs.bmp")).constData(), 0644), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        QString e;
        const bool saved = EncodeBmp24(Pattern(2, 2), path("theirs.bmp"), &e);
        ::_exit(saved ? 1 : e.endsWith(": permission denied.") ? 0 : 2);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadAll(path("theirs.bmp")), "their bytes");
    EXPECT_EQ(entries(), QStringList{"theirs.bmp"});
}

TEST_F(PictureCodec, WritesIntoImpossibleFoldersNameTheFile)
{
    const QImage picture = Pattern(4, 4);
    QString error;
    const QString missing = path("no such folder/out.bmp");
    EXPECT_FALSE(EncodeBmp24(picture, missing, &error));
    EXPECT_TRUE(error.startsWith("Cannot save \"" + missing + "\": the folder")) << error.toStdString();
    EXPECT_TRUE(error.contains("does not exist"));

    WriteAll(path("plain.txt"), "x");
    const QString underFile = path("plain.txt/out.jpg");
    EXPECT_FALSE(EncodeJpeg(picture, underFile, 85, &error));
    EXPECT_TRUE(error.startsWith("Cannot save \"" + underFile + "\": ")) << error.toStdString();
    EXPECT_TRUE(error.contains("is not a folder"));

    EXPECT_FALSE(EncodeBmp24(QImage(), path("null.bmp"), &error));
    EXPECT_EQ(entries(), QStringList({"plain.txt"}));
}

TEST_F(PictureCodec, FullDiskLeavesTheOldFileAndNoTemporary)
{
    const QString disk = path("small disk");
    QDir(dir.path()).mkdir("small disk");
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small disk here";
    // Noise, which no encoder packs into the 64 KB: each says why the system refused the
    // bytes, not what its own stream made of it.
    QImage noise = NewPixelBuffer(300, 300, 0);
    uint32_t seed = 7;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) test::Put(noise, x, y, (seed = seed * 1103515245u + 12345u) >> 8 & 0xFFFFFF);
    const struct { const char* name; bool (*encode)(const QImage&, const QString&, QString*); } encoders[] = {
        {"big.bmp", EncodeBmp24},
        {"big.png", EncodePng24},
        {"big.jpg", [](const QImage& p, const QString& f, QString* e) { return EncodeJpeg(p, f, 95, e); }},
    };
    for (const auto& e : encoders) {
        const QString target = disk + "/" + e.name;
        WriteAll(target, "old");
        QString error;
        EXPECT_FALSE(e.encode(noise, target, &error));
        EXPECT_EQ(error.toStdString(), ("Cannot save \"" + target + "\": the disk is full.").toStdString());
        EXPECT_EQ(ReadAll(target), "old");
        EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList{e.name});
        QFile::remove(target);
    }
    ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
}

} // namespace orv
