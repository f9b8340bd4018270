#include "common/Numbers.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

using Numbers::FormatGeneral;
using Numbers::ParseFloat;
using Numbers::ParseInt;

TEST(Numbers, IntegerTextsDecimalAndHex) {
    EXPECT_EQ(ParseInt(u"12"), 12);
    EXPECT_EQ(ParseInt(u"-7"), -7);
    EXPECT_EQ(ParseInt(u"+7"), 7);
    EXPECT_EQ(ParseInt(u"  42"), 42); // leading blanks skipped
    EXPECT_EQ(ParseInt(u"$3E8"), 1000);
    EXPECT_EQ(ParseInt(u"0x3E8"), 1000);
    EXPECT_EQ(ParseInt(u"0X3e8"), 1000);
    EXPECT_EQ(ParseInt(u"x10"), 16);
    EXPECT_EQ(ParseInt(u"$FFFFFFFF"), -1); // a 32-bit pattern
    EXPECT_EQ(ParseInt(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseInt(u"-2147483648"), INT32_MIN);
}

TEST(Numbers, IntegerTextsRejected) {
    for (const char16_t* bad : {u"", u" ", u"12x", u"1.5", u"-", u"$", u"0x", u"$1FFFFFFFF", u"2147483648",
                                u"-2147483649", u"-$10", u"abc", u"12 "}) {
        EXPECT_FALSE(ParseInt(bad).has_value()) << QString::fromUtf16(bad).toStdString();
    }
}

TEST(Numbers, RealTexts) {
    EXPECT_DOUBLE_EQ(*ParseFloat(u"1.5"), 1.5);
    EXPECT_DOUBLE_EQ(*ParseFloat(u"-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(*ParseFloat(u"12"), 12.0);
    EXPECT_DOUBLE_EQ(*ParseFloat(u"1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(*ParseFloat(u" 2.5E-2"), 0.025);
    EXPECT_DOUBLE_EQ(*ParseFloat(u".5"), 0.5);
    for (const char16_t* bad : {u"", u"1,5", u"1.5x", u"e5", u"1e", u"nan", u"inf", u"1e999", u"--1"})
        EXPECT_FALSE(ParseFloat(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(Numbers, GeneralFormatAsReadValuesAreStored) {
    EXPECT_EQ(FormatGeneral(1.5), "1.5");
    EXPECT_EQ(FormatGeneral(12), "12");
    EXPECT_EQ(FormatGeneral(-0.25), "-0.25");
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(0.000001), "1E-6");
    EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
    EXPECT_EQ(FormatGeneral(0.1), "0.1");
    EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatGeneral(1.5e20), "1.5E20");
    EXPECT_EQ(FormatGeneral(-1234.5678), "-1234.5678");
    EXPECT_EQ(FormatGeneral(static_cast<double>(0.1f)), "0.100000001490116");
}

TEST(Numbers, HalfToEvenRounding) {
    EXPECT_EQ(Numbers::RoundHalfEven(12.5), 12);
    EXPECT_EQ(Numbers::RoundHalfEven(37.5), 38);
    EXPECT_EQ(Numbers::RoundHalfEven(62.5), 62);
    EXPECT_EQ(Numbers::RoundHalfEven(87.5), 88);
    EXPECT_EQ(Numbers::RoundHalfEven(2.6), 3);
}

TEST(Numbers, CommaLocaleDoesNotChangeTexts) {
    // A user whose regional settings write decimals with a comma.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_DOUBLE_EQ(*ParseFloat(u"1.5"), 1.5);
    EXPECT_FALSE(ParseFloat(u"1,5").has_value());
    EXPECT_EQ(FormatGeneral(1.5), "1.5");
    EXPECT_EQ(Numbers::FormatFixed(-0.25, 5), "-0.25000");
    if (previous)
        std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(saved);
}
