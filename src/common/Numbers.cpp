#include "common/Numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace Numbers {

namespace {
int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
bool IsDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
} // namespace

std::optional<int32_t> ParseInt(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    if (i >= n)
        return std::nullopt;

    // Hexadecimal: prefix, then digits of a 32-bit pattern.
    qsizetype hexStart = -1;
    if (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))
        hexStart = i + 1;
    else if (text[i] == QLatin1Char('0') && i + 1 < n &&
             (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X')))
        hexStart = i + 2;
    if (hexStart >= 0) {
        if (hexStart >= n)
            return std::nullopt;
        uint64_t v = 0;
        for (qsizetype k = hexStart; k < n; ++k) {
            const int d = HexDigit(text[k]);
            if (d < 0)
                return std::nullopt;
            v = (v << 4) | static_cast<uint64_t>(d);
            if (v > 0xFFFFFFFFull)
                return std::nullopt;
        }
        return static_cast<int32_t>(static_cast<uint32_t>(v));
    }

    bool negative = false;
    if (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= n)
        return std::nullopt;
    int64_t v = 0;
    for (; i < n; ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        v = v * 10 + (text[i].unicode() - '0');
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<double> ParseFloat(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    std::string ascii;
    ascii.reserve(static_cast<size_t>(n - i));
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            ascii.push_back('-');
        ++i;
    }
    int digits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits)
        ascii.push_back(static_cast<char>(text[i].unicode()));
    if (i < n && text[i] == QLatin1Char('.')) {
        ascii.push_back('.');
        for (++i; i < n && IsDigit(text[i]); ++i, ++digits)
            ascii.push_back(static_cast<char>(text[i].unicode()));
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ascii.push_back('e');
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            ascii.push_back(static_cast<char>(text[i].unicode()));
            ++i;
        }
        int expDigits = 0;
        for (; i < n && IsDigit(text[i]); ++i, ++expDigits)
            ascii.push_back(static_cast<char>(text[i].unicode()));
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    double v = 0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a usable number.
        const auto e = ascii.find('e');
        if (e != std::string::npos && ascii.find('-', e) != std::string::npos)
            return ascii[0] == '-' ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString FormatGeneral(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // 15 significant digits, then lay them out ourselves: the C library's %g switches to scientific
    // notation at another threshold and writes exponents with leading zeros.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    const auto ePos = s.find('e');
    const int exponent = std::stoi(s.substr(ePos + 1));
    std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out;
    if (exponent < -5 || exponent >= 15) {
        out = digits.substr(0, 1);
        if (digits.size() > 1)
            out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto intLen = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intLen) {
            out = digits + std::string(intLen - digits.size(), '0');
        } else {
            out = digits.substr(0, intLen) + "." + digits.substr(intLen);
        }
    }
    if (negative)
        out.insert(out.begin(), '-');
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString FormatFixed(double value, int decimals) {
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc())
        return QString();
    QString out = QString::fromLatin1(buf, res.ptr - buf);
    // A negative value that rounds to zero keeps no sign ("-0.00000" would read oddly).
    if (out.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (qsizetype k = 1; k < out.size(); ++k)
            if (out[k] != QLatin1Char('0') && out[k] != QLatin1Char('.'))
                allZero = false;
        if (allZero)
            out.remove(0, 1);
    }
    return out;
}

long long RoundHalfEven(double value) { return static_cast<long long>(std::nearbyint(value)); }

} // namespace Numbers
