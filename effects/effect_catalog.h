#pragma once
// The effects that orvane-batch can apply, by name. Each entry parses its NAME=VALUE
// parameters exactly as the effect's dialog reads its controls (defaults from the effect's
// Params struct) and runs the same kernel as the editor on a kPixelFormat picture.
#include "effects/column_passes.h"
#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

namespace orv {

using EffectParams = QMap<QString, QString>;

struct BatchEffect {
    QString name;
    // Runs on `image` (which may change size). On a bad parameter returns false with a
    // one-line message naming it in *error and leaves the image alone.
    std::function<bool(QImage& image, const EffectParams& params, ProgressSink* sink,
                       QString* error)> run;
    // Checks the parameters alone, before any picture is read; none for an effect that takes
    // no parameters.
    std::function<bool(const EffectParams& params, QString* error)> check;
    // What `orvane-batch --help` shows: one "NAME=VALUES (default)" per parameter, in the
    // order of the effect's dialog. The default is the value taken when the parameter is
    // left out; a parameter without one in parentheses must be given.
    QStringList params;
};

const std::vector<BatchEffect>& BatchEffects();
const BatchEffect* FindBatchEffect(const QString& name);

} // namespace orv
