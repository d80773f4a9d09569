#include "effects/invert.h"
#include "effects/batch_params.h"
#include "effects/pixel_kernels.h"
#include "effects/row_map.h"

namespace orv {

namespace {

// A pass that sends every pixel p to ((p ^ flip) & keep) | set.
ColumnPass MaskPass(WorkingCopy& work, uint32_t flip, uint32_t keep, uint32_t set)
{
    ColumnPass pass;
    pass.columns = [&work, flip, keep, set](int x0, int x1) {
        MapRows(work, x0, x1, [=](const uint32_t* in, uint32_t* out, size_t n) {
            kernels::MaskRow(in, out, n, flip, keep, set);
        });
    };
    return pass;
}

} // namespace

std::vector<ColumnPass> InvertPasses(WorkingCopy& work, const InvertParams& p)
{
    if (p.red && p.green && p.blue) {
        // The whole-picture inversion: each of the 24 colour bits flips.
        ColumnPass pass = MaskPass(work, kColorMask, ~0u, 0);
        pass.wholeAtOnce = true;
        return {pass};
    }

    // Pixels of the working copy always split into bytes 0..255, so bringing the channels into
    // range changes nothing and the unchosen channels are cleared with a mask.
    const uint32_t keep = (p.red ? 0x0000FFu : 0u) | (p.green ? 0x00FF00u : 0u)
                          | (p.blue ? 0xFF0000u : 0u);
    if (p.mode == InvertMode::ColorSeparation) return {MaskPass(work, 0, keep, kPixelOpaque)};
    // Inverting only some channels has to say what the others become. Writing the negative
    // of the reduced colour would store a value that is no colour at all (top byte 0xFF for
    // every pixel but black), so the chosen channels are inverted and the others are 0,
    // which agrees with the all-channels inversion.
    return {MaskPass(work, ~0u, keep, kPixelOpaque)};
}

bool ParseInvertParams(const EffectParams& params, InvertParams* out, QString* error)
{
    const QString effect = QStringLiteral("invert");
    InvertParams p;
    int mode = 0;
    int red = 1;
    int green = 1;
    int blue = 1;
    const QStringList flag{QStringLiteral("0"), QStringLiteral("1")};
    if (!CheckParamNames(effect, params, {"mode", "red", "green", "blue"}, error)
        || !ReadChoiceParam(effect, params, "mode", {"invert", "separate"}, &mode, error)
        || !ReadChoiceParam(effect, params, "red", flag, &red, error)
        || !ReadChoiceParam(effect, params, "green", flag, &green, error)
        || !ReadChoiceParam(effect, params, "blue", flag, &blue, error))
        return false;
    p.mode = mode == 0 ? InvertMode::Invert : InvertMode::ColorSeparation;
    p.red = red == 1;
    p.green = green == 1;
    p.blue = blue == 1;
    *out = p;
    return true;
}

} // namespace orv
