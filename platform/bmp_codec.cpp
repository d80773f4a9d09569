#include "platform/bmp_codec.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include "platform/picture_codec.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orv {

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;   // version 3
constexpr int kBandBytes = 4 << 20;    // rows are read and written about 4 MiB at a time

uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
int Le16(const unsigned char* p) { return p[0] | p[1] << 8; }
void PutLe(unsigned char* p, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Each row of a bitmap is padded to a whole number of 4-byte words.
int64_t RowBytes(int64_t w) { return (w * 3 + 3) & ~int64_t{3}; }

int BandRows(int64_t rowBytes) { return int(std::max<int64_t>(1, kBandBytes / rowBytes)); }

// Reads exactly `bytes` bytes at `offset`.
bool ReadAt(int fd, unsigned char* into, size_t bytes, off_t offset)
{
    while (bytes > 0) {
        const ssize_t n = ::pread(fd, into, bytes, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        into += n, bytes -= size_t(n), offset += n;
    }
    return true;
}

class FileCloser {
public:
    explicit FileCloser(int fd) : fd_(fd) {}
    ~FileCloser() { ::close(fd_); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    int fd_;
};

} // namespace

bool DecodeBmp24Directly(const QString& path, QImage* picture, QString* refusal)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const FileCloser closer(fd);
    struct stat st {};
    unsigned char head[kFileHeaderBytes + kInfoHeaderBytes];
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < off_t(sizeof head)
        || !ReadAt(fd, head, sizeof head, 0))
        return false;
    const unsigned char* info = head + kFileHeaderBytes;
    const uint32_t infoBytes = Le32(info);
    const int64_t w = int32_t(Le32(info + 4)), h = int32_t(Le32(info + 8));
    const int32_t perMetreX = int32_t(Le32(info + 24)), perMetreY = int32_t(Le32(info + 28));
    // Version 3, 4 and 5 headers share their first 40 bytes; a negative height (rows top
    // down), other depths and compressions go to the general decoder.
    if (head[0] != 'B' || head[1] != 'M' || (infoBytes != 40 && infoBytes != 108 && infoBytes != 124) || w <= 0
        || h <= 0 || Le16(info + 12) != 1 || Le16(info + 14) != 24 || Le32(info + 16) != 0 || perMetreX < 0
        || perMetreY < 0)
        return false;
    // Whether the rows fit in the file, worked out by division: rows x height of two sides near
    // 2^31 overflow 64 bits.
    const int64_t dataAt = Le32(head + 10), rowBytes = RowBytes(w);
    if (dataAt < kFileHeaderBytes + int64_t(infoBytes) || dataAt > st.st_size || h > (st.st_size - dataAt) / rowBytes)
        return false;
    *refusal = PictureSizeRefusal(w, h, st.st_size, false);
    if (!refusal->isEmpty()) return true;

    QImage pixels = NewUninitializedPixelBuffer(int(w), int(h));
    const int bandRows = BandRows(rowBytes);
    std::vector<unsigned char> band(size_t(rowBytes) * size_t(std::min<int64_t>(bandRows, h)));
    // The file's rows run from the bottom of the picture up.
    for (int64_t first = 0; first < h; first += bandRows) {
        const int64_t rows = std::min<int64_t>(bandRows, h - first);
        if (!ReadAt(fd, band.data(), size_t(rowBytes * rows), off_t(dataAt + rowBytes * first))) return false;
        for (int64_t i = 0; i < rows; ++i) {
            const unsigned char* in = band.data() + rowBytes * i;
            auto* out = reinterpret_cast<uint32_t*>(pixels.scanLine(int(h - 1 - first - i)));
            for (int64_t x = 0; x < w; ++x, in += 3) out[x] = in[2] | in[1] << 8 | uint32_t(in[0]) << 16 | kPixelOpaque;
        }
    }
    SetResolution(pixels, {perMetreX, perMetreY});
    *picture = std::move(pixels);
    return true;
}

bool WriteBmp24File(const QImage& picture, const QString& path, QString* reason)
{
    const QImage pixels = ToPixelFormat(picture);
    const int64_t w = pixels.width(), h = pixels.height(), rowBytes = RowBytes(w);
    const int64_t dataBytes = rowBytes * h;
    const PictureResolution r = ResolutionOf(picture);
    unsigned char head[kFileHeaderBytes + kInfoHeaderBytes] = {'B', 'M'};
    unsigned char* info = head + kFileHeaderBytes;
    PutLe(head + 2, uint32_t(sizeof head + dataBytes), 4);
    PutLe(head + 10, sizeof head, 4);
    PutLe(info, kInfoHeaderBytes, 4);
    PutLe(info + 4, uint32_t(w), 4);
    PutLe(info + 8, uint32_t(h), 4);
    PutLe(info + 12, 1, 2);    // one plane
    PutLe(info + 14, 24, 2);   // bits a pixel; compression (info + 16) 0: none
    PutLe(info + 20, uint32_t(dataBytes), 4);
    PutLe(info + 24, uint32_t(std::max(r.x, 0)), 4);
    PutLe(info + 28, uint32_t(std::max(r.y, 0)), 4);

    const int bandRows = BandRows(rowBytes);
    std::vector<unsigned char> band(size_t(rowBytes) * size_t(std::min<int64_t>(bandRows, h)), 0);
    return WriteFileThroughStream(path, [&](FILE* file, QString*) {
        if (std::fwrite(head, 1, sizeof head, file) != sizeof head) return false;
        // Bottom row first, each pixel blue, green, red; the padding stays 0.
        for (int64_t first = 0; first < h; first += bandRows) {
            const int64_t rows = std::min<int64_t>(bandRows, h - first);
            for (int64_t i = 0; i < rows; ++i) {
                const auto* in = reinterpret_cast<const uint32_t*>(pixels.constScanLine(int(h - 1 - first - i)));
                unsigned char* out = band.data() + rowBytes * i;
                for (int64_t x = 0; x < w; ++x, out += 3) {
                    const uint32_t p = in[x];
                    out[0] = uint8_t(p >> 16), out[1] = uint8_t(p >> 8), out[2] = uint8_t(p);
                }
            }
            const size_t bytes = size_t(rowBytes * rows);
            if (std::fwrite(band.data(), 1, bytes, file) != bytes) return false;
        }
        return true;
    }, reason);
}

} // namespace orv
