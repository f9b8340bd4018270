// Value encodings: every worked example and edge case, bad payloads and the single conversions.
#include "exchange/Encodings.h"
#include "exchange/Exchange.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

namespace {
struct DecodeCase {
    uint8_t Code;
    const char* Payload;
    const char* Expected; // nullptr: ExFailed with the value text untouched
};

struct EncodeCase {
    uint8_t Code;
    uint16_t Address;
    uint8_t Special;
    const char* Text;
    const char* Location; // nullptr: ExFailed with both fields untouched
    const char* Value;
};

uint32_t Bits(const TSingleBytes& b) {
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}
TSingleBytes BytesOf(uint32_t bits) {
    return {uint8_t(bits >> 24), uint8_t(bits >> 16), uint8_t(bits >> 8), uint8_t(bits)};
}

void CheckDecodes(const std::vector<DecodeCase>& cases) {
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << int(c.Code) << " payload '" << c.Payload << "'");
        QString value = QStringLiteral("old");
        const int rc = DecodeValue(c.Code, QString::fromLatin1(c.Payload), value);
        if (c.Expected) {
            EXPECT_EQ(rc, ExOk);
            EXPECT_EQ(value.toStdString(), c.Expected);
        } else {
            EXPECT_EQ(rc, ExFailed);
            EXPECT_EQ(value, QStringLiteral("old"));
        }
    }
}

void CheckEncodes(const std::vector<EncodeCase>& cases) {
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << int(c.Code) << " text '" << c.Text << "'");
        QString location = QStringLiteral("L");
        QString value = QStringLiteral("V");
        const int rc = EncodeValue(c.Code, c.Address, c.Special, QString::fromUtf8(c.Text), location, value);
        if (c.Location) {
            EXPECT_EQ(rc, ExOk);
            EXPECT_EQ(location.toStdString(), c.Location);
            EXPECT_EQ(value.toStdString(), c.Value);
        } else {
            EXPECT_EQ(rc, ExFailed);
            EXPECT_EQ(location, QStringLiteral("L"));
            EXPECT_EQ(value, QStringLiteral("V"));
        }
    }
}
} // namespace

TEST(DecodeValue, IntegerCodes) {
    CheckDecodes({
        {0, "1F", "31"},
        {0, "00", "0"},
        {0, "FFFFFFFF", "-1"},
        {0, "7FFFFFFF", "2147483647"},
        {0, "1f", "31"},
        {2, "FEFF", "-2"},
        {2, "3412", "4660"},
        {2, "0080", "-32768"},
        {2, "FF7F", "32767"},
        {2, "0000", "0"},
    });
}

TEST(DecodeValue, SingleAndPassThroughCodes) {
    CheckDecodes({
        {3, "0000C03F", "1.50000"},
        {3, "CDCCCC3D", "0.10000"},
        {3, "000080BE", "-0.25000"},
        {3, "0000C842", "100.00000"},
        {3, "01000000", "0.00000"}, // subnormal pattern: exponent field 0
        {3, "00000080", "0.00000"}, // negative zero shows no sign
        {5, "12.75", "12.75"},
        {6, "00", "00"},
        {6, "", ""},
    });
    QString value = QStringLiteral("kept");
    EXPECT_EQ(DecodeValue(4, QStringLiteral("1234"), value), ExOk);
    EXPECT_EQ(value, QStringLiteral("kept"));
}

TEST(DecodeValue, BadPayloadsGiveNoValue) {
    CheckDecodes({
        {0, "", nullptr},
        {0, "1G", nullptr},
        {0, "123456789", nullptr},
        {0, " 1F", nullptr},
        {0, "-1", nullptr},
        {2, "FEF", nullptr},
        {2, "FEFFF", nullptr},
        {2, "FEGF", nullptr},
        {2, "", nullptr},
        {3, "0000C03", nullptr},
        {3, "0000C03F0", nullptr},
        {3, "0000C0ZF", nullptr},
        {3, "0000807F", nullptr}, // infinity
        {3, "0000C07F", nullptr}, // NaN
        {3, "0000007F", nullptr}, // 2^127: beyond the supported range
    });
}

TEST(DecodeValue, CodesWithoutDecodingFail) {
    CheckDecodes({{1, "00", nullptr},
                  {7, "00", nullptr},
                  {8, "00", nullptr},
                  {9, "00", nullptr},
                  {10, "00", nullptr},
                  {30, "00", nullptr},
                  {40, "00", nullptr},
                  {255, "00", nullptr}});
}

TEST(DecodeValue, SingleRunLayouts) {
    // 1.5, 2, -0.25 each least significant byte first.
    const char* run = "0000C03F00000040000080BE";
    CheckDecodes({
        {31, run, "1.50000"},
        {32, run, "2.00000"},
        {33, run, "-0.25000"},
        {34, run, nullptr}, // fewer singles than the code names
        {41, run, "|1.50000|"},
        {43, run, "|1.50000|2.00000|-0.25000|"},
        {44, run, nullptr},
        {31, "0000C03F000000", nullptr}, // not whole singles
        {31, "0000C03FXX000040", nullptr},
    });
}

TEST(EncodeValue, ByteAndWordCodes) {
    CheckEncodes({
        {0, 10, 0, "255", "00010A", "FF"},      {0, 10, 0, "256", "00010A", "00"},
        {0, 10, 0, "-1", "00010A", "FF"},       {0, 300, 0, "300", "000112C", "2C"},
        {0, 10, 0, "$1F", "00010A", "1F"},      {0, 10, 0, "  12", "00010A", "0C"},
        {0, 10, 0, "0x10", "00010A", "10"},     {5, 10, 0, "300", "0A3000", "2C"},
        {5, 300, 0, "7", "12C3000", "07"},      {10, 10, 0, "16", "001000", "10"},
        {10, 10, 0, "1", "001000", "01"},       {9, 10, 0, "5", "002020", "5"},
        {9, 10, 0, "26", "002020", "1A"},       {9, 10, 0, "16", "002020", "10"},
        {9, 10, 0, "0", "002020", "0"},         {9, 10, 0, "256", "002020", "0"},
        {2, 10, 0, "-2", "00010A", "FEFF"},     {2, 10, 0, "4660", "00010A", "3412"},
        {2, 10, 0, "-32768", "00010A", "0080"}, {2, 10, 0, "65536", "00010A", "0000"},
        {6, 10, 0, "5", "0A3040", "05"},        {6, 10, 0, "300", "0A3040", "12C"},
        {6, 10, 0, "-1", "0A3040", "FFFFFFFF"}, {6, 300, 0, "0", "12C3040", "00"},
        {4, 10, 0, "anything", "0A", ""},
    });
}

TEST(EncodeValue, InvalidIntegerTexts) {
    for (const uint8_t code : {0, 2, 5, 6, 9, 10})
        CheckEncodes({{code, 10, 0, "12x", nullptr, nullptr},
                      {code, 10, 0, "", nullptr, nullptr},
                      {code, 10, 0, "1.5", nullptr, nullptr},
                      {code, 10, 0, "2147483648", nullptr, nullptr},
                      {code, 10, 0, "12 ", nullptr, nullptr}});
}

TEST(EncodeValue, SingleCodes) {
    CheckEncodes({
        {3, 10, 0, "1.5", "00010A", "0000C03F"},
        {3, 10, 0, "0.1", "00010A", "CDCCCC3D"},
        {3, 10, 0, "0", "00010A", "00000000"},
        {3, 10, 0, "-0", "00010A", "00000000"},
        {3, 10, 0, " -2.5e0", "00010A", "000020C0"},
        {3, 10, 0, "1,5", nullptr, nullptr},
        {3, 10, 0, "abc", nullptr, nullptr},
        {3, 10, 0, "1e39", nullptr, nullptr},
        {3, 10, 0, "1.7015e38", nullptr, nullptr}, // 2^127 is about 1.70141e38
        {3, 10, 0, "1e-39", nullptr, nullptr},     // below the smallest normal single
        {8, 10, 1, "1.5", "0A3021", "3FC00000"},
        {8, 300, 2, "-1", "12C3022", "BF800000"},
        {8, 10, 1, "x", nullptr, nullptr},
    });
}

TEST(EncodeValue, TwoNumberListOfCode7) {
    CheckEncodes({
        {7, 10, 1, "|1.5|2|", "0A3061", "3FC0000040000000"},
        {7, 10, 2, "1|2|3|", "0A3062", "4000000040400000"}, // the leading item is dropped
        {7, 10, 0, "|1|2|9|junk", "0A3060", "3F80000040000000"},
        {7, 10, 0, "|1.5|", nullptr, nullptr},
        {7, 10, 0, "5", nullptr, nullptr},
        {7, 10, 0, "", nullptr, nullptr},
        {7, 10, 0, "|a|2|", nullptr, nullptr},
        {7, 10, 0, "|1|2", nullptr, nullptr},
    });
}

TEST(EncodeValue, Code30SendsTheTableWhateverTheText) {
    const char* table = "0060EA450000C8410000BC426666164100009041";
    CheckEncodes({{30, 10, 0, "", "00200A", table}, {30, 300, 0, "12x", "002012C", table}});
}

TEST(EncodeValue, CodesWithoutWriteLayoutFail) {
    for (const uint8_t code : {1, 11, 29, 31, 41, 255})
        CheckEncodes({{code, 10, 0, "1", nullptr, nullptr}});
}

TEST(FloatToSingle, HalfwayCasesGoAwayFromZero) {
    // 1 + 2^-24 lies exactly between 1 and the next single; a plain conversion picks the even one.
    const double half = 1.0 + std::ldexp(1.0, -24);
    ASSERT_EQ(std::bit_cast<uint32_t>(static_cast<float>(half)), 0x3F800000u);
    EXPECT_EQ(Bits(*FloatToSingle(half)), 0x3F800001u);
    EXPECT_EQ(Bits(*FloatToSingle(-half)), 0xBF800001u);
    // Halfway with an odd lower neighbour: both rules go up.
    EXPECT_EQ(Bits(*FloatToSingle(1.0 + 3 * std::ldexp(1.0, -24))), 0x3F800002u);
    // Carry into the exponent: just below 2 rounds up to 2.
    EXPECT_EQ(Bits(*FloatToSingle(2.0 - std::ldexp(1.0, -25))), 0x40000000u);
    EXPECT_EQ(Bits(*FloatToSingle(std::ldexp(1.0, -126))), 0x00800000u);
    // The largest accepted magnitude lies just below 2^127.
    EXPECT_EQ(Bits(*FloatToSingle(std::ldexp(2.0 - std::ldexp(1.0, -23), 126))), 0x7EFFFFFFu);
}

TEST(FloatToSingle, OutsideTheNormalRangeIsRefused) {
    for (const double v : {std::nan(""), double(INFINITY), -double(INFINITY), std::ldexp(1.0, 127),
                           -std::ldexp(1.0, 127), std::ldexp(1.0, -127), -std::ldexp(1.0, -130), 1e300})
        EXPECT_FALSE(FloatToSingle(v).has_value()) << v;
    EXPECT_EQ(Bits(*FloatToSingle(0.0)), 0u);
    EXPECT_EQ(Bits(*FloatToSingle(-0.0)), 0u);
}

TEST(FloatToSingle, AgreesWithTheHardwareAwayFromHalfwayCases) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(-2.0, 2.0);
    std::uniform_int_distribution<int> exponent(-120, 120);
    for (int i = 0; i < 20000; ++i) {
        const double v = std::ldexp(mantissa(rng), exponent(rng));
        if (std::fabs(v) < std::ldexp(1.0, -126)) {
            ASSERT_EQ(FloatToSingle(v).has_value(), v == 0) << v;
            continue;
        }
        const float nearest = static_cast<float>(v);
        // Skip exact halfway points, where the two rules differ on purpose.
        const double lower = std::nextafter(nearest, 0.0f);
        const double upper = std::nextafter(nearest, nearest * 2);
        if (std::fabs(v - nearest) == std::fabs(v - lower) || std::fabs(v - nearest) == std::fabs(upper - v))
            continue;
        const std::optional<TSingleBytes> single = FloatToSingle(v);
        ASSERT_TRUE(single.has_value()) << v;
        ASSERT_EQ(Bits(*single), std::bit_cast<uint32_t>(nearest)) << v;
        // And every normal single comes back as itself.
        ASSERT_EQ(*SingleToFloat(BytesOf(std::bit_cast<uint32_t>(nearest))), double(nearest));
    }
}

TEST(SingleToFloat, ExponentFieldDecides) {
    EXPECT_EQ(*SingleToFloat(BytesOf(0x3FC00000)), 1.5);
    EXPECT_EQ(*SingleToFloat(BytesOf(0x00000001)), 0.0);
    EXPECT_EQ(*SingleToFloat(BytesOf(0x807FFFFF)), 0.0);
    EXPECT_EQ(*SingleToFloat(BytesOf(0x7E800000)), std::ldexp(1.0, 126));
    EXPECT_FALSE(SingleToFloat(BytesOf(0x7F000000)).has_value());
    EXPECT_FALSE(SingleToFloat(BytesOf(0xFF800000)).has_value());
    EXPECT_FALSE(SingleToFloat(BytesOf(0x7FC00000)).has_value());
}

TEST(FloatToText5, FixedFiveDecimals) {
    EXPECT_EQ(FloatToText5(1.5), QStringLiteral("1.50000"));
    EXPECT_EQ(FloatToText5(-0.25), QStringLiteral("-0.25000"));
    EXPECT_EQ(FloatToText5(100), QStringLiteral("100.00000"));
    EXPECT_EQ(FloatToText5(1234567.125), QStringLiteral("1234567.12500"));
}

TEST(Encodings, WrittenValuesReadBackUnchanged) {
    for (const int v : {-32768, -1, 0, 1, 255, 4660, 32767}) {
        QString location, value, back;
        ASSERT_EQ(EncodeValue(2, 1, 0, QString::number(v), location, value), ExOk);
        ASSERT_EQ(DecodeValue(2, value, back), ExOk);
        EXPECT_EQ(back, QString::number(v));
    }
    for (const char* text : {"1.5", "-273.15", "0.001", "7500", "0"}) {
        QString location, value, back;
        ASSERT_EQ(EncodeValue(3, 1, 0, QString::fromLatin1(text), location, value), ExOk);
        ASSERT_EQ(DecodeValue(3, value, back), ExOk);
        EXPECT_EQ(back, FloatToText5(double(float(std::stod(text))))) << text;
    }
}
