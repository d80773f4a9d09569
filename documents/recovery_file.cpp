#include "documents/recovery_file.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include "platform/picture_codec.h"
#include <QFile>
#include <cstring>
#include <zlib.h>
#include <zstd.h>

namespace orv {

namespace {

constexpr char kMagic[8] = {'O', 'R', 'V', 'R', 'C', 'O', 'P', 'Y'};
constexpr uint32_t kVersion = 1;
constexpr int kLevel = 1;   // zstd's fastest regular level: a 24-megapixel photo well within a second
constexpr uint32_t kMaxCaptionBytes = 4096;
constexpr uint32_t kMaxPathBytes = 65536;

// The fixed header, little-endian on every machine the program runs on.
struct Header {
    char magic[8];
    uint32_t version;
    uint32_t width;
    uint32_t height;
    int32_t jpegQuality;
    int64_t msecsSinceEpoch;
    uint32_t captionBytes;
    uint32_t pathBytes;
    uint64_t packedBytes;
    uint32_t crc;   // over the header up to here, the caption, the path and the packed pixels
    uint32_t reserved;
};
static_assert(sizeof(Header) == 56);

uint32_t Checksum(const Header& h, const QByteArray& caption, const QByteArray& path, const char* packed,
                  size_t packedBytes)
{
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(&h), offsetof(Header, crc));
    crc = crc32(crc, reinterpret_cast<const Bytef*>(caption.constData()), caption.size());
    crc = crc32(crc, reinterpret_cast<const Bytef*>(path.constData()), path.size());
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(packed), packedBytes);
    return static_cast<uint32_t>(crc);
}

// Three planes of left differences, R, G and B, each width x height bytes.
std::vector<uint8_t> ToPlanes(const QImage& image)
{
    const int w = image.width(), h = image.height();
    const size_t plane = size_t(w) * h;
    std::vector<uint8_t> out(3 * plane);
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = image.constScanLine(y);
        uint8_t* r = out.data() + size_t(y) * w;
        uint8_t* g = r + plane;
        uint8_t* b = g + plane;
        r[0] = s[0], g[0] = s[1], b[0] = s[2];
        for (int x = 1; x < w; ++x) {
            r[x] = uint8_t(s[4 * x] - s[4 * x - 4]);
            g[x] = uint8_t(s[4 * x + 1] - s[4 * x - 3]);
            b[x] = uint8_t(s[4 * x + 2] - s[4 * x - 2]);
        }
    }
    return out;
}

QImage FromPlanes(const uint8_t* planes, int w, int h)
{
    QImage image(w, h, kPixelFormat);
    if (image.isNull()) return image;
    const size_t plane = size_t(w) * h;
    for (int y = 0; y < h; ++y) {
        const uint8_t* r = planes + size_t(y) * w;
        const uint8_t* g = r + plane;
        const uint8_t* b = g + plane;
        uint8_t* d = image.scanLine(y);
        uint8_t cr = 0, cg = 0, cb = 0;
        for (int x = 0; x < w; ++x) {
            cr = uint8_t(cr + r[x]), cg = uint8_t(cg + g[x]), cb = uint8_t(cb + b[x]);
            d[4 * x] = cr, d[4 * x + 1] = cg, d[4 * x + 2] = cb, d[4 * x + 3] = 0xFF;
        }
    }
    return image;
}

QString Damaged(const QString& path, const QString& why)
{
    return QStringLiteral("The recovery copy \"%1\" cannot be used: %2.").arg(path, why);
}

} // namespace

bool WriteRecoveryCopy(RecoveryCopy copy, const QString& path, QString* error)
{
    QImage image = copy.pixels.format() == kPixelFormat ? copy.pixels : copy.pixels.convertToFormat(kPixelFormat);
    copy.pixels = QImage();
    if (image.isNull()) {
        *error = QStringLiteral("There is no picture to keep.");
        return false;
    }
    const std::vector<uint8_t> planes = ToPlanes(image);
    const int width = image.width(), height = image.height();
    image = QImage();
    std::vector<char> packed(ZSTD_compressBound(planes.size()));
    const size_t packedBytes = ZSTD_compress(packed.data(), packed.size(), planes.data(), planes.size(), kLevel);
    if (ZSTD_isError(packedBytes)) {
        *error = QStringLiteral("The picture cannot be compressed: %1.").arg(QString::fromLatin1(ZSTD_getErrorName(packedBytes)));
        return false;
    }
    const QByteArray caption = copy.caption.toUtf8().left(kMaxCaptionBytes);
    const QByteArray file = copy.filePath.toUtf8().left(kMaxPathBytes);
    Header h {};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.version = kVersion;
    h.width = uint32_t(width);
    h.height = uint32_t(height);
    h.jpegQuality = copy.jpegQuality;
    h.msecsSinceEpoch = copy.time.toMSecsSinceEpoch();
    h.captionBytes = uint32_t(caption.size());
    h.pathBytes = uint32_t(file.size());
    h.packedBytes = packedBytes;
    h.crc = Checksum(h, caption, file, packed.data(), packedBytes);

    const auto write = [&](const QString& temp, QString* why) {
        QString reason;
        const bool ok = WriteFileThroughStream(temp, [&](FILE* f, QString*) {
            return std::fwrite(&h, sizeof h, 1, f) == 1
                && std::fwrite(caption.constData(), 1, caption.size(), f) == size_t(caption.size())
                && std::fwrite(file.constData(), 1, file.size(), f) == size_t(file.size())
                && std::fwrite(packed.data(), 1, packedBytes, f) == packedBytes;
        }, &reason);
        if (!ok) *why = QStringLiteral("Cannot write the recovery copy \"%1\": %2.").arg(path, reason);
        return ok;
    };
    return WriteFileAtomically(path, write, error);
}

bool ReadRecoveryCopy(const QString& path, bool withPixels, RecoveryCopy* copy, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = Damaged(path, f.errorString());
        return false;
    }
    Header h {};
    if (f.read(reinterpret_cast<char*>(&h), sizeof h) != qint64(sizeof h)) {
        *error = Damaged(path, QStringLiteral("it is cut short"));
        return false;
    }
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.version != kVersion) {
        *error = Damaged(path, QStringLiteral("it is no recovery copy of this version of Orvane"));
        return false;
    }
    const uint64_t planeBytes = uint64_t(h.width) * h.height * 3;
    if (h.width < 1 || h.height < 1 || h.width > kMaxPictureSide || h.height > kMaxPictureSide
        || uint64_t(h.width) * h.height > uint64_t(kMaxPicturePixels) || h.captionBytes > kMaxCaptionBytes
        || h.pathBytes > kMaxPathBytes || h.packedBytes > ZSTD_compressBound(planeBytes)) {
        *error = Damaged(path, QStringLiteral("its header is damaged"));
        return false;
    }
    const uint64_t expected = sizeof h + uint64_t(h.captionBytes) + h.pathBytes + h.packedBytes;
    if (uint64_t(f.size()) < expected) {
        *error = Damaged(path, QStringLiteral("it is cut short"));
        return false;
    }
    if (uint64_t(f.size()) > expected) {
        *error = Damaged(path, QStringLiteral("it holds more than a copy"));
        return false;
    }
    const QByteArray caption = f.read(h.captionBytes);
    const QByteArray file = f.read(h.pathBytes);
    std::vector<char> packed(h.packedBytes);
    if (caption.size() != qint64(h.captionBytes) || file.size() != qint64(h.pathBytes)
        || f.read(packed.data(), qint64(packed.size())) != qint64(packed.size())) {
        *error = Damaged(path, QStringLiteral("it is cut short"));
        return false;
    }
    if (Checksum(h, caption, file, packed.data(), packed.size()) != h.crc) {
        *error = Damaged(path, QStringLiteral("it is damaged (its checksum does not match)"));
        return false;
    }
    copy->size = QSize(int(h.width), int(h.height));
    copy->caption = QString::fromUtf8(caption);
    copy->filePath = QString::fromUtf8(file);
    copy->jpegQuality = h.jpegQuality;
    copy->time = QDateTime::fromMSecsSinceEpoch(h.msecsSinceEpoch);
    copy->pixels = QImage();
    if (!withPixels) return true;

    if (ZSTD_getFrameContentSize(packed.data(), packed.size()) != planeBytes) {
        *error = Damaged(path, QStringLiteral("its pixels are damaged"));
        return false;
    }
    std::vector<uint8_t> planes(planeBytes);
    const size_t got = ZSTD_decompress(planes.data(), planes.size(), packed.data(), packed.size());
    if (ZSTD_isError(got) || got != planeBytes) {
        *error = Damaged(path, QStringLiteral("its pixels are damaged"));
        return false;
    }
    copy->pixels = FromPlanes(planes.data(), int(h.width), int(h.height));
    if (copy->pixels.isNull()) {
        *error = Damaged(path, QStringLiteral("there is not enough memory for its picture"));
        return false;
    }
    return true;
}

} // namespace orv
