#include "platform/picture_codec.h"
#include "platform/color.h"
#include <Magick++.h>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <vector>
#include <unistd.h>

namespace orv {

namespace {

// Largest picture decoded or encoded: either side up to 32768 pixels and at most 400 million
// pixels in all (20000 x 20000). GraphicsMagick keeps 8 bytes a pixel in its cache; beyond the
// memory limit the cache goes to disk, and beyond the disk limit the read fails cleanly.
constexpr int64_t kMaxSide = 32768;
constexpr int64_t kMaxPixels = 400'000'000;
constexpr int64_t kMaxMemoryBytes = 4LL << 30;
constexpr int64_t kMaxDiskBytes = 8LL << 30;

QString Quoted(const QString& path) { return QLatin1Char('"') + path + QLatin1Char('"'); }

// GraphicsMagick's text without its "Magick: " prefix and "reported by file:line" suffix.
QString MagickReason(const Magick::Exception& e)
{
    QString text = QString::fromLocal8Bit(e.what());
    if (text.startsWith(QLatin1String("Magick: "))) text.remove(0, 8);
    const int reported = text.indexOf(QLatin1String(" reported by "));
    if (reported >= 0) text.truncate(reported);
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.trimmed();
}

// Why a system call failed, in words a user understands.
QString SystemReason(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("the disk is full");
    case EACCES:
    case EPERM: return QStringLiteral("permission denied");
    case EROFS: return QStringLiteral("the disk is read-only");
    case ENOENT: return QStringLiteral("the folder does not exist");
    case ENOTDIR: return QStringLiteral("a part of the path is not a folder");
    case EISDIR: return QStringLiteral("it is a folder");
    default: return QString::fromLocal8Bit(std::strerror(err));
    }
}

QString OpenError(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot open %1: %2.").arg(Quoted(path), reason);
}

QString SaveError(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot save %1: %2.").arg(Quoted(path), reason);
}

bool WithinLimits(int64_t w, int64_t h)
{
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels;
}

QString TooLargeReason(int64_t w, int64_t h)
{
    return QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 pixels a side "
                          "and %4 million pixels in all)")
        .arg(w).arg(h).arg(kMaxSide).arg(kMaxPixels / 1'000'000);
}

// The reason a failed read gives, by the kind of failure GraphicsMagick reported.
QString DecodeFailure(const Magick::Exception& e)
{
    const QString reason = MagickReason(e);
    if (dynamic_cast<const Magick::ErrorMissingDelegate*>(&e)
        || reason.startsWith(QLatin1String("Unable to deduce image format")))
        return QStringLiteral("the file is not a picture in a format Orvane reads");
    if (dynamic_cast<const Magick::ErrorResourceLimit*>(&e)) {
        // "Image pixel width limit exceeded (see -limit Width) (40000 > 32768 ...)"
        static const QRegularExpression claimed(QStringLiteral("\\((\\d+) > (\\d+)"));
        const QRegularExpressionMatch m = claimed.match(reason);
        if (!m.hasMatch()) return QStringLiteral("the picture is too large for the memory available");
        const QString what = reason.contains(QLatin1String("width"), Qt::CaseInsensitive)    ? QStringLiteral("pixels wide")
                             : reason.contains(QLatin1String("height"), Qt::CaseInsensitive) ? QStringLiteral("pixels high")
                                                                                              : QStringLiteral("pixels");
        return QStringLiteral("the picture is too large (%1 %2; at most %3)").arg(m.captured(1), what, m.captured(2));
    }
    return QStringLiteral("the file is damaged or incomplete (%1)").arg(reason);
}

bool IsTruncation(const Magick::Warning& warning)
{
    if (!dynamic_cast<const Magick::WarningCorruptImage*>(&warning)) return false;
    const QString reason = MagickReason(warning);
    return reason.contains(QLatin1String("Premature end"), Qt::CaseInsensitive)
           || reason.contains(QLatin1String("end of file"), Qt::CaseInsensitive)
           || reason.contains(QLatin1String("end-of-file"), Qt::CaseInsensitive);
}

// Reads the whole file into a blob GraphicsMagick takes over, so that no part of the path is
// read as GraphicsMagick syntax ("format:" prefixes, "[frame]" suffixes).
bool ReadFileBlob(const QString& path, Magick::Blob* blob, QString* error)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        *error = OpenError(path, QStringLiteral("it is a folder, not a picture file"));
        return false;
    }
    if (!info.exists()) {
        *error = OpenError(path, QStringLiteral("the file does not exist"));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = OpenError(path, QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
        return false;
    }
    const qint64 size = file.size();
    if (size == 0) {
        *error = OpenError(path, QStringLiteral("the file is empty"));
        return false;
    }
    auto* data = new (std::nothrow) char[size];
    if (!data) {
        *error = OpenError(path, QStringLiteral("not enough memory to read the file"));
        return false;
    }
    if (file.read(data, size) != size) {
        delete[] data;
        *error = OpenError(path, QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
        return false;
    }
    blob->updateNoCopy(data, static_cast<size_t>(size), Magick::Blob::NewAllocator);
    return true;
}

// Reads frame `frame` of the blob into image. GraphicsMagick's icon reader decodes every
// picture of the file whatever frame is asked for, so the frame is chosen here from the list.
void ReadFrame(Magick::Image& image, const Magick::Blob& blob, int frame)
{
    if (frame <= 0) {
        image.read(blob);
        return;
    }
    MagickLib::ExceptionInfo exception;
    MagickLib::GetExceptionInfo(&exception);
    MagickLib::ImageInfo* info = MagickLib::CloneImageInfo(image.imageInfo());
    info->subimage = 0;
    info->subrange = 0;
    MagickLib::Image* list = MagickLib::BlobToImage(info, blob.data(), blob.length(), &exception);
    MagickLib::DestroyImageInfo(info);
    MagickLib::Image* chosen = list;
    for (int i = 0; chosen && i < frame; ++i) chosen = chosen->next;
    if (chosen) {
        if (MagickLib::Image* copy = MagickLib::CloneImage(chosen, 0, 0, 1, &exception)) image = Magick::Image(copy);
    }
    if (list) MagickLib::DestroyImageList(list);
    Magick::throwException(exception);
}

// Whether any pixel is not fully transparent. 32-bit bitmaps usually leave their fourth byte
// 0, which GraphicsMagick reads as transparency: a picture that is wholly transparent carries
// no transparency at all and shows its colours.
bool AnyVisiblePixel(const Magick::Image& image, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        const Magick::PixelPacket* src = image.getConstPixels(0, y, w, 1);
        if (!src) throw std::bad_alloc();
        for (int x = 0; x < w; ++x)
            if (src[x].opacity != TransparentOpacity) return true;
    }
    return false;
}

// The buffer a decoded picture goes into. Photo-sized buffers are asked for in 2 MB pages
// where the system gives them on request: filling one then takes a few dozen page faults
// instead of tens of thousands.
QImage NewDecodeBuffer(int w, int h)
{
    constexpr size_t kHugePage = size_t(2) << 20;
    const size_t bytes = size_t(w) * size_t(h) * 4;
    if (bytes < 8 * kHugePage) return QImage(w, h, kPixelFormat);
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* data = std::aligned_alloc(kHugePage, rounded);
    if (!data) return QImage();
    ::madvise(data, rounded, MADV_HUGEPAGE);
    return QImage(static_cast<uchar*>(data), w, h, w * 4, kPixelFormat, [](void* p) { std::free(p); }, data);
}

// Converts rows of GraphicsMagick pixels (16 bits a channel, opacity 0 = opaque) to opaque
// pixel words; with `matte`, transparent and partly transparent pixels are composed onto
// the background channels bg.
void ConvertRows(const Magick::PixelPacket* src, QImage& pixels, int y0, int y1, bool matte, const unsigned bg[3])
{
    const int w = pixels.width();
    for (int y = y0; y < y1; ++y, src += w) {
        auto* row = reinterpret_cast<uint32_t*>(pixels.scanLine(y));
        if (!matte) {
            for (int x = 0; x < w; ++x)
                row[x] = ScaleQuantumToChar(src[x].red) | ScaleQuantumToChar(src[x].green) << 8
                         | ScaleQuantumToChar(src[x].blue) << 16 | kPixelOpaque;
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const Magick::PixelPacket& p = src[x];
            unsigned c[3] = {ScaleQuantumToChar(p.red), ScaleQuantumToChar(p.green), ScaleQuantumToChar(p.blue)};
            const unsigned a = 255 - ScaleQuantumToChar(p.opacity);
            if (a != 255)
                for (int i = 0; i < 3; ++i) c[i] = (c[i] * a + bg[i] * (255 - a) + 127) / 255;
            row[x] = c[0] | c[1] << 8 | c[2] << 16 | kPixelOpaque;
        }
    }
}

// Copies GraphicsMagick's pixels into the buffer in one pass, band by band straight from its
// pixel cache (no copy while the cache is in memory), each band's rows shared out among the
// processor's cores. Every pixel ends opaque.
void CopyPixels(const Magick::Image& image, QImage& pixels, ColorRef background)
{
    constexpr int kBandRows = 256;
    const int w = pixels.width(), h = pixels.height();
    const bool matte = image.matte() && AnyVisiblePixel(image, w, h);
    const unsigned bg[3] = {unsigned(RedOf(background)), unsigned(GreenOf(background)), unsigned(BlueOf(background))};
    const int helpers = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u)) - 1;
    for (int y0 = 0; y0 < h; y0 += kBandRows) {
        const int rows = std::min(kBandRows, h - y0);
        const Magick::PixelPacket* src = image.getConstPixels(0, y0, w, rows);
        if (!src) throw std::bad_alloc();
        if (helpers == 0 || int64_t(w) * rows < 65536) {
            ConvertRows(src, pixels, y0, y0 + rows, matte, bg);
            continue;
        }
        std::vector<std::thread> threads;
        const int share = (rows + helpers) / (helpers + 1);
        for (int t = 1; t <= helpers && t * share < rows; ++t) {
            const int a = t * share, b = std::min(rows, a + share);
            threads.emplace_back(ConvertRows, src + int64_t(a) * w, std::ref(pixels), y0 + a, y0 + b, matte, bg);
        }
        ConvertRows(src, pixels, y0, y0 + std::min(share, rows), matte, bg);
        for (std::thread& t : threads) t.join();
    }
}

// Hands the picture's pixels to GraphicsMagick in one block, as opaque 8-bit true colour.
// The fourth byte is read as alpha (GraphicsMagick's fast "RGBA" import; our pixels hold 0xFF
// there) and the alpha channel is then dropped.
Magick::Image ToMagick(const QImage& picture)
{
    const QImage pixels = ToPixelFormat(picture);
    Magick::Image image(pixels.width(), pixels.height(), "RGBA", Magick::CharPixel,
                        pixels.constBits());
    image.matte(false);
    image.type(Magick::TrueColorType);
    image.depth(8);
    return image;
}

// Encodes into the (temporary) file at path. GraphicsMagick writes to a stream we opened, so
// no part of the path is read as GraphicsMagick syntax; `format` names the encoder.
bool EncodeToFile(Magick::Image& image, const std::string& format, const QString& path,
                  QString* reason)
{
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wbe");
    if (!file) {
        *reason = SystemReason(errno);
        return false;
    }
    image.imageInfo()->file = file;
    try {
        image.write(format + ":stream");
    } catch (const Magick::Error& e) {
        // A failed write of the stream says more than GraphicsMagick's "error writing".
        const int err = errno;
        *reason = std::ferror(file) ? SystemReason(err) : MagickReason(e);
    } catch (const Magick::Warning&) {
        // A warning still leaves a complete file.
    }
    image.imageInfo()->file = nullptr;
    if (reason->isEmpty() && (std::fflush(file) != 0 || std::ferror(file))) *reason = SystemReason(errno);
    if (std::fclose(file) != 0 && reason->isEmpty()) *reason = SystemReason(errno);
    return reason->isEmpty();
}

bool Encode(Magick::Image image, const std::string& format, const QString& path, QString* error)
{
    return WriteFileAtomically(path, [&](const QString& tempPath, QString* err) {
        QString reason;
        if (EncodeToFile(image, format, tempPath, &reason)) return true;
        *err = SaveError(path, reason);
        return false;
    }, error);
}

bool CheckEncodable(const QImage& image, const QString& path, QString* error)
{
    if (image.isNull()) {
        *error = SaveError(path, QStringLiteral("there is no picture"));
        return false;
    }
    return true;
}

} // namespace

void EnsurePictureCodecsReady()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        using namespace MagickLib;
        SetMagickResourceLimit(WidthResource, kMaxSide);
        SetMagickResourceLimit(HeightResource, kMaxSide);
        SetMagickResourceLimit(PixelsResource, kMaxPixels);
        SetMagickResourceLimit(MemoryResource, kMaxMemoryBytes);
        SetMagickResourceLimit(MapResource, kMaxMemoryBytes);
        SetMagickResourceLimit(DiskResource, kMaxDiskBytes);
    });
}

DecodedPicture DecodePictureFile(const QString& path, const QString& magick)
{
    return DecodePictureFile(path, DecodeOptions{magick});
}

DecodedPicture DecodePictureFile(const QString& path, const DecodeOptions& options)
{
    EnsurePictureCodecsReady();
    DecodedPicture result;
    Magick::Blob blob;
    if (!ReadFileBlob(path, &blob, &result.error)) return result;

    Magick::Image image;
    try {
        image.subImage(static_cast<unsigned>(std::max(options.frame, 0)));
        image.subRange(1);
        if (!options.magick.isEmpty()) image.magick(options.magick.toStdString());
        try {
            ReadFrame(image, blob, options.frame);
        } catch (const Magick::Warning& warning) {
            // A flaw GraphicsMagick works around (stray bytes, odd markers) still gives the
            // picture; a file that ends early gives only part of it, which is a failure.
            if (IsTruncation(warning)) {
                result.error = OpenError(path, QStringLiteral("the file is incomplete (%1)").arg(MagickReason(warning)));
                return result;
            }
        }
        const int64_t w = image.columns(), h = image.rows();
        if (!WithinLimits(w, h)) {
            result.error = OpenError(path, w > 0 && h > 0 ? TooLargeReason(w, h)
                                                          : QStringLiteral("the file holds no picture"));
            return result;
        }
        if (image.colorSpace() == Magick::CMYKColorspace) image.colorSpace(Magick::RGBColorspace);
        QImage pixels = NewDecodeBuffer(static_cast<int>(w), static_cast<int>(h));
        if (pixels.isNull()) {
            result.error = OpenError(path, QStringLiteral("not enough memory for %1 x %2 pixels").arg(w).arg(h));
            return result;
        }
        CopyPixels(image, pixels, options.background);
        result.image = std::move(pixels);
    } catch (const Magick::Exception& e) {
        result.image = QImage();
        result.error = OpenError(path, DecodeFailure(e));
    } catch (const std::bad_alloc&) {
        result.image = QImage();
        result.error = OpenError(path, QStringLiteral("not enough memory"));
    }
    return result;
}

bool EncodeBmp24(const QImage& image, const QString& path, QString* error)
{
    if (!CheckEncodable(image, path, error)) return false;
    EnsurePictureCodecsReady();
    try {
        Magick::Image out = ToMagick(image);
        return Encode(out, "BMP3", path, error);   // version 3 header, 24 bits, uncompressed
    } catch (const Magick::Exception& e) {
        *error = SaveError(path, MagickReason(e));
    } catch (const std::bad_alloc&) {
        *error = SaveError(path, QStringLiteral("not enough memory"));
    }
    return false;
}

bool EncodeJpeg(const QImage& image, const QString& path, int quality, QString* error)
{
    if (!CheckEncodable(image, path, error)) return false;
    EnsurePictureCodecsReady();
    try {
        Magick::Image out = ToMagick(image);
        out.quality(static_cast<unsigned>(std::clamp(quality, 0, 100)));
        return Encode(out, "JPEG", path, error);
    } catch (const Magick::Exception& e) {
        *error = SaveError(path, MagickReason(e));
    } catch (const std::bad_alloc&) {
        *error = SaveError(path, QStringLiteral("not enough memory"));
    }
    return false;
}

bool WriteFileAtomically(const QString& path,
                         const std::function<bool(const QString& tempPath, QString* error)>& write,
                         QString* error)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    const QFileInfo folderInfo(folder);
    if (target.fileName().isEmpty()) {
        *error = SaveError(path, QStringLiteral("no file name was given"));
        return false;
    }
    if (target.isDir()) {
        *error = SaveError(path, QStringLiteral("a folder of that name exists"));
        return false;
    }
    if (!folderInfo.exists()) {
        *error = SaveError(path, QStringLiteral("the folder %1 does not exist").arg(Quoted(folder)));
        return false;
    }
    if (!folderInfo.isDir()) {
        *error = SaveError(path, QStringLiteral("%1 is not a folder").arg(Quoted(folder)));
        return false;
    }

    QByteArray temp = QFile::encodeName(folder + QStringLiteral("/.") + target.fileName()
                                        + QStringLiteral(".XXXXXX.tmp"));
    const int fd = ::mkstemps(temp.data(), 4);
    if (fd < 0) {
        *error = SaveError(path, SystemReason(errno));
        return false;
    }
    // mkstemps makes the file private; the saved file gets the permissions of the file it
    // replaces, or those a newly created file gets.
    struct stat old {};
    if (::stat(QFile::encodeName(path).constData(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    ::close(fd);

    const QString tempPath = QFile::decodeName(temp);
    const auto fail = [&] {
        ::unlink(temp.constData());
        return false;
    };
    if (!write(tempPath, error)) return fail();

    const int syncFd = ::open(temp.constData(), O_RDONLY | O_CLOEXEC);
    if (syncFd < 0 || ::fsync(syncFd) != 0) {
        *error = SaveError(path, SystemReason(errno));
        if (syncFd >= 0) ::close(syncFd);
        return fail();
    }
    ::close(syncFd);
    if (::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        *error = SaveError(path, SystemReason(errno));
        return fail();
    }
    return true;
}

} // namespace orv
