#include "effects/batch_params.h"

namespace orv {

bool CheckParamNames(const QString& effect, const EffectParams& params, const QStringList& known,
                     QString* error)
{
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        if (!known.contains(it.key())) {
            *error = QStringLiteral("%1: unknown parameter %2").arg(effect, it.key());
            return false;
        }
    }
    return true;
}

bool ReadIntParam(const QString& effect, const EffectParams& params, const QString& name,
                  int lo, int hi, int* value, QString* error)
{
    const auto it = params.constFind(name);
    if (it == params.cend()) return true;
    bool ok = false;
    const int v = it.value().toInt(&ok, 10);
    if (!ok || v < lo || v > hi) {
        *error = QStringLiteral("%1: %2 must be an integer from %3 to %4")
                     .arg(effect, name).arg(lo).arg(hi);
        return false;
    }
    *value = v;
    return true;
}

bool ReadChoiceParam(const QString& effect, const EffectParams& params, const QString& name,
                     const QStringList& choices, int* index, QString* error)
{
    const auto it = params.constFind(name);
    if (it == params.cend()) return true;
    const int i = choices.indexOf(it.value());
    if (i < 0) {
        QString words = choices.first();
        for (int k = 1; k < choices.size(); ++k)
            words += (k + 1 == choices.size() ? QStringLiteral(" or ") : QStringLiteral(", "))
                     + choices[k];
        *error = QStringLiteral("%1: %2 must be %3").arg(effect, name, words);
        return false;
    }
    *index = i;
    return true;
}

bool ReadColorParam(const QString& effect, const EffectParams& params, const QString& name,
                    int32_t* color, QString* error)
{
    const auto it = params.constFind(name);
    if (it == params.cend()) return true;
    bool ok = false;
    const int v = it.value().toInt(&ok, 10);
    if (!ok || v < 0 || v > 0xFFFFFF) {
        *error = QStringLiteral("%1: %2 must be a colour 0x00BBGGRR in decimal, from 0 to 16777215")
                     .arg(effect, name);
        return false;
    }
    *color = v;
    return true;
}

bool ReadNumberParam(const QString& effect, const EffectParams& params, const QString& name,
                     bool (*read)(const QString& text, double* value), const QString& rule,
                     double* value, QString* error)
{
    const auto it = params.constFind(name);
    if (it == params.cend() || read(it.value(), value)) return true;
    *error = QStringLiteral("%1: %2 must be %3").arg(effect, name, rule);
    return false;
}

} // namespace orv
