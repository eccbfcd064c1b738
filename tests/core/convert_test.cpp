#include "core/convert.h"
#include "core/rounding.h"

#include <gtest/gtest.h>

using namespace vantrel;

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(680.39), 680);
    EXPECT_EQ(RoundHalfEven(1499.14), 1499);
    EXPECT_EQ(RoundHalfEven(-0.4), 0);
    EXPECT_EQ(RoundHalfEven(1166 / 2.2046226), 529);
}

TEST(StrToInt, AcceptsWholeNumbersOnly) {
    EXPECT_EQ(StrToInt("190"), 190);
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("  42"), 42);
    EXPECT_EQ(StrToInt("0x1F"), 31);
    EXPECT_EQ(StrToInt("$ff"), 255);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "12a", "1.5", "42 ", "2147483648", "-", "0x", "abc", "1e3"}) {
        try {
            StrToInt(bad);
            FAIL() << "no error for '" << bad << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid integer value");
        }
    }
    EXPECT_EQ(StrToIntDef("x", -999), -999);
}

TEST(StrToFloat, PlainDecimalNotation) {
    EXPECT_DOUBLE_EQ(StrToFloat("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(StrToFloat(" -3.25 "), -3.25);
    EXPECT_DOUBLE_EQ(StrToFloat("+1e2"), 100.0);
    EXPECT_DOUBLE_EQ(StrToFloat("5"), 5.0);
    for (const char* bad : {"", "2,5", "nan", "inf", "0x10", "1.2.3", "abc", "1e999"}) {
        try {
            StrToFloat(bad);
            FAIL() << "no error for '" << bad << "'";
        } catch (const ConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + bad + "' is not a valid floating point value");
        }
    }
}

TEST(ZeroPad, PadsToWidthOnly) {
    EXPECT_EQ(ZeroPad("7", 3), "007");
    EXPECT_EQ(ZeroPad(90, 3), "090");
    EXPECT_EQ(ZeroPad("1234", 3), "1234");
    EXPECT_EQ(ZeroPad(0, 2), "00");
}
