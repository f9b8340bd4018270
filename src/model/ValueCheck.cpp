#include "model/ValueCheck.h"

#include "common/Numbers.h"

#include <limits>
#include <optional>

namespace {
// Decimal whole number: optional sign and ASCII digits, nothing else. Beyond 64 bits the value
// saturates (saturate) or the text is not taken as a number.
std::optional<long long> ParseWhole(const QString& text, bool saturate) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= n)
        return std::nullopt;
    constexpr long long maxV = std::numeric_limits<long long>::max();
    long long v = 0;
    bool overflow = false;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int d = c - u'0';
        if (v > (maxV - d) / 10)
            overflow = true;
        else
            v = v * 10 + d;
    }
    if (overflow) {
        if (!saturate)
            return std::nullopt;
        return negative ? std::numeric_limits<long long>::min() : maxV;
    }
    return negative ? -v : v;
}

} // namespace

std::optional<long long> ParamLimit(const QString& text) {
    return ParseWhole(text, false);
}

bool TakesFactoryValueWhenNotRead(const TParam& prm, const QString& current) {
    return prm.VType == 4 && prm.SType == 0 && current.isEmpty();
}

TValueVerdict CheckParamValue(const TParam& prm, QString& text) {
    const std::optional<long long> lo = ParamLimit(prm.Vmin);
    const std::optional<long long> hi = ParamLimit(prm.Vmax);

    if (prm.VType == 4) { // bit string: length within the limits, only 0 and 1
        const long long len = text.size();
        bool ok = (!lo || len >= *lo) && (!hi || len <= *hi);
        for (const QChar c : text)
            ok = ok && (c == QLatin1Char('0') || c == QLatin1Char('1'));
        if (!ok)
            return TValueVerdict::Bad;
    }
    if (prm.SType != 0)
        return TValueVerdict::Ok;
    // The project file separates values by "|" without any escape and holds each device's values
    // on one line.
    if (text.contains(QLatin1Char('|')) || text.contains(QLatin1Char('\n')) ||
        text.contains(QLatin1Char('\r')))
        return TValueVerdict::Bad;
    if (text.isEmpty())
        return TValueVerdict::Ok;
    TValueVerdict verdict = TValueVerdict::Ok;
    switch (prm.VType) {
    case 0:
    case 1:
    case 2: {
        const std::optional<long long> v = ParseWhole(text, true);
        if (!v)
            return TValueVerdict::Bad;
        if (lo && *v < *lo) {
            text = prm.Vmin;
            verdict = TValueVerdict::BelowMin;
        }
        if (hi && *v > *hi) {
            text = prm.Vmax;
            verdict = TValueVerdict::AboveMax;
        }
        break;
    }
    case 3: {
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        const std::optional<double> v = Numbers::ParseFloat(text);
        if (!v)
            return TValueVerdict::Bad;
        if (lo && !(*v >= static_cast<double>(*lo))) {
            text = prm.Vmin;
            verdict = TValueVerdict::BelowMin;
        }
        if (hi && *v > static_cast<double>(*hi)) {
            text = prm.Vmax;
            verdict = TValueVerdict::AboveMax;
        }
        break;
    }
    default:
        break;
    }
    return verdict;
}
