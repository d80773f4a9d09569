#include "platform/png_codec.h"
#include "platform/color.h"
#include "platform/early_write_file.h"
#include <spng.h>
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

} // namespace orv
