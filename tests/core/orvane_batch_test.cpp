#include "platform/color.h"
#include "platform/picture_codec.h"
#include <Magick++.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include "tests/support/test_pictures.h"

namespace orv {

namespace {

struct BatchRun {
    int status = -1;
    QString err;
    QByteArray out;
};

class OrvaneBatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QImage picture = NewPixelBuffer(41, 17, 0);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 41; ++x) test::Put(picture, x, y, RGB(x * 6, y * 15, (x ^ y) * 4));
        QString error;
        ASSERT_TRUE(EncodeBmp24(picture, path("in.bmp"), &error));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray bytes(const QString& name) const { return test::ReadAll(path(name)); }
    // Runs orvane-batch, optionally with its address space limited to `memoryLimit` bytes and
    // every file it writes to 64 MB (so that pixels moved out to a disk cache do not escape the
    // limit), and with `preload` preloaded. Under a limit the decoder threads and the
    // allocator's per-thread reservations are held at two, so that the limit measures
    // pictures, not the number of processors.
    BatchRun run(const QStringList& args, rlim_t memoryLimit = 0, const QString& preload = {}) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (memoryLimit) {
            p.setChildProcessModifier([memoryLimit] {
                const rlimit limit{memoryLimit, memoryLimit}, fileSize{64 << 20, 64 << 20};
                ::setrlimit(RLIMIT_AS, &limit);
                ::setrlimit(RLIMIT_FSIZE, &fileSize);
            });
            env.insert(QStringLiteral("OMP_NUM_THREADS"), QStringLiteral("2"));
            env.insert(QStringLiteral("MALLOC_ARENA_MAX"), QStringLiteral("2"));
        }
        if (!preload.isEmpty()) env.insert(QStringLiteral("LD_PRELOAD"), preload);
        p.setProcessEnvironment(env);
        p.start(ORVANE_BATCH_EXE, args);
        BatchRun r;
        if (!p.waitForFinished(30000)) return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        r.out = p.readAllStandardOutput();
        return r;
    }
    QStringList files(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    // A failed run: the status, one line naming `culprit`, and OUTPUT as it was.
    void ExpectFailure(const QStringList& args, int status, const QString& culprit)
    {
        SCOPED_TRACE(args.join(' ').toStdString());
        const QByteArray before = bytes("out.bmp");
        const BatchRun r = run(args);
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(culprit)) << r.err.toStdString();
        EXPECT_EQ(bytes("out.bmp"), before);
        EXPECT_FALSE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).join(' ').contains(".tmp"));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(OrvaneBatch, NoneCopiesABitmapByteForByte)
{
    const BatchRun r = run({path("in.bmp"), path("out.bmp"), "none"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(bytes("out.bmp"), bytes("in.bmp"));
}

TEST_F(OrvaneBatch, JpegOutputTakesTheQualityOption)
{
    // Quality q scales the first luminance step 16 of the standard table by 200 - 2q percent.
    for (const auto& [args, lumaDc] : {std::pair{QStringList{}, 5}, {QStringList{"--quality=40"}, 20}}) {
        const BatchRun r = run(args + QStringList{path("in.bmp"), path("out.JPG"), "none"});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QByteArray jpeg = bytes("out.JPG");
        ASSERT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
        const int dqt = jpeg.indexOf("\xFF\xDB");
        ASSERT_GT(dqt, 0);
        EXPECT_EQ(uint8_t(jpeg[dqt + 5]), lumaDc);
    }
}

TEST_F(OrvaneBatch, TimeOptionReportsTheEffectRun)
{
    const BatchRun r = run({"--time", path("in.bmp"), path("out.bmp"), "none"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(QRegularExpression("^effect_ms=[0-9]+\\.[0-9]{3}\n$").match(r.err).hasMatch()) << r.err.toStdString();
}

TEST_F(OrvaneBatch, BadUsageExitsWithTwoAndNamesTheCulprit)
{
    QFile::copy(path("in.bmp"), path("out.bmp"));   // an OUTPUT that must survive
    const QString in = path("in.bmp"), out = path("out.bmp");
    ExpectFailure({}, 2, "usage: orvane-batch");
    ExpectFailure({in, out}, 2, "usage: orvane-batch");
    ExpectFailure({in, out, "blur"}, 2, "unknown effect \"blur\"");
    ExpectFailure({in, out, "none", "radius=3"}, 2, "parameter \"radius\"");
    ExpectFailure({in, out, "none", "radius"}, 2, "\"radius\"");
    ExpectFailure({"--quality=101", in, out, "none"}, 2, "--quality");
    ExpectFailure({"--quality=high", in, out, "none"}, 2, "\"high\"");
    ExpectFailure({"--fast", in, out, "none"}, 2, "--fast");
    ExpectFailure({in, path("out.png"), "none"}, 2, "out.png");
    ExpectFailure({in, path("out"), "none"}, 2, "out");
}

TEST_F(OrvaneBatch, UnreadableInputOrUnwritableOutputExitsWithOne)
{
    QFile::copy(path("in.bmp"), path("out.bmp"));
    test::WriteAll(path("broken.bmp"), bytes("in.bmp").left(100));
    ExpectFailure({path("missing.bmp"), path("out.bmp"), "none"}, 1, "\"" + path("missing.bmp") + "\"");
    ExpectFailure({path("broken.bmp"), path("out.bmp"), "none"}, 1, "\"" + path("broken.bmp") + "\"");
    const QString nowhere = path("no folder/x.bmp");
    ExpectFailure({path("in.bmp"), nowhere, "none"}, 1, "\"" + nowhere + "\"");
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST_F(OrvaneBatch, GeometryEffectsAndFilters)
{
    // in.bmp is 41 x 17 with pixel (x, y) = RGB(6 x, 15 y, 4 (x xor y)).
    const auto pixel = [](const QImage& img, int x, int y) { return test::At(img, x, y); };
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "rotate90"}).status, 0);
    QImage out = DecodePictureFile(path("out.bmp")).image;
    ASSERT_EQ(out.size(), QSize(17, 41));
    EXPECT_EQ(pixel(out, 16, 0), RGB(0, 0, 0));       // top-left went to the top-right
    EXPECT_EQ(pixel(out, 0, 0), RGB(0, 240, 64));     // bottom-left went to the top-left

    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "flip-horizontal"}).status, 0);
    EXPECT_EQ(pixel(DecodePictureFile(path("out.bmp")).image, 0, 0), RGB(240, 0, 160));
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "stained-glass", "width=10", "height=7.5"}).status, 0);
    // Rows of the cell at 7.5 are 7.5 .. 13.5 rounded: 8, 8, 10, 10, 12, 12, 14.
    EXPECT_EQ(pixel(DecodePictureFile(path("out.bmp")).image, 19, 14), RGB(60, 120, 8));   // from (10, 8)
    ASSERT_EQ(run({path("in.bmp"), path("out.bmp"), "typical", "filter=Emboss"}).status, 0);
    EXPECT_EQ(pixel(DecodePictureFile(path("out.bmp")).image, 40, 3), RGB(128, 128, 128));

    ExpectFailure({path("in.bmp"), path("out.bmp"), "stained-glass", "height=0"}, 2, "height");
    ExpectFailure({path("in.bmp"), path("out.bmp"), "typical", "filter=Blur"}, 2, "filter");
}

TEST_F(OrvaneBatch, TinyFilesThatClaimHugePicturesStayWithinAGigabyte)
{
    // An icon whose 48 entries all point at one 4000 x 4000 picture (a two-colour PNG of a few
    // KB), the last claiming the largest size (256, size bytes 0; the others 16): only the
    // entry shown is decoded, not all 48 before choosing.
    Magick::Image big(Magick::Geometry(4000, 4000), Magick::Color("white"));
    big.type(Magick::BilevelType);
    Magick::Blob png;
    big.write(&png, "PNG");
    QByteArray ico = test::Le(0, 2) + test::Le(1, 2) + test::Le(48, 2);
    for (int i = 0; i < 48; ++i) {
        const uint32_t side = i < 47 ? 16 : 0;
        ico += test::Le(side, 1) + test::Le(side, 1) + test::Le(0, 2) + test::Le(1, 2) + test::Le(32, 2) +
               test::Le(uint32_t(png.length()), 4) + test::Le(6 + 48 * 16, 4);
    }
    ico += QByteArray(static_cast<const char*>(png.data()), qsizetype(png.length()));
    test::WriteAll(path("many.ico"), ico);
    test::WriteAll(path("huge.wmf"), test::MakeWmf(20000, 32000, 72));
    test::WriteAll(path("square.wmf"), test::MakeWmf(16000, 16000, 72));   // within 16384 a side, 256 million pixels
    test::WriteAll(path("huge.gif"), test::GifClaiming(20000, 20000));
    test::WriteAll(path("wide.gif"), test::GifClaiming(32769, 1));

    const struct { const char* file; int status; const char* message; } cases[] = {
        {"many.ico", 0, ""},
        {"huge.wmf", 1, "the picture would be drawn too large (20000 pixels wide; at most 16384)."},
        {"square.wmf", 1, "the picture would be drawn too large (16000 x 16000 pixels; a file of this size may hold at most 67 million)."},
        {"huge.gif", 1, "the picture is too large (20000 x 20000 pixels; a file of this size may hold at most 67 million)."},
        {"wide.gif", 1, "the picture is too large (32769 pixels wide; at most 32768)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_LT(QFileInfo(path(c.file)).size(), 16 * 1024);
        const BatchRun r = run({path(c.file), path("out.bmp"), "none"}, rlim_t{1} << 30);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        if (c.status == 0) continue;
        EXPECT_EQ(r.err.toStdString(), ("orvane-batch: Cannot open \"" + path(c.file) + "\": " + c.message + "\n").toStdString());
    }
    const QByteArray out = bytes("out.bmp");
    ASSERT_GE(out.size(), 26);
    EXPECT_EQ(out.mid(18, 8), test::Le(4000, 4) + test::Le(4000, 4));   // the icon's picture, whole
}

TEST_F(OrvaneBatch, DamagedMetafilesPrintOnlyTheOneLineMessage)
{
    // The header claims records of at most 3 words, the rectangle has 7: the metafile library
    // reports it on both standard output and standard error.
    test::WriteAll(path("damaged.wmf"), test::MakeWmf(200, 100, 72, 3));
    test::WriteAll(path("cut.wmf"), test::MakeWmf(200, 100, 72).left(50));
    for (const char* file : {"damaged.wmf", "cut.wmf"}) {
        SCOPED_TRACE(file);
        const BatchRun r = run({path(file), path("out.bmp"), "none"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, QByteArray());
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("orvane-batch: Cannot open \"" + path(file) + "\": ")) << r.err.toStdString();
    }
    // A sound one still opens.
    test::WriteAll(path("sound.wmf"), test::MakeWmf(200, 100, 72));
    const BatchRun r = run({path("sound.wmf"), path("out.bmp"), "none"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray());
}

TEST_F(OrvaneBatch, OutputsAreWrittenThroughLinksAndOnlyIntoRegularFiles)
{
    const QString in = path("in.bmp");
    // A relative link into another folder: the file it leads to is replaced and keeps its
    // permissions; the link stays a link; no temporary file is left in either folder.
    QDir(dir.path()).mkdir("pictures");
    test::WriteAll(path("pictures/target.bmp"), "old");
    QFile::setPermissions(path("pictures/target.bmp"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_EQ(::symlink("pictures/target.bmp", QFile::encodeName(path("link.bmp")).constData()), 0);
    BatchRun r = run({in, path("link.bmp"), "none"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(path("link.bmp")).symLinkTarget(), path("pictures/target.bmp"));
    EXPECT_EQ(bytes("pictures/target.bmp"), bytes("in.bmp"));
    EXPECT_EQ(QFile::permissions(path("pictures/target.bmp")),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    EXPECT_EQ(files(path("pictures")), QStringList{"target.bmp"});

    // A link to a file that does not exist yet creates it.
    ASSERT_EQ(::symlink("pictures/new.bmp", QFile::encodeName(path("dangling.bmp")).constData()), 0);
    ASSERT_EQ(run({in, path("dangling.bmp"), "none"}).status, 0);
    EXPECT_EQ(bytes("pictures/new.bmp"), bytes("in.bmp"));
    EXPECT_TRUE(QFileInfo(path("dangling.bmp")).isSymLink());

    // What is no regular file is refused and stays as it was.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.bmp")).constData(), 0600), 0);
    QDir(dir.path()).mkdir("folder.bmp");
    ASSERT_EQ(::symlink("folder.bmp", QFile::encodeName(path("to-folder.bmp")).constData()), 0);
    ASSERT_EQ(::symlink("/dev/null", QFile::encodeName(path("to-device.bmp")).constData()), 0);
    ASSERT_EQ(::symlink("circle-b.bmp", QFile::encodeName(path("circle-a.bmp")).constData()), 0);
    ASSERT_EQ(::symlink("circle-a.bmp", QFile::encodeName(path("circle-b.bmp")).constData()), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = QFile::encodeName(path("socket.bmp"));
    ASSERT_LT(size_t(socketPath.size()), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const struct { const char* name; const char* reason; } refused[] = {
        {"pipe.bmp", "it is a named pipe, not a file"},
        {"folder.bmp", "a folder of that name exists"},
        {"to-folder.bmp", "a folder of that name exists"},
        {"to-device.bmp", "it is a device, not a file"},
        {"socket.bmp", "it is a socket, not a file"},
        {"circle-a.bmp", "its symbolic links lead round in a circle"},
    };
    const QStringList before = files(dir.path());
    for (const auto& k : refused) {
        SCOPED_TRACE(k.name);
        r = run({in, path(k.name), "none"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "orvane-batch: Cannot save \"" + path(k.name) + "\": " + k.reason + ".\n");
    }
    ::close(sock);
    EXPECT_EQ(files(dir.path()), before);
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(path("pipe.bmp")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST_F(OrvaneBatch, AFailingFsyncFailsTheSaveAndKeepsTheOldFile)
{
    test::WriteAll(path("out.bmp"), "old picture");
    const BatchRun r = run({path("in.bmp"), path("out.bmp"), "none"}, 0, ORVANE_FAILING_FSYNC);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "orvane-batch: Cannot save \"" + path("out.bmp") + "\": Input/output error.\n");
    EXPECT_EQ(bytes("out.bmp"), "old picture");
    EXPECT_EQ(files(dir.path()), QStringList({"in.bmp", "out.bmp"}));
}

} // namespace orv
