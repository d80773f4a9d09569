#include "platform/icon_file.h"
#include <cstdint>

namespace orv {

namespace {

// A 6-byte header (reserved, type, entry count), then 16 bytes an entry: width, height,
// colour count, reserved, planes, bits a pixel, data size and data offset.
constexpr int64_t kHeaderBytes = 6, kEntryBytes = 16;

uint32_t Le(const QByteArray& b, int64_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uint8_t(b.constData()[at + i]);
    return v;
}

} // namespace

bool LargestIconAlone(const QByteArray& file, QByteArray* single, QString* reason)
{
    const int64_t size = file.size();
    const int64_t count = size >= kHeaderBytes ? Le(file, 4, 2) : 0;
    if (count == 0) {
        *reason = QStringLiteral("the file holds no picture");
        return false;
    }
    const int64_t dataStart = kHeaderBytes + count * kEntryBytes;
    if (dataStart > size) {
        *reason = QStringLiteral("the file is damaged (its directory lists %1 pictures but ends early)").arg(count);
        return false;
    }
    int64_t best = -1, bestKey = -1;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t e = kHeaderBytes + i * kEntryBytes;
        const int64_t bytes = Le(file, e + 8, 4), offset = Le(file, e + 12, 4);
        if (bytes == 0 || offset < dataStart || offset + bytes > size) {
            *reason = QStringLiteral("the file is damaged (the data of picture %1 lies outside the file)").arg(i + 1);
            return false;
        }
        const int64_t w = Le(file, e, 1) ? Le(file, e, 1) : 256;
        const int64_t h = Le(file, e + 1, 1) ? Le(file, e + 1, 1) : 256;
        const int64_t key = w * h * 65536 + Le(file, e + 6, 2);
        if (key > bestKey) {
            bestKey = key;
            best = e;
        }
    }
    const int64_t bytes = Le(file, best + 8, 4), offset = Le(file, best + 12, 4);
    QByteArray out = file.left(kHeaderBytes);
    out[4] = 1;
    out[5] = 0;
    out += file.mid(best, 12);
    const uint32_t newOffset = kHeaderBytes + kEntryBytes;
    for (int i = 0; i < 4; ++i) out += char(newOffset >> (8 * i) & 0xFF);
    out += file.mid(offset, bytes);
    *single = std::move(out);
    return true;
}

} // namespace orv
