#include "effects/effect_catalog.h"
#include "effects/brightness.h"
#include "effects/contrast.h"
#include "effects/flip.h"
#include "effects/geometry_kernels.h"
#include "effects/grayscale.h"
#include "effects/invert.h"
#include "effects/picture_roll.h"
#include "effects/tornado.h"
#include "effects/rotate90.h"
#include "effects/stained_glass.h"
#include "effects/typical.h"
#include "effects/working_copy.h"
#include "effects/circlize.h"
#include "effects/crystal_shaper.h"
#include "effects/round_wobbly.h"
#include "effects/waving.h"
#include "effects/wobbly.h"
#include "fills/drip.h"
#include "fills/fill_batch.h"
#include "fills/gradient.h"
#include "fills/grid.h"
#include "fills/image_fill.h"
#include "fills/insert_image.h"
#include "fills/mix.h"
#include "fills/plasma.h"
#include "fills/video_feedback.h"

namespace orv {

namespace {

// none: the picture comes back unchanged. No working copy is made, so that a decode/encode
// round trip holds the picture in memory once.
bool RunNone(QImage&, const EffectParams&, ProgressSink*, QString*)
{
    return true;
}

// An effect with parameters: parse them as its dialog reads its controls, then run its passes
// on a working copy exactly as the editor does.
template <class Params,
          bool (*Parse)(const EffectParams&, Params*, QString*),
          std::vector<ColumnPass> (*Passes)(WorkingCopy&, const Params&)>
bool RunWith(QImage& image, const EffectParams& params, ProgressSink* sink, QString* error)
{
    Params p;
    if (!Parse(params, &p, error)) return false;
    return RunOnWorkingCopy(image, [&p](WorkingCopy& work) { return Passes(work, p); }, sink);
}

// An effect without parameters, run on a working copy.
template <std::vector<ColumnPass> (*Passes)(WorkingCopy&)>
bool RunPlain(QImage& image, const EffectParams&, ProgressSink* sink, QString*)
{
    return RunOnWorkingCopy(image, [](WorkingCopy& work) { return Passes(work); }, sink);
}

// A flip: one mirrored copy of the picture onto itself, without a working copy.
template <void (*Flip)(QImage&)>
bool RunInPlace(QImage& image, const EffectParams&, ProgressSink*, QString*)
{
    Flip(image);
    return true;
}

template <class Params, bool (*Parse)(const EffectParams&, Params*, QString*)>
bool CheckWith(const EffectParams& params, QString* error)
{
    Params p;
    return Parse(params, &p, error);
}

} // namespace

const std::vector<BatchEffect>& BatchEffects()
{
    // One entry per effect: name, runner, parameter check, the parameters --help shows.
    static const std::vector<BatchEffect> effects = {
        {QStringLiteral("none"), RunNone, {}, {}},
        {QStringLiteral("invert"),
         RunWith<InvertParams, ParseInvertParams, InvertPasses>,
         CheckWith<InvertParams, ParseInvertParams>,
         {"mode=invert|separate (invert)", "red=0|1 (1)", "green=0|1 (1)", "blue=0|1 (1)"}},
        {QStringLiteral("brightness"),
         RunWith<BrightnessParams, ParseBrightnessParams, BrightnessPasses>,
         CheckWith<BrightnessParams, ParseBrightnessParams>,
         {"value=-100..100 (0)"}},
        {QStringLiteral("contrast"),
         RunWith<ContrastParams, ParseContrastParams, ContrastPasses>,
         CheckWith<ContrastParams, ParseContrastParams>,
         {"value=-200..200 (1)"}},
        {QStringLiteral("grayscale"), RunPlain<GrayscalePasses>, {}, {}},
        {QStringLiteral("flip-horizontal"), RunInPlace<FlipHorizontal>, {}, {}},
        {QStringLiteral("flip-vertical"), RunInPlace<FlipVertical>, {}, {}},
        {QStringLiteral("rotate90"), RunPlain<Rotate90Passes>, {}, {}},
        {QStringLiteral("rotate"), RunRotateBatch, CheckRotateParams, {"angle=TEXT (90)"}},
        {QStringLiteral("resize"), RunResizeBatch, CheckResizeParams,
         {"width=TEXT[%] (100%)", "height=TEXT[%] (100%)",
          "filter=lanczos|nearest (lanczos)"}},
        {QStringLiteral("border"), RunBorderBatch, CheckBorderParams, {"width=TEXT (10)", "color=COLORREF (0)"}},
        {QStringLiteral("stained-glass"),
         RunWith<StainedGlassParams, ParseStainedGlassParams, StainedGlassPasses>,
         CheckWith<StainedGlassParams, ParseStainedGlassParams>,
         {"width=TEXT (5)", "height=TEXT (5)"}},
        {QStringLiteral("typical"),
         RunWith<TypicalParams, ParseTypicalParams, TypicalPasses>,
         CheckWith<TypicalParams, ParseTypicalParams>,
         {"filter=Emboss|Diffuse|Sharpen|Smooth (Emboss)"}},
        {QStringLiteral("wobbly"),
         RunWith<WobblyParams, ParseWobblyParams, WobblyPasses>,
         CheckWith<WobblyParams, ParseWobblyParams>,
         {"mode=top|left|both (both)", "width=TEXT (10)"}},
        {QStringLiteral("crystal-shaper"), RunInPlace<CrystalShape>, {}, {}},
        {QStringLiteral("waving"),
         RunWith<WavingParams, ParseWavingParams, WavingPasses>,
         CheckWith<WavingParams, ParseWavingParams>,
         {"phase=INT (0)", "freq=0..10 (4)"}},
        {QStringLiteral("round-wobbly"),
         RunWith<RoundWobblyParams, ParseRoundWobblyParams, RoundWobblyPasses>,
         CheckWith<RoundWobblyParams, ParseRoundWobblyParams>,
         {"direction=top|left|both (both)", "angle=TEXT (180)", "width=TEXT (10)",
          "height=TEXT (10)"}},
        {QStringLiteral("gradient"),
         RunDrawFill<GradientParams, ParseGradientParams, DrawGradient>,
         CheckWith<GradientParams, ParseGradientParams>,
         {"style=horizontal|vertical|special (horizontal)", "from=COLORREF (16711680)",
          "to=COLORREF (16776960)"}},
        {QStringLiteral("grid"),
         RunDrawFill<GridParams, ParseGridParams, DrawGrid>,
         CheckWith<GridParams, ParseGridParams>,
         {"columns=TEXT (3)", "rows=TEXT (3)", "3d=0|1 (0)", "width=TEXT (1)", "color=COLORREF (0)"}},
        {QStringLiteral("fill-image"),
         RunFileFill<FillImageParams, ParseFillImageParams, FillImageFromFile>,
         CheckWith<FillImageParams, ParseFillImageParams>,
         {"file=PATH"}},
        {QStringLiteral("insert-image"),
         RunFileFill<InsertImageParams, ParseInsertImageParams, InsertImageFromFile>,
         CheckWith<InsertImageParams, ParseInsertImageParams>,
         {"file=PATH", "key=COLORREF (0)"}},
        {QStringLiteral("mix"), RunMixBatch, CheckWith<MixParams, ParseMixParams>,
         {"file=PATH", "level=INT (0)", "max=TEXT (100)", "reverse=0|1 (0)", "resize=0|1 (0)"}},
        {QStringLiteral("circlize"),
         RunWith<CirclizeParams, ParseCirclizeParams, CirclizePasses>,
         CheckWith<CirclizeParams, ParseCirclizeParams>,
         {"ystep=TEXT (3.5)", "xstep=TEXT (2)", "radius=TEXT (20)"}},
        {QStringLiteral("drip"), RunDripBatch, CheckWith<DripParams, ParseDripParams>,
         {"direction=up|down|left|right (down)", "width=TEXT (50)", "height=TEXT (10)",
          "amount=0..1000 (0)"}},
        {QStringLiteral("video-feedback"),
         RunWith<VideoFeedbackParams, ParseVideoFeedbackParams, VideoFeedbackPasses>,
         CheckWith<VideoFeedbackParams, ParseVideoFeedbackParams>,
         {"step=TEXT (0.1)", "x=2..7 (2)", "y=2..7 (2)"}},
        {QStringLiteral("plasma"),
         RunWith<PlasmaParams, ParsePlasmaParams, PlasmaPasses>,
         CheckWith<PlasmaParams, ParsePlasmaParams>,
         {"seed=0..999999999 (1)", "turbulence=0..100 (50)"}},
        {QStringLiteral("roll"),
         RunWith<RollParams, ParseRollParams, RollPasses>,
         CheckWith<RollParams, ParseRollParams>,
         {"x=-32768..32768 (0)", "y=-32768..32768 (0)"}},
        {QStringLiteral("tornado"),
         RunWith<TornadoParams, ParseTornadoParams, TornadoPasses>,
         CheckWith<TornadoParams, ParseTornadoParams>,
         {"angle=TEXT (90)", "radius=TEXT (100)"}},
    };
    return effects;
}

const BatchEffect* FindBatchEffect(const QString& name)
{
    for (const BatchEffect& effect : BatchEffects()) {
        if (effect.name == name) return &effect;
    }
    return nullptr;
}

} // namespace orv
