#include "exchange/Encodings.h"

#include "exchange/Exchange.h"
#include "common/Numbers.h"

#include <bit>
#include <cmath>

namespace {
int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// Hexadecimal digits of either case, at most 8 of them, as a 32-bit pattern.
std::optional<uint32_t> ParseHex(QStringView text) {
    if (text.isEmpty() || text.size() > 8)
        return std::nullopt;
    uint32_t v = 0;
    for (const QChar c : text) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = (v << 4) | static_cast<uint32_t>(d);
    }
    return v;
}

QString Hex(uint32_t value, int minDigits) {
    return QString::number(value, 16).toUpper().rightJustified(minDigits, QLatin1Char('0'));
}

QString HexBytes(const TSingleBytes& bytes, bool mostSignificantFirst) {
    QString out;
    for (int i = 0; i < 4; ++i)
        out += Hex(bytes[static_cast<size_t>(mostSignificantFirst ? i : 3 - i)], 2);
    return out;
}

// Eight hex digits of a single written least significant byte first, as its value.
std::optional<double> SingleFromLowFirst(QStringView digits) {
    const std::optional<uint32_t> pattern = ParseHex(digits);
    if (!pattern || digits.size() != 8)
        return std::nullopt;
    // The digits read as one number put the first byte on the wire highest: swap to get the value.
    const uint32_t p = *pattern;
    const uint32_t bits = (p >> 24) | ((p >> 8) & 0xFF00u) | ((p << 8) & 0xFF0000u) | (p << 24);
    return SingleToFloat({static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
                          static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)});
}

std::optional<QString> EncodeSingle(const QString& numberText, bool mostSignificantFirst) {
    const std::optional<double> number = Numbers::ParseFloat(numberText);
    if (!number)
        return std::nullopt;
    const std::optional<TSingleBytes> single = FloatToSingle(*number);
    if (!single)
        return std::nullopt;
    return HexBytes(*single, mostSignificantFirst);
}

// The two numbers of a "|" list for code 7: the first item is a label and is skipped.
std::optional<QString> EncodeCode7(const QString& valueText) {
    QStringView rest(valueText);
    const qsizetype first = rest.indexOf(QLatin1Char('|'));
    if (first >= 0)
        rest = rest.mid(first + 1);
    QString out;
    for (int item = 0; item < 2; ++item) {
        const qsizetype bar = rest.indexOf(QLatin1Char('|'));
        if (bar < 0)
            return std::nullopt;
        const std::optional<QString> single = EncodeSingle(rest.left(bar).toString(), true);
        if (!single)
            return std::nullopt;
        out += *single;
        rest = rest.mid(bar + 1);
    }
    return out;
}

// Codes 31-39 and 41-49: a run of 8-digit singles, least significant byte first.
int DecodeSingleRun(uint8_t code, const QString& payload, QString& valueText) {
    const int count = code % 10;
    if (payload.size() % 8 != 0 || payload.size() < 8 * count)
        return ExFailed;
    QStringList texts;
    for (qsizetype i = 0; i < payload.size(); i += 8) {
        const std::optional<double> v = SingleFromLowFirst(QStringView(payload).mid(i, 8));
        if (!v)
            return ExFailed;
        texts.append(FloatToText5(*v));
    }
    if (code < 40) {
        valueText = texts[count - 1];
    } else {
        QString joined = QStringLiteral("|");
        for (int i = 0; i < count; ++i)
            joined += texts[i] + QLatin1Char('|');
        valueText = joined;
    }
    return ExOk;
}
} // namespace

std::optional<TSingleBytes> FloatToSingle(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double magnitude = std::fabs(value);
    if (magnitude == 0)
        return TSingleBytes{0, 0, 0, 0};
    if (magnitude >= std::ldexp(1.0, 127) || magnitude < std::ldexp(1.0, -126))
        return std::nullopt;
    // A plain conversion to float rounds halfway cases to even; round the 24-bit significand
    // ourselves so that they go away from zero. magnitude = fraction * 2^exponent, fraction in [0.5, 1).
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    double significand = std::round(std::ldexp(fraction, 24)); // exact: the scaling is a power of two
    if (significand == 16777216.0) {                           // rounded up to the next power of two
        significand = 8388608.0;
        ++exponent;
    }
    const uint32_t exponentField = static_cast<uint32_t>(exponent - 1 + 127);
    const uint32_t bits = (value < 0 ? 0x80000000u : 0u) | (exponentField << 23) |
                          (static_cast<uint32_t>(significand) & 0x7FFFFFu);
    return TSingleBytes{static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
                        static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
}

std::optional<double> SingleToFloat(const TSingleBytes& bytes) {
    const uint32_t bits = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) |
                          (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]);
    const uint32_t exponentField = (bits >> 23) & 0xFFu;
    if (exponentField == 0)
        return 0.0;
    if (exponentField >= 254)
        return std::nullopt;
    return static_cast<double>(std::bit_cast<float>(bits));
}

QString FloatToText5(double value) {
    return Numbers::FormatFixed(value, 5);
}

int DecodeValue(uint8_t code, const QString& payload, QString& valueText) {
    switch (code) {
    case 0: {
        const std::optional<uint32_t> v = ParseHex(payload);
        if (!v)
            return ExFailed;
        valueText = QString::number(static_cast<int32_t>(*v));
        return ExOk;
    }
    case 2: {
        const std::optional<uint32_t> v = ParseHex(payload);
        if (!v || payload.size() != 4)
            return ExFailed;
        const auto swapped = static_cast<uint16_t>(((*v & 0xFFu) << 8) | (*v >> 8));
        valueText = QString::number(static_cast<int16_t>(swapped));
        return ExOk;
    }
    case 3: {
        const std::optional<double> v = SingleFromLowFirst(payload);
        if (!v)
            return ExFailed;
        valueText = FloatToText5(*v);
        return ExOk;
    }
    case 4:
        return ExOk;
    case 5:
    case 6:
        valueText = payload;
        return ExOk;
    default:
        if ((code >= 31 && code <= 39) || (code >= 41 && code <= 49))
            return DecodeSingleRun(code, payload, valueText);
        return ExFailed;
    }
}

int EncodeValue(uint8_t code, uint16_t paramAddress, uint8_t special, const QString& valueText,
                QString& location, QString& value) {
    const QString hh = HexAddress(paramAddress);
    QString loc;
    std::optional<QString> val;
    switch (code) {
    case 0:
    case 5:
    case 10:
        if (const std::optional<int32_t> n = Numbers::ParseInt(valueText))
            val = Hex(static_cast<uint32_t>(*n) & 0xFFu, 2);
        loc = code == 0   ? QStringLiteral("0001") + hh
              : code == 5 ? hh + QStringLiteral("3000")
                          : QStringLiteral("001000");
        break;
    case 2:
        if (const std::optional<int32_t> n = Numbers::ParseInt(valueText)) {
            const uint32_t low16 = static_cast<uint32_t>(*n) & 0xFFFFu;
            val = Hex(low16 & 0xFFu, 2) + Hex(low16 >> 8, 2);
        }
        loc = QStringLiteral("0001") + hh;
        break;
    case 3:
        val = EncodeSingle(valueText, false);
        loc = QStringLiteral("0001") + hh;
        break;
    case 4:
        val = QString();
        loc = hh;
        break;
    case 6:
        if (const std::optional<int32_t> n = Numbers::ParseInt(valueText))
            val = Hex(static_cast<uint32_t>(*n), 2);
        loc = hh + QStringLiteral("3040");
        break;
    case 7:
        val = EncodeCode7(valueText);
        loc = hh + QStringLiteral("306") + QString::number(special);
        break;
    case 8:
        val = EncodeSingle(valueText, true);
        loc = hh + QStringLiteral("302") + QString::number(special);
        break;
    case 9:
        if (const std::optional<int32_t> n = Numbers::ParseInt(valueText))
            val = Hex(static_cast<uint32_t>(*n) & 0xFFu, 1);
        loc = QStringLiteral("002020");
        break;
    case 30: {
        QString all;
        for (const double v : Code30Table)
            all += HexBytes(*FloatToSingle(v), false);
        val = all;
        loc = QStringLiteral("0020") + hh;
        break;
    }
    default:
        break;
    }
    if (!val)
        return ExFailed;
    location = loc;
    value = *val;
    return ExOk;
}
