// Exact times and ratios for the simulated project: seconds as a reduced fraction.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

// A rational number num/den with den > 0, always kept reduced. Times in the project are exact
// so that comparisons like "in point == current time" never depend on rounding.
struct Rational {
    int64_t num = 0;
    int64_t den = 1;

    Rational() = default;
    Rational(int64_t n, int64_t d = 1);

    double toDouble() const { return static_cast<double>(num) / static_cast<double>(den); }
    // Nearest rational with a denominator up to 1,000,000 (exact for decimal fractions of frames).
    static Rational fromDouble(double seconds);
    // Value in units of 1/scale, truncated toward zero (what an A_Time of that scale would hold).
    int64_t inScale(int64_t scale) const;

    // "45/30" style text for non-integers, "3" for integers.
    std::string toString() const;
    // Parses "a/b" or a decimal number; returns false on anything else.
    static bool parse(const std::string& text, Rational* out);
};

Rational operator+(Rational a, Rational b);
Rational operator-(Rational a, Rational b);
Rational operator*(Rational a, Rational b);
Rational operator/(Rational a, Rational b);
bool operator==(Rational a, Rational b);
bool operator!=(Rational a, Rational b);
bool operator<(Rational a, Rational b);
bool operator<=(Rational a, Rational b);
bool operator>(Rational a, Rational b);
bool operator>=(Rational a, Rational b);

}  // namespace sim
