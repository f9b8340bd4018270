#pragma once
// The value check of an edited parameter value against its description: number syntax, limits,
// bit-string length. The device table and the command-line program judge values by this one rule.
#include "model/Model.h"

#include <QString>
#include <optional>

enum class TValueVerdict {
    Ok,       // taken as it is (possibly with "," turned into ".")
    Bad,      // not a value of this parameter at all
    BelowMin, // text was replaced by the lower limit
    AboveMax, // text was replaced by the upper limit
};

// Checks text for parameter prm; the text may be changed (commas in reals, a limit in place of a
// value beyond it). An empty text is Ok here: completeness is checked before writing.
TValueVerdict CheckParamValue(const TParam& prm, QString& text);

// A limit that is not a decimal whole number sets no limit on its side.
std::optional<long long> ParamLimit(const QString& text);

// A bit string is written but never read back: when a read leaves it empty it takes its factory
// value, so that the values read can be written again.
bool TakesFactoryValueWhenNotRead(const TParam& prm, const QString& current);
