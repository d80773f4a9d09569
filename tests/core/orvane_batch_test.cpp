#include "effects/effect_catalog.h"
#include "orvane_version.h"
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
#include "tests/support/jpeg_tables.h"
#include "tests/support/test_pictures.h"

namespace orv {

namespace {

struct BatchRun { int status = -1; QString err; QByteArray out; };

// in.bmp: 41 x 17 with pixel (x, y) = RGB(6 x, 15 y, 4 (x xor y)).
ColorRef InputAt(int x, int y) { return RGB(x * 6, y * 15, (x ^ y) * 4); }

QImage InputPicture()
{
    QImage picture = NewPixelBuffer(41, 17, 0);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 41; ++x) test::Put(picture, x, y, InputAt(x, y));
    return picture;
}

class OrvaneBatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QString error;
        ASSERT_TRUE(EncodeBmp24(InputPicture(), path("in.bmp"), &error));
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
    // Runs EFFECT ARGS from in.bmp to out.bmp, which it expects to succeed, and reads out.bmp.
    QImage out(const QStringList& effect) const
    {
        const BatchRun r = run(QStringList{path("in.bmp"), path("out.bmp")} + effect);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return DecodePictureFile(path("out.bmp")).image;
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
    // An EFFECT ARGS line from in.bmp to out.bmp refused as bad usage.
    void ExpectRefused(const QStringList& effect, const QString& culprit)
    {
        ExpectFailure(QStringList{path("in.bmp"), path("out.bmp")} + effect, 2, culprit);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(OrvaneBatch, NoneCopiesABitmapByteForByteAndThroughPngLosesNothingAndTimeReportsTheRun)
{
    // --time reports the effect run, and is the only thing on standard error.
    const BatchRun r = run({"--time", path("in.bmp"), path("out.bmp"), "none"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(QRegularExpression("^effect_ms=[0-9]+\\.[0-9]{3}\n$").match(r.err).hasMatch()) << r.err.toStdString();
    EXPECT_EQ(bytes("out.bmp"), bytes("in.bmp"));
    // Bitmap to PNG and back to a bitmap: the same bytes as the first bitmap.
    ASSERT_EQ(run({path("in.bmp"), path("out.png"), "none"}).status, 0);
    EXPECT_EQ(bytes("out.png").left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    const BatchRun back = run({path("out.png"), path("back.bmp"), "none"});
    EXPECT_EQ(back.status, 0) << back.err.toStdString();
    EXPECT_EQ(back.err, "");
    EXPECT_EQ(bytes("back.bmp"), bytes("in.bmp"));
}

TEST_F(OrvaneBatch, JpegOutputTakesTheQualityOption)
{
    // Quality q scales the first luminance step 16 of the standard table by 200 - 2q percent.
    // A name ending in .jpeg is a JPEG too.
    const struct { QStringList options; const char* name; int lumaDc; } cases[] = {
        {{}, "out.JPG", 5}, {{"--quality=40"}, "out.JPG", 20}, {{"--quality=40"}, "out.Jpeg", 20}};
    for (const auto& c : cases) {
        const BatchRun r = run(c.options + QStringList{path("in.bmp"), path(c.name), "none"});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(test::LumaDcStep(bytes(c.name)), c.lumaDc) << c.name;
    }
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
    ExpectFailure({in, path("out.gif"), "none"}, 2, "out.gif");
    ExpectFailure({in, path("out"), "none"}, 2, "out");
}

TEST_F(OrvaneBatch, HelpAndVersionPrintOnStandardOutputAndExitWithZero)
{
    for (const QStringList& args : {QStringList{"--version"}, QStringList{"--quality=999", "in", "out", "blur", "--version"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const BatchRun version = run(args);
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.err, "");
        EXPECT_EQ(version.out, "orvane-batch (Orvane) " ORVANE_VERSION_TEXT "\n");
    }

    // --help wins over everything else on the line, even a command that would be refused.
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"--time", "in", "out", "blur", "--help", "--version"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const BatchRun help = run(args);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err, "");
        const QString text = QString::fromUtf8(help.out);
        EXPECT_TRUE(text.startsWith("usage: orvane-batch [--time] [--quality=N] INPUT OUTPUT EFFECT")) << help.out.data();
        for (const QString& line : text.split('\n')) EXPECT_LE(line.size(), 79) << line.toStdString();
        // Every effect starts a line of its own, followed by each of its parameters.
        for (const BatchEffect& effect : BatchEffects()) {
            const qsizetype at = text.indexOf(QRegularExpression("\n  " + QRegularExpression::escape(effect.name) + "( |\n)"));
            ASSERT_GE(at, 0) << effect.name.toStdString();
            const QString own = text.mid(at + 1, text.indexOf(QRegularExpression("\n  [a-z]"), at + 1) - at - 1);
            for (const QString& param : effect.params)
                EXPECT_TRUE(own.simplified().contains(param)) << own.toStdString() << " lacks " << param.toStdString();
        }
    }
}

// The parameters --help shows are the ones each effect reads: every name is accepted, every
// listed word and both ends of every range are accepted and one past either end refused, a
// parameter given its shown default gives the same picture as leaving it out, and one shown
// without a default is needed.
TEST_F(OrvaneBatch, HelpShowsTheParametersAndDefaultsTheEffectsRead)
{
    const QRegularExpression item("^([a-z0-9]+)=(\\S+)(?: \\((\\S+)\\))?$");
    const QRegularExpression range("^(-?[0-9]+)\\.\\.(-?[0-9]+)$");
    int ranges = 0, defaults = 0;
    for (const BatchEffect& effect : BatchEffects()) {
        SCOPED_TRACE(effect.name.toStdString());
        if (effect.params.isEmpty()) {
            EXPECT_FALSE(effect.check);
            continue;
        }
        EffectParams needed;   // a picture file wherever one is needed
        for (const QString& param : effect.params)
            if (param.endsWith("=PATH")) needed.insert(param.chopped(5), path("in.bmp"));
        QString error;
        ASSERT_TRUE(effect.check(needed, &error)) << error.toStdString();
        const auto with = [&](const QString& name, const QString& value) {
            EffectParams p = needed;
            if (value.isNull()) p.remove(name);
            else p.insert(name, value);
            return p;
        };
        const auto accepts = [&](const QString& name, const QString& value) { return effect.check(with(name, value), &error); };
        const auto result = [&](const EffectParams& p) {
            QImage img = InputPicture();
            EXPECT_TRUE(effect.run(img, p, nullptr, &error)) << error.toStdString();
            return img;
        };
        EXPECT_FALSE(accepts("nosuch", "1"));
        for (const QString& param : effect.params) {
            SCOPED_TRACE(param.toStdString());
            const QRegularExpressionMatch m = item.match(param);
            ASSERT_TRUE(m.hasMatch());
            const QString name = m.captured(1), values = m.captured(2), fallback = m.captured(3);
            if (values == "PATH") {
                EXPECT_FALSE(accepts(name, QString()));
                continue;
            }
            for (const QString& word : values.contains('|') ? values.split('|') : QStringList())
                EXPECT_TRUE(accepts(name, word)) << error.toStdString();
            if (const QRegularExpressionMatch r = range.match(values); r.hasMatch()) {
                const int lo = r.captured(1).toInt(), hi = r.captured(2).toInt();
                EXPECT_TRUE(accepts(name, QString::number(lo)) && accepts(name, QString::number(hi))) << error.toStdString();
                EXPECT_FALSE(accepts(name, QString::number(lo - 1)) || accepts(name, QString::number(hi + 1)));
                ++ranges;
            }
            ASSERT_FALSE(fallback.isEmpty());
            EXPECT_TRUE(accepts(name, fallback)) << error.toStdString();
            EXPECT_EQ(result(with(name, fallback)), result(needed));
            ++defaults;
        }
    }
    EXPECT_GE(ranges, 6);
    EXPECT_GE(defaults, 30);
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
    // A folder that exists but takes no files (the system refuses files in /proc even to root).
    ExpectFailure({path("in.bmp"), "/proc/x.bmp", "none"}, 1,
                  "Cannot save \"/proc/x.bmp\": the folder \"/proc\" cannot be written.");
}

// One hand-worked result per group of effects through the command, and the refusals of bad
// values with their status, one line naming the parameter and OUTPUT left as it was. The
// pixels of each effect are checked by its kernel's own tests.
TEST_F(OrvaneBatch, EachEffectGroupGivesItsHandWorkedPixelsAndRefusesBadValues)
{
    const QImage turned = out({"rotate90"});
    ASSERT_EQ(turned.size(), QSize(17, 41));
    EXPECT_EQ(test::At(turned, 16, 0), RGB(0, 0, 0));       // top-left went to the top-right
    EXPECT_EQ(test::At(turned, 0, 0), RGB(0, 240, 64));     // bottom-left went to the top-left
    // Rows of the cell at 7.5 are 7.5 .. 13.5 rounded: 8, 8, 10, 10, 12, 12, 14.
    EXPECT_EQ(test::At(out({"stained-glass", "width=10", "height=7.5"}), 19, 14), RGB(60, 120, 8));   // from (10, 8)
    // Top to bottom, black to white: 13 bands of 255 / 13 = 19.615: row 1 is 20; rows 15, 16
    // and columns 39, 40 stay.
    QImage img = out({"gradient", "from=0", "to=16777215"});
    EXPECT_EQ(test::At(img, 38, 1), RGB(20, 20, 20));
    EXPECT_EQ(test::At(img, 5, 15), RGB(30, 225, 40));
    // Picture B (a file read by the command) where x + y is even at mix level 50 of 100.
    QString error;
    ASSERT_TRUE(EncodeBmp24(NewPixelBuffer(41, 17, 0xFF0000), path("blue.bmp"), &error));
    img = out({"mix", "file=" + path("blue.bmp"), "level=50"});
    EXPECT_EQ(test::At(img, 10, 4), 0xFF0000);
    EXPECT_EQ(test::At(img, 9, 4), InputAt(9, 4));

    QFile::copy(path("in.bmp"), path("out.bmp"));
    const QString missing = path("missing.bmp");
    const std::pair<QStringList, QString> refused[] = {
        {{"stained-glass", "height=0"}, "height"},         {{"typical", "filter=Blur"}, "filter"},
        {{"grid", "width=wide"}, "width"},                 {{"gradient", "from=16777216"}, "from"},
        {{"fill-image"}, "file"},                          {{"insert-image", "file=" + missing}, missing},
        {{"insert-image", "file=" + path("blue.bmp"), "key=red"}, "key"},
        {{"mix", "file=" + path("blue.bmp"), "max=0"}, "max"},
        {{"circlize", "xstep=0"}, "xstep"},                {{"drip", "direction=sideways"}, "direction"},
        {{"video-feedback", "step=abc"}, "step"},
    };
    for (const auto& [effect, culprit] : refused) ExpectRefused(effect, culprit);
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
    test::WriteAll(path("square.wmf"), test::MakeWmf(16000, 16000, 72));   // within 16384 a side, 256 million pixels
    test::WriteAll(path("huge.gif"), test::GifClaiming(20000, 20000));

    const struct { const char* file; int status; const char* message; } cases[] = {
        {"many.ico", 0, ""},
        {"square.wmf", 1, "the picture would be drawn too large (16000 x 16000 pixels; a file of this size may hold at most 67 million)."},
        {"huge.gif", 1, "the picture is too large (20000 x 20000 pixels; a file of this size may hold at most 67 million)."},
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
    // As input the pipe is refused at once rather than waited on.
    r = run({path("pipe.bmp"), path("out.bmp"), "none"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("it is a named pipe, not a picture file")) << r.err.toStdString();
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
