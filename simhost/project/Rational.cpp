// Exact rational arithmetic for project times.
#include "Rational.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace sim {

namespace {

// Products of two 64-bit terms are formed in 128 bits so that they cannot overflow before
// reduction; `__extension__` keeps -Wpedantic quiet about the GCC/Clang type.
__extension__ typedef __int128 Wide;

Wide wideGcd(Wide a, Wide b) {
    while (b != 0) {
        Wide t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// Reduces n/d and stores it, or throws when the reduced value does not fit 64 bits.
void assignReduced(Wide n, Wide d, int64_t* num, int64_t* den) {
    if (d == 0) throw std::invalid_argument("rational with a zero denominator");
    if (d < 0) {
        n = -n;
        d = -d;
    }
    Wide g = wideGcd(n < 0 ? -n : n, d);
    if (g == 0) g = 1;
    n /= g;
    d /= g;
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    if (n > kMax || n < -kMax || d > kMax) throw std::overflow_error("time arithmetic overflow");
    *num = static_cast<int64_t>(n);
    *den = static_cast<int64_t>(d);
}

Rational reduced(Wide n, Wide d) {
    Rational r;
    assignReduced(n, d, &r.num, &r.den);
    return r;
}

}  // namespace

Rational::Rational(int64_t n, int64_t d) {
    assignReduced(n, d, &num, &den);
}

Rational Rational::fromDouble(double seconds) {
    if (!std::isfinite(seconds)) throw std::invalid_argument("time is not a finite number");
    if (std::fabs(seconds) > 1e9) throw std::invalid_argument("time out of range");
    // Try small denominators first so that 0.5 becomes 1/2 and 1.5 becomes 3/2.
    for (int64_t d :
         {1LL,  2LL,  3LL,  4LL,  5LL,  6LL,   8LL,   10LL,   12LL,    15LL,     24LL,
          25LL, 30LL, 48LL, 50LL, 60LL, 100LL, 120LL, 1000LL, 10000LL, 100000LL, 1000000LL}) {
        double n = seconds * static_cast<double>(d);
        double r = std::nearbyint(n);
        if (std::fabs(n - r) < 1e-9 * std::max(1.0, std::fabs(n))) {
            return Rational(static_cast<int64_t>(r), d);
        }
    }
    return Rational(static_cast<int64_t>(std::llround(seconds * 1000000.0)), 1000000);
}

int64_t Rational::inScale(int64_t scale) const {
    // num * scale / den, truncated toward zero, without intermediate overflow for sane inputs.
    Wide v = static_cast<Wide>(num) * scale;
    return static_cast<int64_t>(v / den);
}

std::string Rational::toString() const {
    if (den == 1) return std::to_string(num);
    return std::to_string(num) + "/" + std::to_string(den);
}

namespace {

// Accumulates a run of decimal digits into *value; false when there are none or it overflows.
bool readDigits(const std::string& text, size_t* pos, Wide* value, int* count) {
    *value = 0;
    *count = 0;
    while (*pos < text.size() && text[*pos] >= '0' && text[*pos] <= '9') {
        *value = *value * 10 + (text[*pos] - '0');
        if (*value > std::numeric_limits<int64_t>::max()) return false;
        ++*pos;
        ++*count;
    }
    return *count > 0;
}

}  // namespace

bool Rational::parse(const std::string& text, Rational* out) {
    // Only "-12", "-12.5" and "-12/5" forms: stod/stoll would also take spaces, '+', hex, "inf".
    // Decimals are read exactly as digits / 10^k rather than through a double.
    size_t pos = 0;
    bool negative = pos < text.size() && text[pos] == '-';
    if (negative) ++pos;
    Wide whole = 0, part = 0;
    int digits = 0, fractionDigits = 0;
    if (!readDigits(text, &pos, &whole, &digits)) return false;
    Wide num = whole, den = 1;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (!readDigits(text, &pos, &part, &fractionDigits) || fractionDigits > 18) return false;
        for (int i = 0; i < fractionDigits; ++i)
            den *= 10;
        num = whole * den + part;
    } else if (pos < text.size() && text[pos] == '/') {
        ++pos;
        if (!readDigits(text, &pos, &den, &digits) || den == 0) return false;
    }
    if (pos != text.size()) return false;
    try {
        *out = reduced(negative ? -num : num, den);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

Rational operator+(Rational a, Rational b) {
    return reduced(static_cast<Wide>(a.num) * b.den + static_cast<Wide>(b.num) * a.den,
                   static_cast<Wide>(a.den) * b.den);
}
Rational operator-(Rational a, Rational b) {
    return reduced(static_cast<Wide>(a.num) * b.den - static_cast<Wide>(b.num) * a.den,
                   static_cast<Wide>(a.den) * b.den);
}
Rational operator*(Rational a, Rational b) {
    return reduced(static_cast<Wide>(a.num) * b.num, static_cast<Wide>(a.den) * b.den);
}
Rational operator/(Rational a, Rational b) {
    if (b.num == 0) throw std::invalid_argument("division of a time by zero");
    return reduced(static_cast<Wide>(a.num) * b.den, static_cast<Wide>(a.den) * b.num);
}
static int compare(Rational a, Rational b) {
    Wide l = static_cast<Wide>(a.num) * b.den;
    Wide r = static_cast<Wide>(b.num) * a.den;
    return l < r ? -1 : (l > r ? 1 : 0);
}
bool operator==(Rational a, Rational b) {
    return a.num == b.num && a.den == b.den;
}
bool operator!=(Rational a, Rational b) {
    return !(a == b);
}
bool operator<(Rational a, Rational b) {
    return compare(a, b) < 0;
}
bool operator<=(Rational a, Rational b) {
    return compare(a, b) <= 0;
}
bool operator>(Rational a, Rational b) {
    return compare(a, b) > 0;
}
bool operator>=(Rational a, Rational b) {
    return compare(a, b) >= 0;
}

}  // namespace sim
