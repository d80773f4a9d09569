#include "documents/image_loader.h"
#include "shell/file_names.h"
#include <Magick++.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include "tests/support/test_pictures.h"

namespace orv {

namespace {

using test::ReadAll;
const QString kWx = QStringLiteral("/usr/share/doc/wx3.2-examples/examples/samples/");
const QString kSdl = QStringLiteral("/usr/libexec/installed-tests/SDL2_image/");
const QString kWmf = QStringLiteral(ORVANE_SHARED_TESTDATA "/wmf/");

using test::Le;

// Appends each value as little-endian bytes of the given count.
void Put(QByteArray& b, std::initializer_list<std::pair<uint64_t, int>> fields)
{
    for (auto [v, bytes] : fields) b += Le(v, bytes);
}
uint32_t Bgr(ColorRef c) { return BlueOf(c) | GreenOf(c) << 8 | RedOf(c) << 16; }

uint32_t PixelAt(const Canvas& c, int x, int y)
{
    return reinterpret_cast<const uint32_t*>(c.buffer().constScanLine(y))[x];
}

// Loads through the loader the file's ending picks.
QString LoadAny(Canvas& c, const QString& file)
{
    return LoaderFor(file) == PictureLoader::Picture ? LoadPicture(c, file) : LoadImageFile(c, file);
}

// A Windows bitmap built byte by byte. `value` gives each pixel's colour (24 and 32 bits,
// uncompressed) or palette index (compression 1 is RLE8, 2 is RLE4: each row starts with four
// pixels in absolute mode, then runs of one index).
QByteArray MakeBmp(int w, int h, int bits, bool topDown, int compression,
                   const std::vector<ColorRef>& palette, const std::function<int(int, int)>& value)
{
    QByteArray pixels;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        if (compression == 0) {   // 24 or 32 bits (a 32-bit pixel's fourth byte 0)
            QByteArray line;
            for (int x = 0; x < w; ++x) Put(line, {{Bgr(value(x, y)), bits / 8}});
            pixels += line + QByteArray((4 - line.size() % 4) % 4, '\0');
            continue;
        }
        // Absolute mode for x 0..3: 0, count, the indices (two a byte for RLE4), padded to a word.
        pixels += QByteArray("\0\4", 2);
        if (compression == 1) {
            for (int x = 0; x < 4; ++x) pixels += char(value(x, y));
        } else {
            pixels += char(value(0, y) << 4 | value(1, y));
            pixels += char(value(2, y) << 4 | value(3, y));
        }
        for (int x = 4; x < w;) {
            const int v = value(x, y);
            int n = 1;
            while (x + n < w && n < 255 && value(x + n, y) == v) ++n;
            pixels += char(n);
            pixels += char(compression == 1 ? v : (v << 4 | v));
            x += n;
        }
        pixels += QByteArray("\0\0", 2);   // end of line
    }
    if (compression) pixels += QByteArray("\0\1", 2);   // end of bitmap

    QByteArray info;
    Put(info, {{40, 4}, {uint32_t(w), 4}, {uint32_t(topDown ? -h : h), 4}, {1, 2}, {uint32_t(bits), 2},
               {uint32_t(compression), 4}, {uint32_t(pixels.size()), 4}, {2835, 4}, {2835, 4},
               {uint32_t(palette.size()), 4}, {0, 4}});
    for (ColorRef c : palette) Put(info, {{Bgr(c), 4}});
    QByteArray file("BM");
    Put(file, {{uint32_t(14 + info.size() + pixels.size()), 4}, {0, 4}, {uint32_t(14 + info.size()), 4}});
    return file + info + pixels;
}

// A Targa file of `type` (1 colour-mapped, 2 true colour, 3 grey; 8 added for run-length)
// with `bits` a pixel; `pixel(x, y)` gives each pixel's stored bytes. The rows run from the
// corner the descriptor names: bit 4 right to left, bit 5 top down. Run-length rows hold a run
// packet for every stretch of equal pixels and raw packets between; no packet crosses a row.
QByteArray MakeTargaFile(int type, int bits, int w, int h, int descriptor, const QByteArray& colourMap,
                         int colourEntries, const std::function<QByteArray(int, int)>& pixel)
{
    QByteArray t;
    Put(t, {{0, 1}, {colourEntries ? 1u : 0u, 1}, {uint32_t(type), 1}, {0, 2}, {uint32_t(colourEntries), 2},
            {colourEntries ? 24u : 0u, 1}, {0, 4}, {uint32_t(w), 2}, {uint32_t(h), 2}, {uint32_t(bits), 1},
            {uint32_t(descriptor), 1}});
    t += colourMap;
    for (int row = 0; row < h; ++row) {
        const int y = descriptor & 0x20 ? row : h - 1 - row;
        std::vector<QByteArray> stored;
        for (int i = 0; i < w; ++i) stored.push_back(pixel(descriptor & 0x10 ? w - 1 - i : i, y));
        if (type < 8) {
            for (const QByteArray& p : stored) t += p;
            continue;
        }
        for (size_t i = 0; i < stored.size();) {
            size_t n = 1;
            if (i + 1 < stored.size() && stored[i + 1] == stored[i]) {
                while (i + n < stored.size() && n < 128 && stored[i + n] == stored[i]) ++n;
                Put(t, {{0x80u | uint32_t(n - 1), 1}});
                t += stored[i];
            } else {
                while (i + n < stored.size() && n < 128 && !(i + n + 1 < stored.size() && stored[i + n + 1] == stored[i + n])) ++n;
                Put(t, {{uint32_t(n - 1), 1}});
                for (size_t k = i; k < i + n; ++k) t += stored[k];
            }
            i += n;
        }
    }
    return t;
}

// An icon file holding one 24-bit picture a size, each entry a bitmap of twice the height
// (colour rows, then the all-opaque mask rows).
QByteArray MakeIco(const std::vector<std::pair<QSize, ColorRef>>& pictures)
{
    QByteArray header, dir, data;
    Put(header, {{0, 2}, {1, 2}, {uint32_t(pictures.size()), 2}});
    const int dataStart = 6 + 16 * int(pictures.size());
    for (const auto& [size, colour] : pictures) {
        const int w = size.width(), h = size.height();
        QByteArray bmp;
        Put(bmp, {{40, 4}, {uint32_t(w), 4}, {uint32_t(2 * h), 4}, {1, 2}, {24, 2}, {0, 4}, {0, 4}, {0, 4}, {0, 4}, {0, 4}, {0, 4}});
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) Put(bmp, {{Bgr(colour), 3}});
            bmp += QByteArray(((w * 3 + 3) & ~3) - w * 3, '\0');
        }
        bmp += QByteArray(((w + 31) / 32) * 4 * h, '\0');
        Put(dir, {{uint32_t(w & 0xFF), 1}, {uint32_t(h & 0xFF), 1}, {0, 2}, {1, 2}, {24, 2},
                  {uint32_t(bmp.size()), 4}, {uint32_t(dataStart + data.size()), 4}});
        data += bmp;
    }
    return header + dir + data;
}

// Two-tone test picture in 8 x 8 blocks, so that JPEG gives back each block's colour closely.
ColorRef Blocks(int x, int y)
{
    return ((x / 8 + y / 8) & 1) ? RGB(220, 40, 30) : RGB(20, 90, 200);
}

class ImageLoader : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const
    {
        test::WriteAll(path(name), bytes);
        return path(name);
    }
    QString writeMagick(const QString& name, Magick::Image image) const
    {
        const QString ext = name.section('.', -1).toUpper();
        image.write(((ext == "JIF" ? QStringLiteral("JPEG") : ext) + ":" + path(name)).toStdString());
        return path(name);
    }
    // Loads into a canvas as a new document has it.
    Canvas load(const QString& file, ColorRef back = 0xFFFFFF)
    {
        Canvas c(50, 40, back);
        c.setAutoSize(true);
        const QString error = LoadAny(c, file);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return c;
    }
    void expectPixels(const Canvas& c, int w, int h, const std::function<ColorRef(int, int)>& expected, int tolerance = 0)
    {
        ASSERT_EQ(c.pixelWidth(), w);
        ASSERT_EQ(c.pixelHeight(), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const ColorRef got = FromPixel(PixelAt(c, x, y)), want = expected(x, y);
                ASSERT_EQ(PixelAt(c, x, y) >> 24, 0xFFu);
                for (int s : {0, 8, 16}) ASSERT_NEAR(int(got >> s & 0xFF), int(want >> s & 0xFF), tolerance) << x << "," << y;
            }
    }
    static Magick::Image MagickOf(int w, int h, const std::function<ColorRef(int, int)>& colour)
    {
        std::vector<uint8_t> rgb;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) rgb.insert(rgb.end(), {uint8_t(RedOf(colour(x, y))), uint8_t(GreenOf(colour(x, y))), uint8_t(BlueOf(colour(x, y)))});
        return Magick::Image(w, h, "RGB", Magick::CharPixel, rgb.data());
    }
    static void requireSample(const QString& file)
    {
        if (!QFile::exists(file)) GTEST_SKIP() << file.toStdString() << " is not installed";
    }

    QTemporaryDir dir;
};

} // namespace

TEST(ImageLoaderTable, TheLastThreeCharactersLowerCasedPickTheLoader)
{
    // ".jpeg" ends in "peg"; "/a/bmp" ends in "bmp".
    for (const char* p : {"/a/b.gif", "/a/b.IcO", "/a/B.PNG", "/a/bmp"}) EXPECT_EQ(LoaderFor(p), PictureLoader::Picture) << p;
    for (const char* p : {"b.TGA", "b.jif", "b.rle", "/p/photo.JPG"}) EXPECT_EQ(LoaderFor(p), PictureLoader::ImageFile) << p;
    for (const char* p : {"a.jpeg", "a.apng2", "bm", ""}) EXPECT_EQ(LoaderFor(p), PictureLoader::None) << p;
    EXPECT_EQ(UnsupportedTypeError("/p/x.jpeg").left(34), "Cannot open \"/p/x.jpeg\": Orvane ca");
}

TEST(ImageLoaderTable, OpenDialogFiltersFileNamesAndCommandLinePaths)
{
    EXPECT_EQ(DialogNameFilters("Bitmap (*.bmp)|*.bmp;*.dib|All files (*.*)|*.*||"),
              QStringList({"Bitmap (*.bmp) (*.bmp *.dib)", "All files (*.*) (*)"}));
    for (auto [path, name] : {std::pair{"/a b/c d.bmp", "c d.bmp"}, {"photo.jpg", "photo.jpg"}, {"/pics/", ""}})
        EXPECT_EQ(GetFileName(path), name) << path;
    QTemporaryDir d;
    QFile(d.filePath("p.bmp")).open(QIODevice::WriteOnly);
    EXPECT_TRUE(FileExists(d.filePath("p.bmp")));
    EXPECT_FALSE(FileExists(d.path()));
    EXPECT_FALSE(FileExists(d.filePath("none.bmp")));
    EXPECT_EQ(GetLongFileName(""), "");
    EXPECT_EQ(GetLongFileName("no such thing.bmp"), "no such thing.bmp");
    EXPECT_EQ(GetLongFileName(d.path()), d.path());
    const QString before = QDir::currentPath();
    QDir::setCurrent(d.path());
    EXPECT_EQ(GetLongFileName("p.bmp"), d.filePath("p.bmp"));
    QDir::setCurrent(before);
}

TEST_F(ImageLoader, BitmapsOfEachDecoderAndRowOrder)
{
    // Palette depths other than run-length ones are the picture library's own decoding before
    // the one pixel copy these reach too.
    std::vector<ColorRef> sixteen, many;
    for (int i = 0; i < 16; ++i) sixteen.push_back(RGB(i * 16, 255 - i * 16, (i * 40) & 255));
    for (int i = 0; i < 200; ++i) many.push_back(RGB(i, (i * 7) & 255, 255 - i));
    const auto index = [](int n) { return [n](int x, int y) { return (x / 3 + y) % n; }; };
    const auto colour = [](int x, int y) { return RGB(x * 9, y * 13, (x * y) & 255); };
    const std::vector<ColorRef> none;
    const struct { const char* name; int bits; bool topDown; int compression; const std::vector<ColorRef>& palette; } cases[] = {
        {"24-bit", 24, false, 0, none}, {"24-bit top-down", 24, true, 0, none}, {"32-bit", 32, false, 0, none},
        {"RLE8", 8, false, 1, many},    {"RLE4", 4, false, 2, sixteen}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int w = 21, h = 13, colours = int(c.palette.size());
        const auto value = colours ? index(colours) : std::function<int(int, int)>(colour);
        const QByteArray bytes = MakeBmp(w, h, c.bits, c.topDown, c.compression, c.palette, value);
        const auto expected = [&](int x, int y) { return colours ? c.palette[value(x, y)] : ColorRef(value(x, y)); };
        // The same bytes under every bitmap ending, through both loaders.
        for (const char* ext : {"bmp", "rle", "dib"}) expectPixels(load(write(QStringLiteral("b.") + ext, bytes)), w, h, expected);
    }
}

TEST_F(ImageLoader, IconsGiveTheirLargestPicture)
{
    const QString ico = write("i.ico", MakeIco({{QSize(16, 16), RGB(255, 0, 0)}, {QSize(48, 32), RGB(0, 0, 255)},
                                               {QSize(32, 32), RGB(0, 255, 0)}}));
    expectPixels(load(ico), 48, 32, [](int, int) { return RGB(0, 0, 255); });
}

TEST_F(ImageLoader, DamagedHeadersNameTheirFault)
{
    const QByteArray good = MakeIco({{QSize(16, 16), RGB(255, 0, 0)}, {QSize(32, 32), RGB(0, 0, 255)}});
    const auto put32 = [](QByteArray b, int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char(v >> (8 * i));
        return b;
    };
    const int second = 6 + 16;   // the second directory entry: size at 8, offset at 12
    QByteArray cutTarga = MakeTargaFile(11, 16, 4, 3, 8, {}, 0, [](int x, int) { return Le(x * 10, 1) + Le(255, 1); });
    cutTarga.chop(3);   // grey with alpha, run-length
    const struct { const char* how; QByteArray file; const char* reason; } cases[] = {
        {"offset beyond the end", put32(good, second + 12, uint32_t(good.size())), "the file is damaged (the data of picture 2 lies outside the file)"},
        {"size beyond the end", put32(good, second + 8, uint32_t(good.size())), "the file is damaged (the data of picture 2 lies outside the file)"},
        {"offset inside the directory", put32(good, 6 + 12, 10), "the file is damaged (the data of picture 1 lies outside the file)"},
        {"offset and size wrapping round", put32(put32(good, second + 12, 0xFFFFFFF0u), second + 8, 0x20), "the file is damaged (the data of picture 2 lies outside the file)"},
        {"directory cut short", good.left(30), "the file is damaged (its directory lists 2 pictures but ends early)"},
        {"no entries", good.left(4) + QByteArray(2, '\0'), "the file holds no picture"},
        {"Targa cut short", cutTarga, "the file is incomplete (the picture data ends early)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const QString file = write(c.file == cutTarga ? "cut.tga" : "bad.ico", c.file);
        EXPECT_EQ(ReadPictureFile(file).error, "Cannot open \"" + file + "\": " + c.reason + ".");
    }
}

TEST_F(ImageLoader, TargaOfEveryDepthFromEveryCorner)
{
    // Six values on 4 x 3 pixels, with runs and no symmetry, so a mirror or a flip shows.
    const int kIndex[3][4] = {{0, 1, 2, 2}, {3, 4, 4, 4}, {5, 5, 1, 0}};
    const auto k = [&](int x, int y) { return kIndex[y][x]; };
    // Colours whose channels 5 bits hold exactly: 0, 16 (132) and 31 (255).
    const ColorRef colours[6] = {RGB(255, 0, 0), RGB(0, 132, 0), RGB(0, 0, 255), RGB(255, 255, 0), RGB(0, 132, 255), RGB(132, 0, 255)};
    const int greys[6] = {0, 40, 90, 140, 200, 255};
    const int alphas[6] = {255, 255, 255, 255, 128, 0};
    // Onto white, alpha 128 keeps 128/255: grey 200 -> 227.4; (0, 132, 255) -> (127, 193.3, 255).
    const ColorRef composedGrey[6] = {RGB(0, 0, 0), RGB(40, 40, 40), RGB(90, 90, 90), RGB(140, 140, 140), RGB(227, 227, 227), RGB(255, 255, 255)};
    const ColorRef composedColour[6] = {colours[0], colours[1], colours[2], colours[3], RGB(127, 193, 255), RGB(255, 255, 255)};
    const auto five = [](int v) { return uint32_t(v == 255 ? 31 : v == 132 ? 16 : 0); };
    QByteArray map;
    for (ColorRef c : colours) map += Le(Bgr(c), 3);

    const struct {
        const char* name;
        int type, bits, alphaBits;
        std::function<QByteArray(int)> stored;   // the bytes of pixel value k
        std::function<ColorRef(int)> expected;
        bool colourMapped;
    } cases[] = {
        {"grey 8", 3, 8, 0, [&](int i) { return Le(greys[i], 1); }, [&](int i) { return RGB(greys[i], greys[i], greys[i]); }, false},
        {"grey 16 with alpha", 3, 16, 8, [&](int i) { return Le(greys[i], 1) + Le(alphas[i], 1); }, [&](int i) { return composedGrey[i]; }, false},
        {"colour-mapped 8", 1, 8, 0, [&](int i) { return Le(i, 1); }, [&](int i) { return colours[i]; }, true},
        {"true colour 16", 2, 16, 0,
         [&](int i) { return Le(five(RedOf(colours[i])) << 10 | five(GreenOf(colours[i])) << 5 | five(BlueOf(colours[i])), 2); },
         [&](int i) { return colours[i]; }, false},
        {"true colour 24", 2, 24, 0, [&](int i) { return Le(Bgr(colours[i]), 3); }, [&](int i) { return colours[i]; }, false},
        {"true colour 32", 2, 32, 8, [&](int i) { return Le(Bgr(colours[i]) | uint32_t(alphas[i]) << 24, 4); },
         [&](int i) { return composedColour[i]; }, false},
    };
    const struct { const char* name; int bits; } corners[] = {
        {"bottom left", 0x00}, {"bottom right", 0x10}, {"top left", 0x20}, {"top right", 0x30}};
    for (const auto& c : cases)
        for (bool rle : {false, true})
            for (const auto& corner : corners) {
                SCOPED_TRACE(std::string(c.name) + (rle ? " rle " : " raw ") + corner.name);
                const QByteArray file = MakeTargaFile(c.type + (rle ? 8 : 0), c.bits, 4, 3, corner.bits | c.alphaBits,
                                                      c.colourMapped ? map : QByteArray(), c.colourMapped ? 6 : 0,
                                                      [&](int x, int y) { return c.stored(k(x, y)); });
                const DecodedPicture d = ReadPictureFile(write("t.tga", file));
                ASSERT_TRUE(d.ok()) << d.error.toStdString();
                ASSERT_EQ(d.image.size(), QSize(4, 3));
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < 4; ++x) EXPECT_EQ(test::At(d.image, x, y), c.expected(k(x, y))) << x << "," << y;
            }
}

TEST_F(ImageLoader, MetafilesOpenAtTheirNaturalSize)
{
    const struct { const char* name; int w, h; } drawings[] = {
        {"beef", 202, 157}, {"vegetable", 675, 472}};
    for (const auto& d : drawings) {
        SCOPED_TRACE(d.name);
        const QString file = kWmf + d.name + ".wmf";
        if (!QFile::exists(file)) GTEST_SKIP() << "no metafile samples";
        const Canvas c = load(file, RGB(0, 255, 255));
        ASSERT_EQ(c.pixelWidth(), d.w);
        ASSERT_EQ(c.pixelHeight(), d.h);
        // A drawing, not an empty or single-coloured area.
        int differing = 0;
        for (int y = 0; y < d.h; ++y)
            for (int x = 0; x < d.w; ++x) differing += PixelAt(c, x, y) != PixelAt(c, 0, 0);
        EXPECT_GT(differing, d.w * d.h / 20);
    }
}

TEST_F(ImageLoader, SampleFilesOfTheDesktopPackages)
{
    // The horse in four formats holds the same 256 colours as Qt's own GIF reader gives them,
    // the small sample equals its PNG.
    const struct { QString folder, reference; std::vector<const char*> same; } sets[] = {
        {kWx + "image/", "horse.gif", {"horse.bmp", "horse.gif", "horse.pcx", "horse.tga"}},
        {kSdl, "sample.png", {"sample.bmp", "sample.ico", "sample.pcx", "sample.tga"}}};
    for (const auto& set : sets) {
        requireSample(set.folder + set.same[0]);
        const QImage reference = QImage(set.folder + set.reference).convertToFormat(kPixelFormat);
        for (const char* f : set.same) {
            SCOPED_TRACE(f);
            EXPECT_EQ(load(set.folder + f).buffer(), reference);
        }
    }
    EXPECT_EQ(load(kWx + "image/horse.ico").buffer().size(), QSize(32, 32));   // of 32 x 32 and 16 x 16
}

TEST_F(ImageLoader, LoadImageFileClearsAndSizesTheTargetOrLeavesItCleared)
{
    Canvas target(30, 20, RGB(1, 2, 3));
    target.setScaleMode(kScaleTwips);
    target.PSet(5, 5, RGB(255, 255, 255));
    const QString pcx = writeMagick("a.pcx", MagickOf(100, 50, Blocks));
    EXPECT_EQ(LoadImageFile(target, pcx), "");
    EXPECT_EQ(target.ScaleMode(), kScalePixels);
    EXPECT_FALSE(target.AutoSize());
    expectPixels(target, 100, 50, Blocks);

    target.PSet(1, 1, RGB(255, 255, 255));
    const QString broken = write("broken.tga", "not a targa");
    const QString error = LoadImageFile(target, broken);
    EXPECT_TRUE(error.startsWith("Cannot open \"" + broken + "\": ")) << error.toStdString();
    expectPixels(target, 100, 50, [](int, int) { return RGB(1, 2, 3); });

    // The picture loader leaves a canvas it cannot fill as it was.
    Canvas kept(10, 10, RGB(4, 5, 6));
    kept.PSet(2, 2, RGB(9, 9, 9));
    EXPECT_FALSE(LoadPicture(kept, path("missing.gif")).isEmpty());
    EXPECT_EQ(PixelAt(kept, 2, 2), ToPixel(RGB(9, 9, 9)));
    EXPECT_EQ(LoadImageFile(kept, path("a.jpeg")), UnsupportedTypeError(path("a.jpeg")));
}

TEST_F(ImageLoader, DamagedFilesGiveAClearErrorEveryTime)
{
    const std::vector<ColorRef> grey(16, RGB(9, 9, 9));
    const auto index = [](int x, int y) { return (x + y) % 16; };
    std::vector<QString> whole{write("w.bmp", MakeBmp(40, 30, 8, false, 1, grey, index)),
                               write("w4.rle", MakeBmp(40, 30, 4, false, 2, grey, index)),
                               write("w.tga", MakeTargaFile(10, 24, 40, 30, 0, {}, 0, [](int x, int y) { return Le(Bgr(Blocks(x, y)), 3); })),
                               write("w.ico", MakeIco({{QSize(16, 16), RGB(1, 1, 1)}, {QSize(32, 32), RGB(2, 2, 2)}}))};
    for (const char* f : {"w.gif", "w.jpg", "w.pcx"}) whole.push_back(writeMagick(f, MagickOf(40, 30, Blocks)));
    if (QFile::exists(kWmf + "fish.wmf")) whole.push_back(write("w.wmf", ReadAll(kWmf + "fish.wmf")));

    uint32_t seed = 2024;
    const auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    // A message names the file and gives a reason on one line, never with the empty "()"
    // the picture library leaves in some of its texts.
    const auto expectClear = [](const QString& error, const QString& file) {
        EXPECT_TRUE(error.startsWith("Cannot open \"" + file + "\": ")) << error.toStdString();
        EXPECT_FALSE(error.contains('\n') || error.contains("()") || error.contains("  ")) << error.toStdString();
        EXPECT_TRUE(error.endsWith('.')) << error.toStdString();
    };
    for (const QString& file : whole) {
        const QByteArray bytes = ReadAll(file);
        const QString name = QFileInfo(file).fileName();
        const QImage complete = ReadPictureFile(file).image;
        ASSERT_FALSE(complete.isNull()) << name.toStdString();
        // A cut file fails with a message naming it; only a cut that leaves every byte the
        // picture needs (a 24-bit PCX ends with an unused palette) may give the whole picture.
        const auto fails = [&](const QByteArray& damaged, const std::string& how) {
            SCOPED_TRACE(name.toStdString() + " " + how);
            const QString p = write("damaged." + name.section('.', -1), damaged);
            Canvas c(8, 8);
            c.setAutoSize(true);
            const QString error = LoadAny(c, p);
            if (error.isEmpty()) {
                EXPECT_EQ(c.buffer(), complete);
                return;
            }
            expectClear(error, p);
        };
        for (double at : {0.0, 0.02, 0.1, 0.5, 0.75, 0.9, 0.98})
            fails(bytes.left(std::max<qsizetype>(1, qsizetype(bytes.size() * at))), "cut at " + std::to_string(at));
        // Flipped bytes may still decode to some picture: it must not crash, and a failure names the file.
        for (int round = 0; round < 20; ++round) {
            QByteArray flipped = bytes;
            for (int k = 0; k < 8; ++k) flipped[next() % flipped.size()] ^= char(1 + next() % 255);
            const QString p = write("flipped." + name.section('.', -1), flipped);
            const DecodedPicture d = ReadPictureFile(p);
            if (!d.ok()) expectClear(d.error, p);
            else EXPECT_GT(d.image.width(), 0);
        }
    }
    // A bitmap whose header is garbage after "BM", and files that are not what their names say.
    QByteArray garbage = ReadAll(whole[0]);
    for (int i = 2; i < 54; ++i) garbage[i] = char(0xA5);
    const std::pair<const char*, QByteArray> misnamed[] = {
        {"header.bmp", garbage}, {"bm.gif", ReadAll(whole[0])},
        {"half.pcx", QByteArray("\x0a\x05\x01\x08", 4) + QByteArray(60, '\0')}, {"short.tga", QByteArray(10, '\x02')}};
    for (const auto& [name, content] : misnamed) {
        const DecodedPicture d = ReadPictureFile(write(name, content));
        if (!d.ok()) expectClear(d.error, path(name));
    }

    // Forged dimensions: claims far beyond the data, or zero.
    const struct { size_t file; int at; QByteArray bytes; } forged[] = {
        {0, 18, QByteArray("\xff\xff\x00\x00\xff\xff\x00\x00", 8)},   // a bitmap of 65535 x 65535
        {2, 12, "\xff\x7f"},                                              // a Targa file 32767 wide
        {2, 12, QByteArray(2, '\0')},                                      // no width
        {6, 8, "\xff\xff"},                                                // a PCX file to xmax 65535
        {3, 4, "\xff\xff"}};   // 65535 directory entries in an icon file that holds two
    for (const auto& f : forged) {
        QByteArray bytes = ReadAll(whole[f.file]);
        bytes.replace(f.at, f.bytes.size(), f.bytes);
        EXPECT_FALSE(ReadPictureFile(write("forged." + whole[f.file].section('.', -1), bytes)).ok()) << f.file << " " << f.at;
    }
}

} // namespace orv
