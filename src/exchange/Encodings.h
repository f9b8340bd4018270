#pragma once
// Parameter values on the wire: how a read payload becomes a value text and how a value text
// becomes the location and value fields of a write request, by encoding code (the VType).
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Values written by code 30, in this order.
inline constexpr std::array<double, 5> Code30Table{7500, 25, 94, 9.4, 18};

// Four bytes of an IEEE 754 single, most significant (sign and exponent) first.
using TSingleBytes = std::array<uint8_t, 4>;

// Nearest single, halfway cases away from zero; zero gives four zero bytes. nullopt for NaN,
// infinities, magnitudes of 2^127 or more and non-zero magnitudes below 2^-126.
std::optional<TSingleBytes> FloatToSingle(double value);

// Value of a single; an exponent field of 0 gives 0. nullopt for exponent fields 254 and 255
// (magnitudes of 2^127 or more, infinities, NaN), which the instruments never hold.
std::optional<double> SingleToFloat(const TSingleBytes& bytes);

// Fixed text with five decimals ("1.50000", "-0.25000").
QString FloatToText5(double value);

// Sets the value text from a read payload; ExOk, or ExFailed (value text untouched) for a code
// without a decoding or a payload that is not what the code expects.
int DecodeValue(uint8_t code, const QString& payload, QString& valueText);

// Location and value fields of a write request; ExFailed (fields untouched) for an invalid value
// text or a code without a write layout.
int EncodeValue(uint8_t code, uint16_t paramAddress, uint8_t special, const QString& valueText,
                QString& location, QString& value);
