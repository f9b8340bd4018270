#pragma once
// Number texts with "." as the decimal separator, whatever the user's regional settings.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace Numbers {
// Integer text as files and instruments write it: leading blanks skipped; an optional sign with
// decimal digits (signed 32-bit range), or a hexadecimal prefix ("$", "x", "X", "0x", "0X") with
// hexadecimal digits taken as a 32-bit pattern ($FFFFFFFF is -1); nothing may follow.
std::optional<int32_t> ParseInt(QStringView text);

// Real number text: optional leading blanks, optional sign, digits with an optional "." fraction and
// an optional exponent; nothing may follow. NaN and infinities are not numbers here.
std::optional<double> ParseFloat(QStringView text);

// General format with at most 15 significant digits: no trailing zeros, no "." for whole numbers,
// scientific notation ("1E-6", "1.5E20") below 0.00001 in magnitude or beyond 15 integer digits.
QString FormatGeneral(double value);

// Fixed notation with the given number of decimals and "." ("1.50000").
QString FormatFixed(double value, int decimals);

// Rounds half to even, as the progress bar and the printout need.
long long RoundHalfEven(double value);
} // namespace Numbers
