#include "documents/image_loader.h"
#include "documents/file_ending.h"
#include <QFile>

namespace orv {

namespace {

uint16_t Le16(const QByteArray& b, int at)
{
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

// GraphicsMagick's PCX reader fills a picture whose data ends early with black without a
// word, so the run-length data is measured first: bytesPerLine x planes x rows bytes must
// follow the 128-byte header, and a 256-colour picture ends with its 769-byte palette. The file
// is read a block at a time and only as far as the data reaches.
bool PcxDataEndsEarly(const QString& path)
{
    if (!PictureFileProblem(path).isEmpty()) return false;   // the decoder says what it is
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray h = file.read(128);
    if (h.size() < 128 || h[0] != 10) return false;   // not PCX: the decoder says so
    const int ymin = Le16(h, 6), ymax = Le16(h, 10);
    if (ymax < ymin) return false;
    const int64_t need = int64_t(Le16(h, 66)) * uint8_t(h[65]) * (ymax - ymin + 1);
    const bool rle = h[2] == 1;
    constexpr qint64 kBlockBytes = 1 << 20;
    QByteArray block;
    qsizetype pos = 0;
    const auto next = [&](uint8_t* c) {
        if (pos >= block.size()) {
            block = file.read(kBlockBytes);
            pos = 0;
            if (block.isEmpty()) return false;
        }
        *c = uint8_t(block[pos++]);
        return true;
    };
    int64_t produced = 0;
    uint8_t c = 0;
    while (produced < need) {
        if (!next(&c)) return true;
        if (rle && (c & 0xC0) == 0xC0) {
            const int64_t count = c & 0x3F;
            if (!next(&c)) return true;
            produced += count;
        } else {
            ++produced;
        }
    }
    const bool palette256 = h[1] == 5 && h[3] == 8 && h[65] == 1;
    const qint64 measured = file.pos() - (block.size() - pos);
    return palette256 && file.size() - measured < 769;
}

} // namespace

const QString kOpenPictureFilter = QStringLiteral(
    "All graphics|*.jif;*.rle;*.dib;*.gif;*.jpg;*.bmp;*.wmf;*.ico;*.pcx;*.tga;*.png|GIF Files (*.gif)|*.gif|"
    "Bitmap files (*.bmp, *.rle, *.dib)|*.bmp;*.rle;*.dib|JPEG Files (*.jpg, *.jif)|*.jpg;*.jif|"
    "Targa files (*.tga)|*.tga|PCX file (*.pcx)|*.pcx|Windows metafile (*.wmf)|*.wmf|"
    "Windows Icon (*.ico)|*.ico|PNG files (*.png)|*.png|All files (*.*)|*.*");

PictureLoader LoaderFor(const QString& path)
{
    static const QStringList picture{"gif", "bmp", "wmf", "ico", "png"};
    static const QStringList imageFile{"pcx", "tga", "jif", "rle", "dib", "jpg"};
    const QString ext = FileEnding(path);
    if (picture.contains(ext)) return PictureLoader::Picture;
    if (imageFile.contains(ext)) return PictureLoader::ImageFile;
    return PictureLoader::None;
}

QString UnsupportedTypeError(const QString& path)
{
    return QStringLiteral("Cannot open \"%1\": Orvane cannot open this type of file. It opens "
                          "pictures ending in .bmp, .dib, .rle, .gif, .jpg, .jif, .wmf, .ico, "
                          ".pcx, .tga and .png.")
        .arg(path);
}

DecodedPicture ReadPictureFile(const QString& path, ColorRef background)
{
    if (LoaderFor(path) == PictureLoader::None) return {QImage(), UnsupportedTypeError(path)};
    DecodeOptions options;
    options.background = background;
    const QString ext = FileEnding(path);
    // Targa files, metafiles and icons carry no reliable signature: their decoder is named.
    if (ext == QLatin1String("tga")) options.magick = QStringLiteral("TGA");
    if (ext == QLatin1String("wmf")) options.magick = QStringLiteral("WMF");
    if (ext == QLatin1String("ico")) options.magick = QStringLiteral("ICO");
    if (ext == QLatin1String("pcx") && PcxDataEndsEarly(path))
        return {QImage(), OpenError(path, QStringLiteral("the file is incomplete (the picture data ends early)"))};
    return DecodePictureFile(path, options);
}

QString LoadPicture(Canvas& target, const QString& path)
{
    const DecodedPicture decoded = ReadPictureFile(path, target.BackColor());
    if (!decoded.ok()) return decoded.error;
    target.setPicture(decoded.image);
    return {};
}

QString LoadImageFile(Canvas& target, const QString& path)
{
    target.setScaleMode(kScalePixels);
    target.Cls();
    const DecodedPicture decoded = ReadPictureFile(path, target.BackColor());
    if (!decoded.ok()) return decoded.error;
    // Size and pixels in one step: the picture covers the whole resized canvas.
    const bool autoSize = target.AutoSize();
    target.setAutoSize(true);
    target.setPicture(decoded.image);
    target.setAutoSize(autoSize);
    return {};
}

QStringList DialogNameFilters(const QString& pairs)
{
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) continue;
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

} // namespace orv
