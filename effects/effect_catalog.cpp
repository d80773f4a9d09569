#include "effects/effect_catalog.h"

namespace orv {

namespace {

// none: the picture goes through a working copy and comes back unchanged.
bool RunNone(QImage& image, const EffectParams&, ProgressSink* sink, QString*)
{
    return RunOnWorkingCopy(image, [](WorkingCopy&) { return std::vector<ColumnPass>{}; }, sink);
}

} // namespace

const std::vector<BatchEffect>& BatchEffects()
{
    // One line per effect: name, parameter names, runner.
    static const std::vector<BatchEffect> effects = {
        {QStringLiteral("none"), {}, RunNone},
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
