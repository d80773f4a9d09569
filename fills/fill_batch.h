#pragma once
// orvane-batch runs a fill as the editor draws it: straight onto the picture, without a
// working copy or progress.
#include "effects/effect_catalog.h"

namespace orv {

// A fill that cannot fail once its parameters are read.
template <class Params, bool (*Parse)(const EffectParams&, Params*, QString*),
          void (*Draw)(QImage&, const Params&)>
bool RunDrawFill(QImage& image, const EffectParams& params, ProgressSink*, QString* error)
{
    Params p;
    if (!Parse(params, &p, error)) return false;
    Draw(image, p);
    return true;
}

// A fill that reads a picture file, which may fail with a message naming the file.
template <class Params, bool (*Parse)(const EffectParams&, Params*, QString*),
          bool (*Apply)(QImage&, const Params&, QString*)>
bool RunFileFill(QImage& image, const EffectParams& params, ProgressSink*, QString* error)
{
    Params p;
    return Parse(params, &p, error) && Apply(image, p, error);
}

} // namespace orv
