#include "platform/picture_codec.h"
#include "platform/png_codec.h"
#include "platform/bmp_codec.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include "platform/icon_file.h"
#include "platform/jpeg_codec.h"
#include "platform/targa_file.h"
#include <Magick++.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <vector>
#include <unistd.h>

namespace orv {

namespace {

// GraphicsMagick's own limits back up the checks made before decoding (PictureSizeRefusal):
// beyond the memory limit its pixel cache goes to disk, and beyond the disk limit the read
// fails cleanly.
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
    text.remove(QLatin1String("()"));   // an empty detail the library leaves in its text
    return text.simplified();
}

QString SaveError(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot save %1: %2.").arg(Quoted(path), reason);
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
    if (reason.isEmpty()) return QStringLiteral("the file is damaged or incomplete");
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

// Reads the file's first `limit` bytes (all of it when it is shorter) into a blob GraphicsMagick
// takes over, so that no part of the path is read as GraphicsMagick syntax ("format:" prefixes,
// "[frame]" suffixes); *fileBytes is the whole file's size.
bool ReadFileBlob(const QString& path, int64_t limit, Magick::Blob* blob, int64_t* fileBytes, QString* error)
{
    // The caller has looked at the path (PictureFileProblem); it is opened without blocking and
    // checked again through the descriptor, as it may have been replaced by a named pipe since.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = OpenError(path, QStringLiteral("the file cannot be read (%1)").arg(SystemReason(errno)));
        return false;
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    const int64_t size = regular ? std::min<int64_t>(st.st_size, limit) : 0;
    char* data = regular ? new (std::nothrow) char[size] : nullptr;
    int64_t got = 0;
    while (data && got < size) {
        const ssize_t n = ::read(fd, data + got, size_t(std::min<int64_t>(size - got, int64_t{1} << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    const int readErrno = errno;
    ::close(fd);
    if (!regular) {
        *error = OpenError(path, QStringLiteral("it is not a regular picture file"));
        return false;
    }
    if (!data) {
        *error = OpenError(path, QStringLiteral("not enough memory to read the file"));
        return false;
    }
    if (got != size) {
        delete[] data;
        *error = OpenError(path, QStringLiteral("the file cannot be read (%1)").arg(SystemReason(readErrno)));
        return false;
    }
    blob->updateNoCopy(data, static_cast<size_t>(size), Magick::Blob::NewAllocator);
    *fileBytes = st.st_size;
    return true;
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

// The resolution the file declares, in pixels per metre (0 where it declares none).
PictureResolution DeclaredResolution(const Magick::Image& image)
{
    const MagickLib::Image* im = image.constImage();
    const double perMetre = im->units == MagickLib::PixelsPerCentimeterResolution ? 100.0 : 100.0 / 2.54;
    return {static_cast<int>(std::lround(im->x_resolution * perMetre)),
            static_cast<int>(std::lround(im->y_resolution * perMetre))};
}

// Converts rows of GraphicsMagick pixels (16 bits a channel, opacity 0 = opaque) to opaque
// pixel words; with `matte`, transparent and partly transparent pixels are composed onto
// the background channels bg, or without bg keep their alpha in the top byte.
// `rows` points at the picture's first row, `stride` bytes apart; several threads convert
// different rows of one picture at once, so nothing here touches the QImage itself.
void ConvertRows(const Magick::PixelPacket* src, uchar* rows, qsizetype stride, int w, int y0, int y1, bool matte,
                 const unsigned* bg)
{
    for (int y = y0; y < y1; ++y, src += w) {
        auto* row = reinterpret_cast<uint32_t*>(rows + y * stride);
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
            if (!bg) {
                row[x] = c[0] | c[1] << 8 | c[2] << 16 | a << 24;
                continue;
            }
            if (a != 255)
                for (int i = 0; i < 3; ++i) c[i] = (c[i] * a + bg[i] * (255 - a) + 127) / 255;
            row[x] = c[0] | c[1] << 8 | c[2] << 16 | kPixelOpaque;
        }
    }
}

// Copies GraphicsMagick's pixels into the buffer in one pass, band by band straight from its
// pixel cache (no copy while the cache is in memory), each band's rows shared out among the
// processor's cores. Every pixel ends opaque, unless there is no background to compose onto.
void CopyPixels(const Magick::Image& image, QImage& pixels, std::optional<ColorRef> background)
{
    constexpr int kBandRows = 256;
    const int w = pixels.width(), h = pixels.height();
    const bool matte = image.matte() && AnyVisiblePixel(image, w, h);
    const ColorRef back = background.value_or(0);
    const unsigned channels[3] = {unsigned(RedOf(back)), unsigned(GreenOf(back)), unsigned(BlueOf(back))};
    const unsigned* const bg = background ? channels : nullptr;
    const int helpers = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u)) - 1;
    uchar* const bits = pixels.bits();   // detaches once, before any thread starts
    const qsizetype stride = pixels.bytesPerLine();
    for (int y0 = 0; y0 < h; y0 += kBandRows) {
        const int rows = std::min(kBandRows, h - y0);
        const Magick::PixelPacket* src = image.getConstPixels(0, y0, w, rows);
        if (!src) throw std::bad_alloc();
        // Helper threads take the later rows of the band; this thread converts rows [0, ownEnd):
        // all of them when the band is small or no helper thread can be started.
        int ownEnd = rows;
        std::vector<std::thread> threads;
        if (helpers > 0 && int64_t(w) * rows >= 65536) {
            const int share = (rows + helpers) / (helpers + 1);
            try {
                for (int t = helpers; t >= 1; --t) {
                    const int first = std::min(rows, t * share);
                    if (first < ownEnd)
                        threads.emplace_back(ConvertRows, src + int64_t(first) * w, bits, stride, w, y0 + first,
                                             y0 + ownEnd, matte, bg);
                    ownEnd = first;
                }
            } catch (const std::system_error&) {
                // Fewer helpers than hoped: the rows none took stay with this thread.
            }
        }
        ConvertRows(src, bits, stride, w, y0, y0 + ownEnd, matte, bg);
        for (std::thread& t : threads) t.join();
    }
    if (matte && !bg) pixels.reinterpretAsFormat(QImage::Format_RGBA8888);
}

bool CheckEncodable(const QImage& image, const QString& path, QString* error)
{
    if (image.isNull()) {
        *error = SaveError(path, QStringLiteral("there is no picture"));
        return false;
    }
    return true;
}

// Drops what the decoding libraries print on standard output and standard error (the
// metafile library reports damaged files there): both are pointed at /dev/null while any
// decode runs and restored when the last one ends. The streams are flushed on both edges, so
// nothing printed before goes astray and nothing printed during reaches the terminal later.
class QuietLibraries {
public:
    QuietLibraries()
    {
        const std::lock_guard lock(mutex());
        if (depth()++ > 0) return;
        std::fflush(stdout);
        std::fflush(stderr);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null < 0) return;
        for (int fd : {1, 2}) {
            saved()[fd - 1] = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
            if (saved()[fd - 1] >= 0) ::dup2(null, fd);
        }
        ::close(null);
    }
    ~QuietLibraries()
    {
        const std::lock_guard lock(mutex());
        if (--depth() > 0) return;
        std::fflush(stdout);
        std::fflush(stderr);
        for (int fd : {1, 2}) {
            int& copy = saved()[fd - 1];
            if (copy < 0) continue;
            ::dup2(copy, fd);
            ::close(copy);
            copy = -1;
        }
    }
    QuietLibraries(const QuietLibraries&) = delete;
    QuietLibraries& operator=(const QuietLibraries&) = delete;

private:
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
    static int& depth()
    {
        static int d = 0;
        return d;
    }
    static int* saved()
    {
        static int fds[2] = {-1, -1};
        return fds;
    }
};

// The time by which the decode running on this thread must end (none: the time point's
// maximum), and whether the decoders were stopped because it passed. GraphicsMagick's progress
// handler is asked while it decodes and draws; a refusal stops the decode.
thread_local std::chrono::steady_clock::time_point tDecodeDeadline = std::chrono::steady_clock::time_point::max();
thread_local bool tDecodeOverTime = false;

MagickPassFail WatchDecodeDeadline(const char*, MagickLib::magick_int64_t, MagickLib::magick_uint64_t,
                                   MagickLib::ExceptionInfo*)
{
    if (std::chrono::steady_clock::now() <= tDecodeDeadline) return MagickPass;
    tDecodeOverTime = true;
    return MagickFail;
}

// Sets this thread's decode deadline for its lifetime (a limit of 0 or less sets none).
class DecodeDeadline {
public:
    explicit DecodeDeadline(int limitMs)
    {
        tDecodeOverTime = false;
        if (limitMs > 0) tDecodeDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    }
    ~DecodeDeadline() { tDecodeDeadline = std::chrono::steady_clock::time_point::max(); }
    DecodeDeadline(const DecodeDeadline&) = delete;
    DecodeDeadline& operator=(const DecodeDeadline&) = delete;
    bool passed() const { return tDecodeOverTime; }
};

// Readies the file's bytes for the decoder: an icon file keeps only the picture shown, and
// *mirrored tells whether the Targa rows run right to left (the decoder reads them left to
// right).
bool PrepareBlob(const QString& magick, Magick::Blob* blob, bool* mirrored, QString* reason)
{
    const QByteArray file = QByteArray::fromRawData(static_cast<const char*>(blob->data()),
                                                    static_cast<qsizetype>(blob->length()));
    QByteArray replaced;
    if (magick == QLatin1String("ICO")) {
        if (!LargestIconAlone(file, &replaced, reason)) return false;
    } else if (magick == QLatin1String("TGA")) {
        *mirrored = TargaRowsRunRightToLeft(file);
    }
    if (!replaced.isEmpty()) *blob = Magick::Blob(replaced.constData(), static_cast<size_t>(replaced.size()));
    return true;
}

// Whether a file forced to `magick` (empty: the content decides) may be one of `names`.
bool ForcedTo(const QString& magick, std::initializer_list<const char*> names)
{
    return magick.isEmpty() || std::any_of(names.begin(), names.end(), [&](const char* n) { return magick == QLatin1String(n); });
}

// The file a save to `path` replaces: `path` itself, or for a symbolic link the file the chain
// of links leads to (which need not exist yet). Empty, with the reason, when that is something
// other than a regular file or the links do not end.
QString WrittenFile(const QString& path, QString* reason)
{
    constexpr int kMaxLinks = 40;   // as the system follows them
    QString file = QFileInfo(path).isAbsolute() ? path : QDir::currentPath() + QLatin1Char('/') + path;
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(QFile::encodeName(file).constData(), &st) != 0) return file;   // a new file
        if (S_ISREG(st.st_mode)) return file;
        if (!S_ISLNK(st.st_mode)) {
            *reason = S_ISDIR(st.st_mode)    ? QStringLiteral("a folder of that name exists")
                      : S_ISFIFO(st.st_mode) ? QStringLiteral("it is a named pipe, not a file")
                      : S_ISSOCK(st.st_mode) ? QStringLiteral("it is a socket, not a file")
                                             : QStringLiteral("it is a device, not a file");
            return {};
        }
        if (links == kMaxLinks) {
            *reason = QStringLiteral("its symbolic links lead round in a circle");
            return {};
        }
        std::vector<char> target(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        const ssize_t n = ::readlink(QFile::encodeName(file).constData(), target.data(), target.size());
        if (n < 0 || size_t(n) >= target.size()) {
            *reason = SystemReason(n < 0 ? errno : ENAMETOOLONG);
            return {};
        }
        const QString next = QFile::decodeName(QByteArray(target.data(), n));
        // A relative target is read from the link's folder.
        file = next.startsWith(QLatin1Char('/')) ? next : QFileInfo(file).path() + QLatin1Char('/') + next;
    }
}

} // namespace

void EnsurePictureCodecsReady()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        using namespace MagickLib;
        SetMagickResourceLimit(WidthResource, kMaxPictureSide);
        SetMagickResourceLimit(HeightResource, kMaxPictureSide);
        SetMagickResourceLimit(PixelsResource, kMaxPicturePixels);
        SetMagickResourceLimit(MemoryResource, kMaxMemoryBytes);
        SetMagickResourceLimit(MapResource, kMaxMemoryBytes);
        SetMagickResourceLimit(DiskResource, kMaxDiskBytes);
        SetMonitorHandler(WatchDecodeDeadline);
    });
}

DecodedPicture DecodePictureFile(const QString& path, const QString& magick)
{
    return DecodePictureFile(path, DecodeOptions{magick});
}

QString PictureFormatOf(QByteArrayView head)
{
    const auto* b = reinterpret_cast<const unsigned char*>(head.data());
    const size_t n = size_t(head.size());
    const auto starts = [&](std::initializer_list<unsigned char> sig) {
        return n >= sig.size() && std::equal(sig.begin(), sig.end(), b);
    };
    if (starts({'B', 'M'})) return QStringLiteral("BMP");
    if (starts({'G', 'I', 'F', '8'})) return QStringLiteral("GIF");
    if (starts({0xFF, 0xD8, 0xFF})) return QStringLiteral("JPEG");
    if (starts({0x89, 'P', 'N', 'G'})) return QStringLiteral("PNG");
    // Cursor files are icon files of resource type 2 (their hot spots are not used).
    if (starts({0, 0, 1, 0}) || starts({0, 0, 2, 0})) return QStringLiteral("ICO");
    if (starts({0xD7, 0xCD, 0xC6, 0x9A}) || starts({1, 0, 9, 0}) || starts({2, 0, 9, 0})) return QStringLiteral("WMF");
    // PCX: maker 10, a known version, run-length encoding 0 or 1, 1 to 8 bits a plane.
    if (n >= 128 && b[0] == 10 && b[1] <= 5 && b[2] <= 1 && b[3] >= 1 && b[3] <= 8) return QStringLiteral("PCX");
    return {};
}

DecodedPicture DecodePictureFile(const QString& path, const DecodeOptions& options)
{
    EnsurePictureCodecsReady();
    DecodedPicture result;
    const QString forced = options.magick.toUpper();
    // The formats opened most are decoded straight into the pixel buffer, and refused by the
    // size their header claims before any pixel is allocated; every other file, and any of
    // theirs the direct decoders leave, goes through GraphicsMagick.
    const auto direct = [&](bool handled, QImage& picture, const QString& refusal) {
        if (!handled) return false;
        if (refusal.isEmpty()) result.image = std::move(picture);
        else result.error = OpenError(path, refusal);
        return true;
    };
    if (const QString problem = PictureFileProblem(path); !problem.isEmpty()) {
        result.error = OpenError(path, problem);
        return result;
    }
    QImage picture;
    QString refusal;
    try {
        if (ForcedTo(forced, {"BMP", "BMP3"})
            && direct(DecodeBmp24Directly(path, &picture, &refusal), picture, refusal))
            return result;
    } catch (const std::bad_alloc&) {
        result.error = OpenError(path, QStringLiteral("not enough memory"));
        return result;
    }
    Magick::Blob blob;
    int64_t fileBytes = 0;
    if (!ReadFileBlob(path, kFormatSlackBytes, &blob, &fileBytes, &result.error)) return result;
    // A file that names no decoder gets the one its signature shows, among the program's types.
    const QString magick = forced.isEmpty() ? PictureFormatOf(QByteArrayView(static_cast<const char*>(blob.data()), qsizetype(blob.length())))
                                         : forced;
    if (magick.isEmpty()) {
        result.error = OpenError(path, QStringLiteral("the file is not a picture in a format Orvane reads"));
        return result;
    }
    const auto fresh = [&magick] {
        Magick::Image image;
        image.subImage(0);
        image.subRange(1);
        if (!magick.isEmpty()) image.magick(magick.toStdString());
        return image;
    };
    // Of a file longer than the slack only its start has been read: its header tells how much
    // more the picture can use, and no more of it is read.
    if (fileBytes > int64_t(blob.length())) {
        const QuietLibraries quiet;
        int64_t w = 0, h = 0;
        bool vector = false;
        QString why;
        try {
            Magick::Image header = fresh();
            try {
                header.ping(blob);
            } catch (const Magick::Warning&) {
                // The size, where the header gave it, is all that is needed here.
            }
            w = int64_t(header.columns()), h = int64_t(header.rows());
            vector = header.magick() == "WMF";
        } catch (const Magick::Exception& e) {
            why = DecodeFailure(e);
        }
        if (why.isEmpty())
            why = w > 0 && h > 0 ? PictureSizeRefusal(w, h, fileBytes, vector)
                                 : QStringLiteral("the first %1 MB of the file do not tell the picture's size")
                                       .arg(kFormatSlackBytes >> 20);
        if (!why.isEmpty()) {
            result.error = OpenError(path, why);
            return result;
        }
        const int64_t useful = PictureFileBytes(w * h);
        if (useful > int64_t(blob.length()) && !ReadFileBlob(path, useful, &blob, &fileBytes, &result.error))
            return result;
    }
    try {
        if (ForcedTo(magick, {"JPEG", "JPG"})
            && direct(DecodeJpegDirectly(static_cast<const char*>(blob.data()), blob.length(), &picture, &refusal),
                      picture, refusal))
            return result;
        if (magick == QLatin1String("PNG")
            && direct(DecodeInterlacedPngDirectly(static_cast<const char*>(blob.data()), blob.length(),
                                                  options.background, &picture, &refusal),
                      picture, refusal))
            return result;
    } catch (const std::bad_alloc&) {
        result.error = OpenError(path, QStringLiteral("not enough memory"));
        return result;
    }
    QString reason;
    // 16-bit grey Targa pictures with alpha, which GraphicsMagick does not read, are decoded here.
    if (const QByteArray file = QByteArray::fromRawData(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
        magick == QLatin1String("TGA") && IsTargaGreyWithAlpha(file)) {
        const QSize size = TargaSize(file);
        reason = PictureSizeRefusal(size.width(), size.height(), fileBytes, false);
        try {
            if (reason.isEmpty() && DecodeTargaGreyWithAlpha(file, options.background, &picture, &reason))
                result.image = std::move(picture);
        } catch (const std::bad_alloc&) {
            reason = QStringLiteral("not enough memory");
        }
        if (!reason.isEmpty()) result.error = OpenError(path, reason);
        return result;
    }
    bool mirrored = false;
    if (!PrepareBlob(magick, &blob, &mirrored, &reason)) {
        result.error = OpenError(path, reason);
        return result;
    }

    const QuietLibraries quiet;
    try {
        // The header first: a picture beyond the limits is refused before any pixel is decoded.
        Magick::Image header = fresh();
        try {
            header.ping(blob);
        } catch (const Magick::Warning&) {
            // The read below tells whether the flaw matters.
        }
        // (A reader that tells no size when pinged is checked after the read.)
        const bool vector = header.magick() == "WMF";
        if (header.columns() > 0 && header.rows() > 0)
            reason = PictureSizeRefusal(header.columns(), header.rows(), fileBytes, vector);
        if (!reason.isEmpty()) {
            result.error = OpenError(path, reason);
            return result;
        }
        const DecodeDeadline deadline(vector || fileBytes < kSmallFileBytes ? options.timeLimitMs : 0);
        Magick::Image image = fresh();
        try {
            image.read(blob);
        } catch (const Magick::Warning& warning) {
            // A flaw GraphicsMagick works around (stray bytes, odd markers) still gives the
            // picture; a file that ends early gives only part of it, which is a failure.
            if (IsTruncation(warning)) reason = QStringLiteral("the file is incomplete (%1)").arg(MagickReason(warning));
        } catch (const Magick::Exception& e) {
            reason = DecodeFailure(e);
        }
        if (deadline.passed())
            reason = QStringLiteral("decoding the picture takes too long (more than %1 seconds)").arg(options.timeLimitMs / 1000.0);
        const int64_t w = image.columns(), h = image.rows();
        if (reason.isEmpty()) reason = PictureSizeRefusal(w, h, fileBytes, image.magick() == "WMF");
        if (!reason.isEmpty()) {
            result.error = OpenError(path, reason);
            return result;
        }
        if (image.colorSpace() == Magick::CMYKColorspace) image.colorSpace(Magick::RGBColorspace);
        QImage pixels = NewUninitializedPixelBuffer(static_cast<int>(w), static_cast<int>(h));
        CopyPixels(image, pixels, options.background);
        // Rows stored right to left are turned round in the buffer itself, not in a copy.
        if (mirrored)
            for (int y = 0; y < pixels.height(); ++y) {
                auto* row = reinterpret_cast<uint32_t*>(pixels.scanLine(y));
                std::reverse(row, row + pixels.width());
            }
        SetResolution(pixels, DeclaredResolution(image));
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

int64_t PixelBudget(int64_t fileBytes)
{
    if (fileBytes >= kMaxPicturePixels / kPixelsPerFileByte) return kMaxPicturePixels;
    return std::clamp(fileBytes * kPixelsPerFileByte, kMinPixelBudget, kMaxPicturePixels);
}

QString PictureSizeRefusal(int64_t w, int64_t h, int64_t fileBytes, bool vector)
{
    if (w <= 0 || h <= 0) return QStringLiteral("the file holds no picture");
    const int64_t maxSide = vector ? kMaxVectorSide : kMaxPictureSide;
    const QString what = vector ? QStringLiteral("the picture would be drawn too large") : QStringLiteral("the picture is too large");
    if (w > maxSide) return QStringLiteral("%1 (%2 pixels wide; at most %3)").arg(what).arg(w).arg(maxSide);
    if (h > maxSide) return QStringLiteral("%1 (%2 pixels high; at most %3)").arg(what).arg(h).arg(maxSide);
    const int64_t budget = PixelBudget(fileBytes);
    if (w * h > budget)
        return QStringLiteral("%1 (%2 x %3 pixels; a file of this size may hold at most %4 million)")
            .arg(what).arg(w).arg(h).arg(budget / 1'000'000);
    return {};
}

// Writes a picture atomically through `write`, which fills the temporary file it is given.
static bool EncodeAtomically(const QImage& image, const QString& path, QString* error,
                             const std::function<bool(const QString& tempPath, QString* reason)>& write)
{
    if (!CheckEncodable(image, path, error)) return false;
    try {
        return WriteFileAtomically(path, [&](const QString& tempPath, QString* err) {
            QString reason;
            if (write(tempPath, &reason)) return true;
            *err = SaveError(path, reason);
            return false;
        }, error);
    } catch (const std::bad_alloc&) {
        *error = SaveError(path, QStringLiteral("not enough memory"));
    }
    return false;
}

bool EncodeBmp24(const QImage& image, const QString& path, QString* error)
{
    return EncodeAtomically(image, path, error, [&](const QString& temp, QString* reason) {
        return WriteBmp24File(image, temp, reason);
    });
}

bool EncodePng24(const QImage& image, const QString& path, QString* error)
{
    return EncodeAtomically(image, path, error, [&](const QString& temp, QString* reason) {
        return WritePng24File(image, temp, reason);
    });
}

bool EncodeJpeg(const QImage& image, const QString& path, int quality, QString* error)
{
    return EncodeAtomically(image, path, error, [&](const QString& temp, QString* reason) {
        return WriteJpegFile(image, quality, temp, reason);
    });
}

QString SaveDestination(const QString& path, QString* error)
{
    if (QFileInfo(path).fileName().isEmpty()) {
        *error = SaveError(path, QStringLiteral("no file name was given"));
        return {};
    }
    QString reason;
    const QString destination = WrittenFile(path, &reason);
    if (destination.isEmpty()) {
        *error = SaveError(path, reason);
        return {};
    }
    const QString folder = QFileInfo(destination).absolutePath();
    const QFileInfo folderInfo(folder);
    if (!folderInfo.exists()) {
        *error = SaveError(path, QStringLiteral("the folder %1 does not exist").arg(Quoted(folder)));
        return {};
    }
    if (!folderInfo.isDir()) {
        *error = SaveError(path, QStringLiteral("%1 is not a folder").arg(Quoted(folder)));
        return {};
    }
    return destination;
}

// Removes the temporary files that saves killed half-way (a power cut, SIGKILL) left in
// `folder`: files of the user's own, of the temporary names saves give (".orvane-XXXXXX.tmp",
// and ".NAME.XXXXXX.tmp" of earlier versions, NAME a picture file), untouched for
// an hour, so that no save still running is disturbed.
static void RemoveStaleTemporaryFiles(const QString& folder)
{
    static const QRegularExpression ours(
        QStringLiteral("^\\.(orvane-|.+\\.(bmp|dib|rle|jpg|jpeg|jif|png)\\.)[A-Za-z0-9]{6}\\.tmp$"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList names = QDir(folder).entryList({QStringLiteral(".*.tmp")}, QDir::Files | QDir::Hidden | QDir::System);
    const time_t now = ::time(nullptr);
    for (const QString& name : names) {
        if (!ours.match(name).hasMatch()) continue;
        const QByteArray file = QFile::encodeName(folder + QLatin1Char('/') + name);
        struct stat st {};
        if (::lstat(file.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && now - st.st_mtime > 3600)
            ::unlink(file.constData());
    }
}

bool WriteFileAtomically(const QString& path,
                         const std::function<bool(const QString& tempPath, QString* error)>& write,
                         QString* error)
{
    const QString destination = SaveDestination(path, error);
    if (destination.isEmpty()) return false;
    const QString folder = QFileInfo(destination).absolutePath();
    const QFileInfo target(destination);

    const QByteArray destinationName = QFile::encodeName(destination);
    struct stat old {};
    const bool replacing = ::stat(destinationName.constData(), &old) == 0;
    // The file is replaced, not written into, so the folder's permission alone would let a file
    // the user may not write (another user's) be replaced by one of the user's own.
    if (replacing && ::faccessat(AT_FDCWD, destinationName.constData(), W_OK, AT_EACCESS) != 0) {
        *error = SaveError(path, SystemReason(errno));
        return false;
    }
    RemoveStaleTemporaryFiles(folder);
    // A short name of its own, so that a file name as long as the system allows can be saved.
    QByteArray temp = QFile::encodeName(folder + QStringLiteral("/.orvane-XXXXXX.tmp"));
    const int fd = ::mkstemps(temp.data(), 4);
    if (fd < 0) {
        // The folder is there (SaveDestination looked), so a file that cannot be made in it
        // means the folder cannot be written: some, such as /proc, say ENOENT for that.
        const int why = errno;
        const QString unwritable = QStringLiteral("the folder %1 cannot be written").arg(Quoted(folder));
        *error = SaveError(path, why == ENOENT                                    ? unwritable
                                 : why == EACCES || why == EPERM || why == EROFS ? unwritable + QStringLiteral(" (%1)").arg(SystemReason(why))
                                                                                 : SystemReason(why));
        return false;
    }
    // mkstemps makes the file private; the saved file gets the permissions of the file it
    // replaces, or those a newly created file gets.
    if (replacing) {
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
    if (::rename(temp.constData(), destinationName.constData()) != 0) {
        *error = SaveError(path, SystemReason(errno));
        return fail();
    }
    // The rename itself is made durable with the folder.
    const int folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

QString PictureFileProblem(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR
                   ? QStringLiteral("the file does not exist")
                   : QStringLiteral("the file cannot be read (%1)").arg(SystemReason(errno));
    if (S_ISDIR(st.st_mode)) return QStringLiteral("it is a folder, not a picture file");
    if (S_ISFIFO(st.st_mode)) return QStringLiteral("it is a named pipe, not a picture file");
    if (S_ISSOCK(st.st_mode)) return QStringLiteral("it is a socket, not a picture file");
    if (!S_ISREG(st.st_mode)) return QStringLiteral("it is a device, not a picture file");
    if (st.st_size == 0) return QStringLiteral("the file is empty");
    if (st.st_size > kMaxPictureFileBytes)
        return QStringLiteral("the file is too large (%1 MB; no picture Orvane opens needs more than %2 MB)")
            .arg(int64_t(st.st_size) >> 20).arg(kMaxPictureFileBytes >> 20);
    return {};
}

QString OpenError(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot open %1: %2.").arg(Quoted(path), reason);
}

} // namespace orv
