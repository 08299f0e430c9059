// Exact times: construction, parsing, arithmetic and ordering.
#include <cstdint>
#include <limits>
#include <stdexcept>

#include <gtest/gtest.h>

#include "Rational.h"

using sim::Rational;

namespace {

Rational parsed(const std::string& text) {
    Rational r;
    EXPECT_TRUE(Rational::parse(text, &r)) << text;
    return r;
}

}  // namespace

TEST(Rational, KeepsTheReducedFormWithAPositiveDenominator) {
    Rational r(45, 30);
    EXPECT_EQ(r.num, 3);
    EXPECT_EQ(r.den, 2);
    Rational s(1, -2);
    EXPECT_EQ(s.num, -1);
    EXPECT_EQ(s.den, 2);
    EXPECT_EQ(Rational(0, 7).den, 1);
    EXPECT_THROW(Rational(1, 0), std::invalid_argument);
}

TEST(Rational, ParsesFractionsIntegersAndDecimalsExactly) {
    EXPECT_EQ(parsed("45/30"), Rational(3, 2));
    EXPECT_EQ(parsed("-7/21"), Rational(-1, 3));
    EXPECT_EQ(parsed("3"), Rational(3));
    EXPECT_EQ(parsed("-1.25"), Rational(-5, 4));
    // Decimals are read digit by digit, not through a double.
    EXPECT_EQ(parsed("0.1234567"), Rational(1234567, 10000000));
    EXPECT_EQ(parsed("1001/30000").toString(), "1001/30000");
}

TEST(Rational, RejectsAnythingButPlainNumbersAndFractions) {
    for (const char* text : {"", " 1", "1 ", "+1", "1/0", "1/-2", "0x10", "inf", "nan", "1e3", ".5",
                             "1.", "/2", "2/", "a/b", "1/2/3", "--1", "99999999999999999999"}) {
        Rational r(5);
        EXPECT_FALSE(Rational::parse(text, &r)) << "\"" << text << "\"";
        EXPECT_EQ(r, Rational(5)) << "a failed parse leaves the output alone";
    }
}

TEST(Rational, Arithmetic) {
    EXPECT_EQ(Rational(1, 3) + Rational(1, 6), Rational(1, 2));
    EXPECT_EQ(Rational(1, 2) - Rational(3, 4), Rational(-1, 4));
    EXPECT_EQ(Rational(2, 3) * Rational(9, 4), Rational(3, 2));
    EXPECT_EQ(Rational(1, 2) / Rational(1, 4), Rational(2));
    EXPECT_THROW(Rational(1) / Rational(0), std::invalid_argument);
}

TEST(Rational, IntermediateProductsBeyond64BitsStillGiveTheExactResult) {
    Rational tiny(1, int64_t{1} << 32);
    EXPECT_EQ(tiny + tiny, Rational(1, int64_t{1} << 31));
    EXPECT_EQ(Rational(int64_t{1} << 62, 3) * Rational(3, int64_t{1} << 61), Rational(2));
    EXPECT_THROW(Rational(std::numeric_limits<int64_t>::max()) + Rational(1), std::overflow_error);
}

TEST(Rational, OrdersByValue) {
    EXPECT_LT(Rational(1, 3), Rational(34, 100));
    EXPECT_GT(Rational(-1, 3), Rational(-34, 100));
    EXPECT_LE(Rational(2, 4), Rational(1, 2));
    EXPECT_GE(Rational(2, 4), Rational(1, 2));
    EXPECT_NE(Rational(1, 3), Rational(333, 1000));
    // Cross products of these exceed 64 bits.
    const int64_t max = std::numeric_limits<int64_t>::max();
    EXPECT_LT(Rational(max - 2, max - 1), Rational(max - 1, max));
}

TEST(Rational, ConvertsToAndFromSecondsAndTimeScales) {
    EXPECT_EQ(Rational::fromDouble(0.5), Rational(1, 2));
    EXPECT_EQ(Rational::fromDouble(1.0 / 30), Rational(1, 30));
    EXPECT_EQ(Rational::fromDouble(-2.25), Rational(-9, 4));
    EXPECT_THROW(Rational::fromDouble(std::numeric_limits<double>::infinity()),
                 std::invalid_argument);
    EXPECT_DOUBLE_EQ(Rational(3, 8).toDouble(), 0.375);
    EXPECT_EQ(Rational(3, 2).inScale(30), 45);
    EXPECT_EQ(Rational(-1, 3).inScale(1), 0);  // truncated toward zero
    EXPECT_EQ(Rational(3, 2).toString(), "3/2");
    EXPECT_EQ(Rational(-4).toString(), "-4");
}
