#include "core/Vb.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Vb, ReadsTheNumberAtTheStartOfTheText) {
    // Leading blanks skipped, "." the only decimal mark, an exponent read, no number 0.
    const std::pair<const char*, double> cases[] = {{"12kg", 12},   {"  3.5", 3.5},  {"abc", 0},  {"", 0},
                                                    {"-.5x", -0.5}, {"1.5E3", 1500}, {"12,5", 12}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(vb::Val(text), value) << text;
    EXPECT_FALSE(vb::IsFiniteNumber("1e999"));
    EXPECT_TRUE(vb::IsFiniteNumber("1e300"));
}

TEST(Vb, GeneralNumberForm) {
    const std::pair<double, const char*> cases[] = {
        {12.0, "12"},        {0.5, "0.5"},       {-0.5, "-0.5"}, {1.0 / 3.0, "0.333333333333333"},
        {0.1 + 0.2, "0.3"},  {1e15, "1E+15"},    {120.0, "120"}, {2.0 / 3.0, "0.666666666666667"},
        {1.5e20, "1.5E+20"}, {0.0001, "0.0001"}, {-0.0, "0"},    {123456789012345.0, "123456789012345"},
        {0.00001, "1E-05"},  {6.67, "6.67"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(vb::CStr(value), text) << value;
}

TEST(Vb, RoundsHalvesToEven) {
    // A half only when the scaled double is one: 32.675 scales to 3267.4999999999995.
    const double cases[][3] = {
        {0.125, 2, 0.12}, {12.345, 2, 12.34}, {12.346, 2, 12.35}, {2.675, 2, 2.68},   {1.005, 2, 1.0},
        {3.825, 2, 3.82}, {0.006, 2, 0.01},   {0.004, 2, 0.0},    {-0.125, 2, -0.12}, {20.0 / 3.0, 2, 6.67},
        {2.5, 0, 2.0},    {3.5, 0, 4.0},      {32.675, 2, 32.67}, {33.675, 2, 33.67}, {128.015, 2, 128.01}};
    for (const auto& [value, places, rounded] : cases)
        EXPECT_EQ(vb::Round(value, int(places)), rounded) << value;
    EXPECT_FALSE(std::signbit(vb::Round(-0.001, 2)));
}

// Dates are written as the lists show them: JetSemanticsTest.
TEST(Vb, ReadsDatesAndDateTimes) {
    EXPECT_EQ(vb::ParseDateTime("2009-1-9").date(), QDate(2009, 1, 9));
    EXPECT_EQ(vb::ParseDateTime("2009-01-09 13:02:01").time(), QTime(13, 2, 1));
    EXPECT_FALSE(vb::ParseDateTime("2009-2-30").isValid());
    EXPECT_FALSE(vb::ParseDateTime("hello").isValid());
}
