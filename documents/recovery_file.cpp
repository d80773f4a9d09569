#include "documents/recovery_file.h"
#include "documents/packed_picture.h"
#include "documents/picture_snapshot.h"
#include "documents/recovery_prediction.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include "effects/row_shares.h"
#include "platform/picture_codec.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>
#include <vector>
#include <zlib.h>
#include <zstd.h>

namespace orv {

namespace {

constexpr char kMagic[8] = {'O', 'R', 'V', 'R', 'C', 'O', 'P', 'Y'};
constexpr uint32_t kPlanesVersion = 1;   // one stream of three whole colour planes
constexpr uint32_t kBandsVersion = 2;    // bands of rows, each its own stream
constexpr uint32_t kMaxCaptionBytes = 4096;
constexpr uint32_t kMaxPathBytes = 65536;
// A band holds about this many bytes of differences: small enough to stay in the processor's
// cache between unpacking and placing, large enough that compression loses nothing by it.
constexpr uint64_t kBandBytes = uint64_t(1) << 20;
// The most a band read back may hold (a copy that asks for more is refused unread).
constexpr uint64_t kMaxBandBytes = uint64_t(16) << 20;

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
    uint64_t packedBytes;   // version 2: the band table and the bands
    uint32_t crc;           // over the rest of the header, the caption, the path and the pixels
    uint32_t bandRows;      // version 2: rows per band (the last band may have fewer); else 0
};
static_assert(sizeof(Header) == 56);

uint32_t Crc(uint32_t crc, const void* data, size_t bytes)
{
    return uint32_t(crc32_z(crc, static_cast<const Bytef*>(data), bytes));
}

// The checksum of the header, the caption and the path; the pixels' part follows on. Version 1
// leaves the field after the checksum out.
uint32_t DescriptionChecksum(const Header& h, const QByteArray& caption, const QByteArray& path)
{
    uint32_t crc = Crc(0, &h, offsetof(Header, crc));
    if (h.version != kPlanesVersion) crc = Crc(crc, &h.bandRows, sizeof h.bandRows);
    crc = Crc(crc, caption.constData(), size_t(caption.size()));
    return Crc(crc, path.constData(), size_t(path.size()));
}

// Version 1: decompresses the planes straight into `image`, a piece at a time: no buffer of
// the whole planes is needed. False when the pixels do not decode to exactly its size.
bool FromPackedPlanes(const char* packed, size_t packedBytes, QImage& image)
{
    const int w = image.width(), h = image.height();
    image.fill(0xFFFFFFFFu);   // the unused fourth byte of every pixel
    std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream*)> stream(ZSTD_createDStream(), ZSTD_freeDStream);
    if (!stream || ZSTD_isError(ZSTD_initDStream(stream.get()))) return false;
    std::vector<uint8_t> piece(size_t(1) << 20);
    ZSTD_inBuffer in {packed, packedBytes, 0};
    int plane = 0, x = 0, y = 0;
    uint8_t run = 0;
    const qsizetype stride = image.bytesPerLine();
    uint8_t* bits = image.bits();
    for (;;) {
        ZSTD_outBuffer out {piece.data(), piece.size(), 0};
        const size_t left = ZSTD_decompressStream(stream.get(), &out, &in);
        if (ZSTD_isError(left)) return false;
        for (size_t i = 0; i < out.pos;) {
            if (plane == 3) return false;   // more bytes than the picture has
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
        if (out.pos == 0 && in.pos == in.size) return false;   // cut short
    }
    return plane == 3 && in.pos == in.size;
}

QString Damaged(const QString& path, const QString& why)
{
    return QStringLiteral("The recovery copy \"%1\" cannot be used: %2.").arg(path, why);
}

// Reads exactly `bytes` at `offset` of the open file `fd` (threads may read at once); false
// when the file ends before.
bool ReadAt(int fd, char* out, size_t bytes, uint64_t offset)
{
    while (bytes > 0) {
        const ssize_t n = pread(fd, out, bytes, off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n, bytes -= size_t(n), offset += uint64_t(n);
    }
    return true;
}

// Reads the bands of a version 2 copy, all cores at once: their checksums into `crcs` and,
// when `image` is not null, their pixels into it. The outcome of each band in `outcomes`.
enum class Band : uint8_t { Whole, CutShort, Undecodable };
void ReadBands(int fd, uint64_t start, const std::vector<uint32_t>& sizes, int bandRows, QImage* image, int w,
               int h, std::vector<uint32_t>& crcs, std::vector<Band>& outcomes)
{
    const int bands = int(sizes.size());
    std::vector<uint64_t> offsets(bands);
    for (int b = 0; b < bands; ++b) offsets[b] = start, start += sizes[b];
    const size_t rowBytes = size_t(w) * 3;
    uint8_t* const bits = image ? image->bits() : nullptr;   // detaches before any thread starts
    const qsizetype stride = image ? image->bytesPerLine() : 0;
    ForRowShares(0, bands, int64_t(w) * bandRows, [&](int from, int to) {
        QByteArray packed;
        std::vector<uint8_t> raw;
        for (int b = from; b < to; ++b) {
            packed.resize(sizes[b]);
            if (!ReadAt(fd, packed.data(), size_t(packed.size()), offsets[b])) {
                outcomes[b] = Band::CutShort;
                continue;
            }
            crcs[b] = Crc(0, packed.constData(), size_t(packed.size()));
            if (!bits) continue;
            const int y0 = b * bandRows, rows = std::min(bandRows, h - y0);
            raw.resize(rows * rowBytes);
            if (!UnpackBytes(packed, raw.data(), raw.size())) {
                outcomes[b] = Band::Undecodable;
                continue;
            }
            for (int y = 0; y < rows; ++y) {
                uint8_t* row = bits + (y0 + y) * stride;
                kernels::FromDifferences(raw.data() + size_t(y) * w, y ? row - stride : nullptr, row, w, size_t(rows) * w);
            }
        }
    });
}

} // namespace

bool WriteRecoveryCopy(const RecoveryCopy& copy, std::shared_ptr<PictureSnapshot> pixels, const QString& path,
                       QString* error)
{
    const QString noMemory = QStringLiteral("The picture cannot be compressed (not enough memory).");
    if (!pixels || pixels->width() < 1 || pixels->height() < 1) {
        *error = QStringLiteral("There is no picture to keep.");
        return false;
    }
    const int width = pixels->width(), height = pixels->height();
    const size_t rowBytes = size_t(width) * 3;
    const int bandRows = int(std::clamp<uint64_t>(kBandBytes / rowBytes, 1, uint64_t(height)));
    const int bands = (height + bandRows - 1) / bandRows;
    // Each band's rows are read from the snapshot just before they are packed; a band left
    // empty (no memory, or the snapshot lost rows) fails the write below.
    std::vector<QByteArray> packed(bands);
    std::vector<uint32_t> sizes(bands), crcs(bands);
    ForRowShares(0, bands, int64_t(width) * bandRows, [&](int from, int to) {
        std::vector<uint32_t> band;
        std::vector<uint8_t> differences;
        try {
            band.resize(size_t(bandRows) * size_t(width));
            differences.resize(size_t(bandRows) * rowBytes);
        } catch (const std::bad_alloc&) {
            return;
        }
        for (int b = from; b < to; ++b) {
            const int y0 = b * bandRows, rows = std::min(bandRows, height - y0);
            auto* bits = reinterpret_cast<uint8_t*>(band.data());
            const size_t stride = size_t(width) * 4;
            if (!pixels->readRows(y0, rows, bits, stride)) return;
            for (int y = 0; y < rows; ++y)
                kernels::ToDifferences(bits + size_t(y) * stride, y ? bits + size_t(y - 1) * stride : nullptr,
                                       differences.data() + size_t(y) * width, width, size_t(rows) * width);
            packed[b] = PackBytes(differences.data(), size_t(rows) * rowBytes);
            sizes[b] = uint32_t(packed[b].size());
            crcs[b] = Crc(0, packed[b].constData(), sizes[b]);
        }
    });
    pixels.reset();
    uint64_t packedBytes = uint64_t(bands) * sizeof(uint32_t);
    for (const QByteArray& band : packed) {
        if (band.isEmpty()) {
            *error = noMemory;
            return false;
        }
        packedBytes += uint64_t(band.size());
    }
    const QByteArray caption = copy.caption.toUtf8().left(kMaxCaptionBytes);
    const QByteArray file = copy.filePath.toUtf8().left(kMaxPathBytes);
    Header h {};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.version = kBandsVersion;
    h.width = uint32_t(width);
    h.height = uint32_t(height);
    h.jpegQuality = copy.jpegQuality;
    h.msecsSinceEpoch = copy.time.toMSecsSinceEpoch();
    h.captionBytes = uint32_t(caption.size());
    h.pathBytes = uint32_t(file.size());
    h.packedBytes = packedBytes;
    h.bandRows = uint32_t(bandRows);
    uint32_t crc = Crc(DescriptionChecksum(h, caption, file), sizes.data(), sizes.size() * sizeof(uint32_t));
    for (int b = 0; b < bands; ++b) crc = uint32_t(crc32_combine(crc, crcs[b], z_off_t(sizes[b])));
    h.crc = crc;

    const auto write = [&](const QString& temp, QString* why) {
        QString reason;
        const bool ok = WriteFileThroughStream(temp, [&](FILE* f, QString*) {
            bool written = std::fwrite(&h, sizeof h, 1, f) == 1
                && std::fwrite(caption.constData(), 1, caption.size(), f) == size_t(caption.size())
                && std::fwrite(file.constData(), 1, file.size(), f) == size_t(file.size())
                && std::fwrite(sizes.data(), sizeof(uint32_t), sizes.size(), f) == sizes.size();
            for (int b = 0; b < bands && written; ++b)
                written = std::fwrite(packed[b].constData(), 1, sizes[b], f) == sizes[b];
            return written;
        }, &reason);
        if (!ok) *why = QStringLiteral("Cannot write the recovery copy \"%1\": %2.").arg(path, reason);
        return ok;
    };
    return WriteFileAtomically(path, write, error);
}

bool ReadRecoveryCopy(const QString& path, bool withPixels, RecoveryCopy* copy, QString* error)
{
    const QString cutShort = QStringLiteral("it is cut short");
    const QString mismatch = QStringLiteral("it is damaged (its checksum does not match)");
    const QString badHeader = QStringLiteral("its header is damaged");
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *error = Damaged(path, f.errorString());
        return false;
    }
    Header h {};
    if (f.read(reinterpret_cast<char*>(&h), sizeof h) != qint64(sizeof h)) {
        *error = Damaged(path, cutShort);
        return false;
    }
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || (h.version != kPlanesVersion && h.version != kBandsVersion)) {
        *error = Damaged(path, QStringLiteral("it is no recovery copy of this version of Orvane"));
        return false;
    }
    const bool banded = h.version == kBandsVersion;
    const uint64_t rowBytes = uint64_t(h.width) * 3;
    const uint64_t planeBytes = rowBytes * h.height;
    if (h.width < 1 || h.height < 1 || h.width > kMaxPictureSide || h.height > kMaxPictureSide
        || uint64_t(h.width) * h.height > uint64_t(kMaxPicturePixels) || h.captionBytes > kMaxCaptionBytes
        || h.pathBytes > kMaxPathBytes
        || (!banded && h.packedBytes > ZSTD_compressBound(planeBytes))
        || (banded && (h.bandRows < 1 || h.bandRows > h.height || h.bandRows * rowBytes > kMaxBandBytes))) {
        *error = Damaged(path, badHeader);
        return false;
    }
    const int bands = banded ? int((h.height + h.bandRows - 1) / h.bandRows) : 0;
    const uint64_t tableBytes = uint64_t(bands) * sizeof(uint32_t);
    if (h.packedBytes < tableBytes) {
        *error = Damaged(path, badHeader);
        return false;
    }
    const uint64_t pixelsStart = sizeof h + uint64_t(h.captionBytes) + h.pathBytes;
    const uint64_t expected = pixelsStart + h.packedBytes;
    if (uint64_t(f.size()) < expected) {
        *error = Damaged(path, cutShort);
        return false;
    }
    if (uint64_t(f.size()) > expected) {
        *error = Damaged(path, QStringLiteral("it holds more than a copy"));
        return false;
    }
    const QByteArray caption = f.read(h.captionBytes);
    const QByteArray file = f.read(h.pathBytes);
    // Version 1 holds its pixels as one stream; version 2 a band table, then the bands.
    const QByteArray stream = f.read(banded ? qint64(tableBytes) : qint64(h.packedBytes));
    if (caption.size() != qsizetype(h.captionBytes) || file.size() != qsizetype(h.pathBytes)
        || uint64_t(stream.size()) != (banded ? tableBytes : h.packedBytes)) {
        *error = Damaged(path, cutShort);
        return false;
    }
    uint32_t crc = Crc(DescriptionChecksum(h, caption, file), stream.constData(), size_t(stream.size()));
    std::vector<uint32_t> sizes(bands);
    if (banded) {
        std::memcpy(sizes.data(), stream.constData(), tableBytes);
        uint64_t total = tableBytes;
        for (int b = 0; b < bands; ++b) {
            const uint64_t rows = std::min<uint64_t>(h.bandRows, h.height - uint64_t(b) * h.bandRows);
            if (sizes[b] < 1 || sizes[b] > ZSTD_compressBound(rows * rowBytes)) total = UINT64_MAX;
            else if (total != UINT64_MAX) total += sizes[b];
        }
        if (total != h.packedBytes) {
            *error = Damaged(path, QStringLiteral("its band table is damaged"));
            return false;
        }
    }
    QImage pixels;
    if (withPixels) {
        try {
            pixels = NewUninitializedPixelBuffer(int(h.width), int(h.height));
        } catch (const std::bad_alloc&) {
        }
        if (pixels.isNull()) {
            *error = Damaged(path, QStringLiteral("there is not enough memory for its pixels"));
            return false;
        }
    }
    bool decoded = true;
    if (banded) {
        std::vector<uint32_t> crcs(bands);
        std::vector<Band> outcomes(bands, Band::Whole);
        ReadBands(f.handle(), pixelsStart + tableBytes, sizes, int(h.bandRows), withPixels ? &pixels : nullptr,
                  int(h.width), int(h.height), crcs, outcomes);
        if (std::find(outcomes.begin(), outcomes.end(), Band::CutShort) != outcomes.end()) {
            *error = Damaged(path, cutShort);
            return false;
        }
        for (int b = 0; b < bands; ++b) crc = uint32_t(crc32_combine(crc, crcs[b], z_off_t(sizes[b])));
        decoded = std::find(outcomes.begin(), outcomes.end(), Band::Undecodable) == outcomes.end();
    }
    if (crc != h.crc) {
        *error = Damaged(path, mismatch);
        return false;
    }
    if (withPixels && !banded) {
        decoded = ZSTD_getFrameContentSize(stream.constData(), size_t(stream.size())) == planeBytes
            && FromPackedPlanes(stream.constData(), size_t(stream.size()), pixels);
    }
    if (!decoded) {
        *error = Damaged(path, QStringLiteral("its pixels are damaged, or there is not enough memory for them"));
        return false;
    }
    copy->size = QSize(int(h.width), int(h.height));
    copy->caption = QString::fromUtf8(caption);
    copy->filePath = QString::fromUtf8(file);
    copy->jpegQuality = h.jpegQuality;
    copy->time = QDateTime::fromMSecsSinceEpoch(h.msecsSinceEpoch);
    copy->pixels = pixels;
    return true;
}

} // namespace orv
