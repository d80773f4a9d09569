#include "platform/png_codec.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include "platform/picture_codec.h"
#include <spng.h>
#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace orv {

bool WritePng24File(const QImage& picture, const QString& path, QString* reason)
{
    const QImage pixels = ToPixelFormat(picture);
    const auto w = static_cast<uint32_t>(pixels.width()), h = static_cast<uint32_t>(pixels.height());
    return WriteFileThroughStream(path, [&](FILE* file, QString* why) {
        std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
        if (!ctx) {
            *why = QStringLiteral("not enough memory");
            return false;
        }
        spng_ihdr ihdr{};
        ihdr.width = w;
        ihdr.height = h;
        ihdr.bit_depth = 8;
        ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
        int err = spng_set_png_file(ctx.get(), file);
        if (!err) err = spng_set_ihdr(ctx.get(), &ihdr);
        const PictureResolution r = ResolutionOf(pixels);
        if (!err && r.x > 0 && r.y > 0) {
            spng_phys phys{static_cast<uint32_t>(r.x), static_cast<uint32_t>(r.y), 1};   // per metre
            err = spng_set_phys(ctx.get(), &phys);
        }
        if (!err) err = spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
        if (!err) err = spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
        if (!err) err = spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
        std::vector<uint8_t> row(size_t(w) * 3);
        for (uint32_t y = 0; !err && y < h; ++y) {
            const auto* in = reinterpret_cast<const uint8_t*>(pixels.constScanLine(int(y)));
            for (uint32_t x = 0; x < w; ++x) {
                row[3 * x] = in[4 * x];
                row[3 * x + 1] = in[4 * x + 1];
                row[3 * x + 2] = in[4 * x + 2];
            }
            err = spng_encode_row(ctx.get(), row.data(), row.size());
            if (err == SPNG_EOI) err = 0;
        }
        if (err) *why = QString::fromLatin1(spng_strerror(err));
        return err == 0;
    }, reason);
}

bool DecodeInterlacedPngDirectly(const char* data, size_t size, std::optional<ColorRef> background, QImage* picture,
                                 QString* refusal)
{
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(0), spng_ctx_free);
    spng_ihdr ihdr{};
    if (!ctx || spng_set_png_buffer(ctx.get(), data, size) != 0 || spng_get_ihdr(ctx.get(), &ihdr) != 0
        || ihdr.interlace_method != SPNG_INTERLACE_ADAM7)
        return false;
    *refusal = PictureSizeRefusal(ihdr.width, ihdr.height, int64_t(size), false);
    if (!refusal->isEmpty()) return true;
    // As the general decoder: a damaged critical chunk is an error, a damaged ancillary one is
    // dropped; no chunk, and not all of them together, may hold more than the slack.
    spng_set_crc_action(ctx.get(), SPNG_CRC_ERROR, SPNG_CRC_DISCARD);
    spng_set_chunk_limits(ctx.get(), size_t(kFormatSlackBytes), size_t(kFormatSlackBytes));
    // 16-bit channels come as they are and are scaled as the general decoder scales them.
    const bool deep = ihdr.bit_depth == 16;
    const int fmt = deep ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    const int w = int(ihdr.width), h = int(ihdr.height);
    QImage pixels = NewUninitializedPixelBuffer(w, h);   // the seven passes cover every pixel
    std::vector<uint8_t> row(size_t(w) * (deep ? 8 : 4));
    int err = spng_decode_image(ctx.get(), nullptr, 0, fmt, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
    // Each decoded row holds its pass's pixels in their places: those, and only those, go to
    // the picture's row.
    static constexpr int kStart[7] = {0, 4, 0, 2, 0, 1, 0}, kStep[7] = {8, 8, 4, 4, 2, 2, 1};
    while (!err) {
        spng_row_info info{};
        err = spng_get_row_info(ctx.get(), &info);
        if (!err) err = spng_decode_row(ctx.get(), row.data(), row.size());
        if (err && err != SPNG_EOI) break;
        auto* out = reinterpret_cast<uint32_t*>(pixels.scanLine(int(info.row_num)));
        for (int x = kStart[info.pass]; x < w; x += kStep[info.pass]) {
            uint32_t c[4];
            if (deep) {
                const auto* p = reinterpret_cast<const uint16_t*>(row.data()) + 4 * x;
                // The general decoder scales opacity (65535 - alpha), so alpha rounds up.
                for (int i = 0; i < 3; ++i) c[i] = p[i] / 257u;
                c[3] = 255 - (65535u - p[3]) / 257u;
            } else {
                for (int i = 0; i < 4; ++i) c[i] = row[4 * size_t(x) + i];
            }
            out[x] = c[0] | c[1] << 8 | c[2] << 16 | c[3] << 24;
        }
    }
    if (err != SPNG_EOI) {
        *refusal = err == SPNG_EOF || err == SPNG_IO_EOF
                       ? QStringLiteral("the file is incomplete (the picture data ends early)")
                       : QStringLiteral("the file is damaged or incomplete (%1)").arg(QString::fromLatin1(spng_strerror(err)));
        return true;
    }
    ComposeOntoBackground(pixels, background);
    spng_phys phys{};
    if (spng_get_phys(ctx.get(), &phys) == 0 && phys.unit_specifier == 1)
        SetResolution(pixels, {int(std::min<uint32_t>(phys.ppu_x, INT32_MAX)), int(std::min<uint32_t>(phys.ppu_y, INT32_MAX))});
    *picture = std::move(pixels);
    return true;
}

} // namespace orv
