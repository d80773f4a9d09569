#include "documents/recovery_file.h"
#include "documents/packed_picture.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include "platform/picture_codec.h"
#include <QFile>
#include <algorithm>
#include <cstring>
#include <memory>
#include <zlib.h>
#include <zstd.h>

namespace orv {

namespace {

constexpr char kMagic[8] = {'O', 'R', 'V', 'R', 'C', 'O', 'P', 'Y'};
constexpr uint32_t kVersion = 1;
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

// Decompresses the planes straight into a new picture, a piece at a time: no buffer of the
// whole planes is needed. A null picture when the pixels do not decode to exactly w x h.
QImage FromPackedPlanes(const char* packed, size_t packedBytes, int w, int h)
{
    QImage image(w, h, kPixelFormat);
    if (image.isNull()) return image;
    image.fill(0xFFFFFFFFu);   // the unused fourth byte of every pixel
    std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream*)> stream(ZSTD_createDStream(), ZSTD_freeDStream);
    if (!stream || ZSTD_isError(ZSTD_initDStream(stream.get()))) return QImage();
    std::vector<uint8_t> piece(size_t(1) << 20);
    ZSTD_inBuffer in {packed, packedBytes, 0};
    int plane = 0, x = 0, y = 0;
    uint8_t run = 0;
    const qsizetype stride = image.bytesPerLine();
    uint8_t* bits = image.bits();
    for (;;) {
        ZSTD_outBuffer out {piece.data(), piece.size(), 0};
        const size_t left = ZSTD_decompressStream(stream.get(), &out, &in);
        if (ZSTD_isError(left)) return QImage();
        for (size_t i = 0; i < out.pos;) {
            if (plane == 3) return QImage();   // more bytes than the picture has
            const size_t n = std::min(out.pos - i, size_t(w - x));
            uint8_t* d = bits + y * stride + plane;
            if (x == 0) run = 0;
            for (size_t j = 0; j < n; ++j) {
                run = uint8_t(run + piece[i + j]);
                d[4 * (x + j)] = run;
            }
            i += n;
            x += int(n);
            if (x == w) x = 0, ++y;
            if (y == h) y = 0, ++plane;
        }
        if (left == 0) break;   // the frame is complete
        if (out.pos == 0 && in.pos == in.size) return QImage();   // cut short
    }
    return plane == 3 && in.pos == in.size ? image : QImage();
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
    const QByteArray packed = PackBytes(planes.data(), planes.size());
    if (packed.isEmpty()) {
        *error = QStringLiteral("The picture cannot be compressed (not enough memory).");
        return false;
    }
    const size_t packedBytes = size_t(packed.size());
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
    h.crc = Checksum(h, caption, file, packed.constData(), packedBytes);

    const auto write = [&](const QString& temp, QString* why) {
        QString reason;
        const bool ok = WriteFileThroughStream(temp, [&](FILE* f, QString*) {
            return std::fwrite(&h, sizeof h, 1, f) == 1
                && std::fwrite(caption.constData(), 1, caption.size(), f) == size_t(caption.size())
                && std::fwrite(file.constData(), 1, file.size(), f) == size_t(file.size())
                && std::fwrite(packed.constData(), 1, packedBytes, f) == packedBytes;
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
    const uchar* mapped = f.map(0, f.size());
    if (!mapped) {
        *error = Damaged(path, f.errorString());
        return false;
    }
    const QByteArray caption = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped) + sizeof h, h.captionBytes);
    const QByteArray file = QByteArray::fromRawData(caption.constData() + h.captionBytes, h.pathBytes);
    const char* packed = file.constData() + h.pathBytes;
    if (Checksum(h, caption, file, packed, h.packedBytes) != h.crc) {
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

    if (ZSTD_getFrameContentSize(packed, h.packedBytes) != planeBytes) {
        *error = Damaged(path, QStringLiteral("its pixels are damaged"));
        return false;
    }
    copy->pixels = FromPackedPlanes(packed, h.packedBytes, int(h.width), int(h.height));
    if (copy->pixels.isNull()) {
        *error = Damaged(path, QStringLiteral("its pixels are damaged, or there is not enough memory for them"));
        return false;
    }
    return true;
}

} // namespace orv
