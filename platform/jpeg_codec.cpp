#include "platform/jpeg_codec.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include "platform/picture_codec.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <turbojpeg.h>

namespace orv {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct BufferFree {
    void operator()(unsigned char* p) const { tjFree(p); }
};

int Be16(const unsigned char* p) { return p[0] << 8 | p[1]; }

// What the markers before the first scan tell: the resolution of the JFIF marker in pixels
// per metre, and whether the picture comes in several scans (progressive). A density of 1
// either way only gives the shape of the pixels, and files without the marker declare none:
// both are read as no resolution. Units 2 count per centimetre, any other per inch.
struct Markers {
    PictureResolution resolution;
    bool progressive = false;
};
Markers ReadMarkers(const unsigned char* data, size_t size)
{
    Markers m;
    size_t at = 2;   // past the start-of-image marker
    while (at + 4 <= size && data[at] == 0xFF) {
        const int marker = data[at + 1];
        if (marker == 0xDA || marker == 0xD9) break;   // the scan data begins, or the file ends
        const size_t length = size_t(Be16(data + at + 2));
        if (length < 2 || at + 2 + length > size) break;
        const unsigned char* body = data + at + 4;
        if (marker == 0xC2 || marker == 0xCA) m.progressive = true;   // Huffman or arithmetic coded
        if (marker == 0xE0 && length >= 16 && std::equal(body, body + 5, "JFIF")) {
            const int units = body[7], x = Be16(body + 8), y = Be16(body + 10);
            m.resolution = {};
            if (x != 1 && y != 1) {
                const double perMetre = units == 2 ? 100.0 : 100.0 / 2.54;
                m.resolution = {int(std::lround(x * perMetre)), int(std::lround(y * perMetre))};
            }
        }
        at += 2 + length;
    }
    return m;
}

// Whether the library's warning means part of the picture is missing: the file ends early,
// or its data stops at a marker before the picture is whole.
bool IsTruncation(const QString& warning)
{
    return warning.contains(QLatin1String("Premature end"), Qt::CaseInsensitive)
           || warning.contains(QLatin1String("end of file"), Qt::CaseInsensitive);
}

// Whole dots per inch as the JFIF marker holds them.
int DotsPerInch(int perMetre) { return perMetre > 0 ? std::min(int(std::lround(perMetre * 0.0254)), 65535) : 0; }

} // namespace

bool DecodeJpegDirectly(const char* data, size_t size, QImage* picture, QString* refusal)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    if (size < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) return false;
    const Handle handle(tjInitDecompress());
    if (!handle) return false;
    int w = 0, h = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), bytes, static_cast<unsigned long>(size), &w, &h, &subsampling, &colorspace) != 0)
        return false;
    if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) return false;
    // A small progressive file may hold hundreds of scans over a picture of 67 million pixels;
    // the general decoder stops a decode of a small file that takes too long.
    const Markers markers = ReadMarkers(bytes, size);
    if (markers.progressive && static_cast<int64_t>(size) < kSmallFileBytes) return false;
    *refusal = PictureSizeRefusal(w, h, static_cast<int64_t>(size), false);
    if (!refusal->isEmpty()) return true;
    QImage pixels = NewUninitializedPixelBuffer(w, h);
    // TJPF_RGBX writes red, green, blue and a filler byte of 255: the pixel format's words.
    if (tjDecompress2(handle.get(), bytes, static_cast<unsigned long>(size), pixels.bits(), w,
                      static_cast<int>(pixels.bytesPerLine()), h, TJPF_RGBX, TJFLAG_LIMITSCANS) != 0) {
        // A flaw the library works around (stray bytes between markers) still gives the whole
        // picture; anything else goes to the general decoder, which says what is wrong.
        if (tjGetErrorCode(handle.get()) != TJERR_WARNING) return false;
        if (IsTruncation(QString::fromLatin1(tjGetErrorStr2(handle.get())))) return false;
    }
    SetResolution(pixels, markers.resolution);
    *picture = std::move(pixels);
    return true;
}

bool WriteJpegFile(const QImage& picture, int quality, const QString& path, QString* reason)
{
    const QImage pixels = ToPixelFormat(picture);
    const int w = pixels.width(), h = pixels.height();
    quality = std::clamp(quality, 1, 100);
    const int subsampling = quality >= 90 ? TJSAMP_444 : TJSAMP_420;
    const Handle handle(tjInitCompress());
    if (!handle) {
        *reason = QString::fromLatin1(tjGetErrorStr2(nullptr));
        return false;
    }
    // The file is encoded into memory the size of the largest JPEG the picture can give, taken
    // up front so that it is never moved while it grows (only the part written is touched);
    // beyond what one allocation of the library may hold, the library grows it itself.
    const unsigned long capacity = tjBufSize(w, h, subsampling);
    unsigned char* out = nullptr;
    unsigned long length = 0;
    int flags = 0;
    if (capacity <= static_cast<unsigned long>(INT_MAX)) {
        out = tjAlloc(static_cast<int>(capacity));
        if (!out) throw std::bad_alloc();
        length = capacity;
        flags = TJFLAG_NOREALLOC;
    }
    const int failed = tjCompress2(handle.get(), pixels.constBits(), w, static_cast<int>(pixels.bytesPerLine()), h,
                                   TJPF_RGBX, &out, &length, subsampling, quality, flags);
    const std::unique_ptr<unsigned char, BufferFree> jpeg(out);
    if (failed) {
        *reason = QString::fromLatin1(tjGetErrorStr2(handle.get()));
        return false;
    }
    // The library's JFIF marker (right after the start of the file) declares no density;
    // it is given the picture's, in dots per inch.
    const PictureResolution r = ResolutionOf(picture);
    int x = DotsPerInch(r.x), y = DotsPerInch(r.y);
    if (x == 0 || y == 0) x = y = 72;
    if (length >= 20 && std::equal(out + 6, out + 11, "JFIF")) {
        const unsigned char density[5] = {1, uint8_t(x >> 8), uint8_t(x), uint8_t(y >> 8), uint8_t(y)};
        std::copy(density, density + 5, out + 13);
    }
    return WriteFileThroughStream(path, [&](FILE* file, QString*) {
        return std::fwrite(out, 1, length, file) == length;
    }, reason);
}

} // namespace orv
