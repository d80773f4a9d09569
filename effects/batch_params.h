#pragma once
// Reading the NAME=VALUE parameters of orvane-batch. Every failure gives a one-line message
// that starts with the effect's name and names the parameter.
#include "effects/effect_catalog.h"

namespace orv {

// False with "<effect>: unknown parameter <name>" when params holds a name not in `known`.
bool CheckParamNames(const QString& effect, const EffectParams& params, const QStringList& known,
                     QString* error);

// An integer lo .. hi. When absent, *value keeps its default and the result is true.
bool ReadIntParam(const QString& effect, const EffectParams& params, const QString& name,
                  int lo, int hi, int* value, QString* error);

// One of the given words; *index becomes its position. When absent, *index keeps its default.
bool ReadChoiceParam(const QString& effect, const EffectParams& params, const QString& name,
                     const QStringList& choices, int* index, QString* error);

// A COLORREF (decimal 0x00BBGGRR, 0 .. 16777215). When absent, *color keeps its default.
bool ReadColorParam(const QString& effect, const EffectParams& params, const QString& name,
                    int32_t* color, QString* error);

// A number given as text, read as the effect's dialog reads its text box: `read` turns the text
// into the number or refuses it; a refusal gives "<effect>: <name> must be <rule>". When
// absent, *value keeps its default.
bool ReadNumberParam(const QString& effect, const EffectParams& params, const QString& name,
                     bool (*read)(const QString& text, double* value), const QString& rule,
                     double* value, QString* error);

} // namespace orv
