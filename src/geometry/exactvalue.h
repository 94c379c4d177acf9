// Closed forms of measured values: a number recognised as (a + b·√n)/c with small integers, as
// such a number times a square root, or as the square root of one, written the way a teacher
// writes it ("5/12·(3 + √5)", "√2/12", "3·√(25 + 10√5)"); an angle as the arc cosine of one
// ("arccos(−√5/3)"). Nothing is given where no such form matches the value closely; a value with
// no closed form of this kind (the snub solids') is never given a wrong one.
#pragma once

#include <string>

namespace kesmora {

// Relative agreement a closed form must reach with a value measured on the catalogue's coordinates
// of twelve significant digits: their rounding moves the measured values of the catalogue's bodies
// by up to 7e-12 from their closed forms. The search is kept small enough that a value without such
// a form matches one by chance about once in a thousand values at most.
inline constexpr double kExactTolerance = 2e-11;

// (a + b·√n)/c · √m, reduced: c > 0, n and m square-free (1 for none), b = 0 when n = 1.
struct QuadraticForm {
    long long a = 0;
    long long b = 0;
    int n = 1;
    long long c = 1;
    int m = 1;           // a further square root in front
    bool rooted = false; // the square root of the whole instead
    double value() const;
};

// The simplest form within `tolerance` (relative) of `x`; false when none is.
bool recogniseValue(double x, QuadraticForm& form, double tolerance = kExactTolerance);

// German text of a form, with the minus sign "−" (U+2212).
std::string formText(const QuadraticForm& form);

// "5/12·(3 + √5)" for a recognised value, "" when none is recognised or the value is a whole
// number (its decimals say it all).
std::string exactText(double x, double tolerance = kExactTolerance);

// "arccos(−√5/3)" for an angle in degrees whose cosine is recognised; "" for none and for whole
// degrees (90°, 135°: the decimals are exact).
std::string exactAngleText(double degrees, double tolerance = kExactTolerance);

} // namespace kesmora
