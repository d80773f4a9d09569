#include "desktop/scanner.h"
#include "platform/color.h"
#include <sane/sane.h>
#include <sane/saneopts.h>
#include <algorithm>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <pthread.h>
#include <vector>

// SANE's reader threads ask to be cancelled asynchronously, which kills a reader at whatever
// instruction it is at when a scan is cancelled, even inside the C library holding its locale
// or loader lock. The next user of that lock (sane_exit, or the program's own exit) then waits
// forever. This program keeps cancellation deferred: a cancelled reader ends at its next
// blocking call, with no lock held. The linker exports a definition that the C library also
// has, so the backends loaded later bind to this one.
extern "C" int pthread_setcanceltype(int, int* oldtype) noexcept
{
    using Call = int (*)(int, int*);
    static const Call next = reinterpret_cast<Call>(dlsym(RTLD_NEXT, "pthread_setcanceltype"));
    return next ? next(PTHREAD_CANCEL_DEFERRED, oldtype) : ENOSYS;
}

namespace orv {

namespace {

// SANE is not reentrant: one session at a time in the whole program.
std::mutex gSaneLock;
std::atomic<SANE_Int> gSaneVersion{0};   // from the first session that started

class SaneSession {
public:
    SaneSession() : lock_(gSaneLock)
    {
        SANE_Int version = 0;
        status_ = sane_init(&version, nullptr);
        if (status_ == SANE_STATUS_GOOD) gSaneVersion = version;
    }
    ~SaneSession()
    {
        if (handle_) sane_close(handle_);
        if (status_ == SANE_STATUS_GOOD) sane_exit();
    }
    bool ok() const { return status_ == SANE_STATUS_GOOD; }
    SANE_Status open(const QString& device) { return sane_open(device.toLocal8Bit().constData(), &handle_); }
    SANE_Handle handle() const { return handle_; }

private:
    std::lock_guard<std::mutex> lock_;
    SANE_Status status_;
    SANE_Handle handle_ = nullptr;
};

QString ScanError(const QString& device, const QString& reason)
{
    return QStringLiteral("Cannot scan from \"%1\": %2.").arg(device, reason);
}

QString ScanError(const QString& device, SANE_Status status)
{
    return ScanError(device, QString::fromLocal8Bit(sane_strstatus(status)).toLower());
}

// The active option of a device with a well-known name, and its number; none when absent.
const SANE_Option_Descriptor* FindOption(SANE_Handle h, const char* name, SANE_Int* number)
{
    SANE_Int count = 0;
    if (sane_control_option(h, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD) return nullptr;
    for (SANE_Int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
        if (d && d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap)) {
            *number = i;
            return d;
        }
    }
    return nullptr;
}

int ToDpi(const SANE_Option_Descriptor* d, SANE_Word w)
{
    return d->type == SANE_TYPE_FIXED ? int(SANE_UNFIX(w) + 0.5) : int(w);
}

SANE_Word FromDpi(const SANE_Option_Descriptor* d, int dpi)
{
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(double(dpi)) : SANE_Word(dpi);
}

// The value nearest to `w` that the option's constraint allows.
SANE_Word Allowed(const SANE_Option_Descriptor* d, SANE_Word w)
{
    if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
        const SANE_Range& r = *d->constraint.range;
        w = std::clamp(w, r.min, r.max);
        if (r.quant > 0) w = std::min<qint64>(r.max, r.min + (qint64(w) - r.min + r.quant / 2) / r.quant * r.quant);
    } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list[0] > 0) {
        const SANE_Word* list = d->constraint.word_list + 1;
        w = *std::min_element(list, list + d->constraint.word_list[0], [w](SANE_Word a, SANE_Word b) {
            return std::abs(qint64(a) - w) < std::abs(qint64(b) - w);
        });
    }
    return w;
}

void ReadChoices(SANE_Handle h, ScanChoices* c)
{
    SANE_Int n = 0;
    if (const SANE_Option_Descriptor* d = FindOption(h, SANE_NAME_SCAN_MODE, &n)) {
        if (d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
            for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s) c->modes << QString::fromLocal8Bit(*s);
        std::vector<char> value(size_t(std::max<SANE_Int>(d->size, 1)), '\0');
        if (sane_control_option(h, n, SANE_ACTION_GET_VALUE, value.data(), nullptr) == SANE_STATUS_GOOD)
            c->mode = QString::fromLocal8Bit(value.data());
    }
    if (const SANE_Option_Descriptor* d = FindOption(h, SANE_NAME_SCAN_RESOLUTION, &n)) {
        if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
            for (SANE_Int i = 1; i <= d->constraint.word_list[0]; ++i) c->resolutions << ToDpi(d, d->constraint.word_list[i]);
        } else if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
            // The usual steps that the device's range allows.
            for (int dpi : {50, 75, 100, 150, 200, 300, 600, 1200, 2400})
                if (Allowed(d, FromDpi(d, dpi)) == FromDpi(d, dpi)) c->resolutions << dpi;
        }
        // Some devices report a current value outside their own range (SANE's test device
        // says 0 dpi when its settings name none): the nearest allowed one stands for it.
        SANE_Word value = 0;
        if (sane_control_option(h, n, SANE_ACTION_GET_VALUE, &value, nullptr) == SANE_STATUS_GOOD) {
            c->resolution = ToDpi(d, Allowed(d, value));
            if (!c->resolutions.contains(c->resolution)) {
                c->resolutions << c->resolution;
                std::sort(c->resolutions.begin(), c->resolutions.end());
            }
        }
    }
}

SANE_Status Apply(SANE_Handle h, const ScanSettings& s)
{
    SANE_Int n = 0;
    if (!s.mode.isEmpty()) {
        if (const SANE_Option_Descriptor* d = FindOption(h, SANE_NAME_SCAN_MODE, &n)) {
            QByteArray value = s.mode.toLocal8Bit();
            value.resize(std::max<qsizetype>(d->size, value.size() + 1), '\0');
            const SANE_Status st = sane_control_option(h, n, SANE_ACTION_SET_VALUE, value.data(), nullptr);
            if (st != SANE_STATUS_GOOD) return st;
        }
    }
    if (s.resolution > 0) {
        if (const SANE_Option_Descriptor* d = FindOption(h, SANE_NAME_SCAN_RESOLUTION, &n)) {
            SANE_Word value = FromDpi(d, s.resolution);
            const SANE_Status st = sane_control_option(h, n, SANE_ACTION_SET_VALUE, &value, nullptr);
            if (st != SANE_STATUS_GOOD) return st;
        }
    }
    return SANE_STATUS_GOOD;
}

// One sample of a row as an 8-bit intensity.
int Sample(const uint8_t* row, int index, int depth, bool gray)
{
    switch (depth) {
    case 1: {
        const bool bit = (row[index / 8] >> (7 - index % 8)) & 1;
        // A set bit is black in line art, full intensity in colour.
        return gray ? (bit ? 0 : 255) : (bit ? 255 : 0);
    }
    case 16: {
        uint16_t v;
        std::memcpy(&v, row + index * 2, 2);   // SANE gives 16-bit samples in host order
        return v >> 8;
    }
    default: return row[index];
    }
}

// Puts one frame's rows into the picture: grey or RGB fill every channel, a red, green or
// blue frame its own.
void PutFrame(const SANE_Parameters& p, const std::vector<uint8_t>& data, QImage* image)
{
    const int lines = int(data.size() / size_t(p.bytes_per_line));
    if (image->isNull()) *image = NewPixelBuffer(p.pixels_per_line, lines, 0);
    const bool gray = p.format == SANE_FRAME_GRAY;
    const int only = p.format == SANE_FRAME_GREEN ? 1 : p.format == SANE_FRAME_BLUE ? 2 : 0;
    const int w = std::min(p.pixels_per_line, image->width());
    for (int y = 0; y < std::min(lines, image->height()); ++y) {
        const uint8_t* in = data.data() + size_t(y) * size_t(p.bytes_per_line);
        uint8_t* px = image->scanLine(y);
        for (int x = 0; x < w; ++x, px += 4) {
            if (gray) {
                px[0] = px[1] = px[2] = uint8_t(Sample(in, x, p.depth, true));
            } else if (p.format == SANE_FRAME_RGB) {
                for (int c = 0; c < 3; ++c) px[c] = uint8_t(Sample(in, 3 * x + c, p.depth, false));
            } else {
                px[only] = uint8_t(Sample(in, x, p.depth, false));
            }
        }
    }
}

} // namespace

QList<ScanDevice> FindScanDevices()
{
    SaneSession session;
    QList<ScanDevice> devices;
    const SANE_Device** list = nullptr;
    if (!session.ok() || sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list) return devices;
    for (const SANE_Device** d = list; *d; ++d)
        devices.append({QString::fromLocal8Bit((*d)->name),
                        QStringLiteral("%1 %2 (%3)").arg(QString::fromLocal8Bit((*d)->vendor),
                                                         QString::fromLocal8Bit((*d)->model),
                                                         QString::fromLocal8Bit((*d)->type))});
    return devices;
}

bool ReadScanChoices(const QString& device, ScanChoices* choices, QString* error)
{
    SaneSession session;
    const SANE_Status st = session.ok() ? session.open(device) : SANE_STATUS_INVAL;
    if (st != SANE_STATUS_GOOD) {
        *error = ScanError(device, st);
        return false;
    }
    ReadChoices(session.handle(), choices);
    return true;
}

ScanResult AcquirePicture(const QString& device, const ScanSettings& settings,
                          const std::function<void(int)>& progress, const std::atomic<bool>& cancel)
{
    ScanResult result;
    SaneSession session;
    SANE_Status st = session.ok() ? session.open(device) : SANE_STATUS_INVAL;
    if (st == SANE_STATUS_GOOD) st = Apply(session.handle(), settings);
    if (st != SANE_STATUS_GOOD) {
        result.error = ScanError(device, st);
        return result;
    }
    SANE_Handle h = session.handle();

    // A picture comes as one frame (grey or RGB) or as three (red, green, blue).
    QImage image;
    std::vector<uint8_t> chunk(64 * 1024);
    for (bool last = false; !last && st == SANE_STATUS_GOOD;) {
        SANE_Parameters p{};
        st = sane_start(h);
        if (st == SANE_STATUS_GOOD) st = sane_get_parameters(h, &p);
        if (st != SANE_STATUS_GOOD) break;
        last = p.last_frame;
        if (p.pixels_per_line <= 0 || p.bytes_per_line <= 0 || (p.depth != 1 && p.depth != 8 && p.depth != 16)) {
            sane_cancel(h);
            result.error = ScanError(device, QStringLiteral("the device sends pictures in a form Orvane does not read"));
            return result;
        }
        std::vector<uint8_t> data;
        const qint64 expected = p.lines > 0 ? qint64(p.lines) * p.bytes_per_line : 0;
        if (expected > 0) data.reserve(size_t(expected));
        while (!cancel) {
            SANE_Int got = 0;
            st = sane_read(h, chunk.data(), SANE_Int(chunk.size()), &got);
            if (st != SANE_STATUS_GOOD) break;
            data.insert(data.end(), chunk.begin(), chunk.begin() + got);
            if (progress && expected > 0) progress(int(std::min<qint64>(100, 100 * qint64(data.size()) / expected)));
        }
        if (cancel) st = SANE_STATUS_CANCELLED;
        if (st != SANE_STATUS_EOF) break;
        st = SANE_STATUS_GOOD;
        PutFrame(p, data, &image);
    }
    sane_cancel(h);
    if (st == SANE_STATUS_CANCELLED) {
        result.cancelled = true;
    } else if (st != SANE_STATUS_GOOD) {
        result.error = ScanError(device, st);
    } else if (image.isNull() || image.height() == 0) {
        result.error = ScanError(device, QStringLiteral("the device sent no picture"));
    } else {
        result.image = image;
    }
    return result;
}

QString ScannerLibraryVersion()
{
    // A session in progress has already started SANE and left its version.
    if (gSaneVersion == 0) {
        SaneSession session;
    }
    const SANE_Int v = gSaneVersion;
    if (v == 0) return QString();
    return QStringLiteral("%1.%2.%3").arg(SANE_VERSION_MAJOR(v)).arg(SANE_VERSION_MINOR(v)).arg(SANE_VERSION_BUILD(v));
}

} // namespace orv
