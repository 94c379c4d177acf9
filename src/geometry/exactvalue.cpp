// Recognising closed forms (a + b·√n)/c and writing them in German.
#include "exactvalue.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <numeric>

namespace kesmora {

namespace {

// The bounds of the search: small enough that a value without a closed form is not matched by
// chance (each further candidate adds to that chance), large enough for the volumes and surfaces
// of the Platonic and most Archimedean solids at edge length 1.
constexpr long long kLargestDenominator = 24;
constexpr long long kLargestRootFactor = 90;
constexpr long long kLargestWhole = 1000;
// A root before a bracket takes small numbers only: (a + b√n)·√m/c with a, b, c up to this.
constexpr long long kLargestFactorBeforeRoot = 12;
constexpr int kRoots[] = {2, 3, 5, 6};
const double kRootValues[] = {std::numbers::sqrt2, std::numbers::sqrt3, 2.2360679774997896964, 2.4494897427831780982};

bool close(double value, double x, double tolerance) {
    return std::fabs(value - x) <= tolerance * std::max(std::fabs(x), 1.0);
}

// (a + b·√n)/c for x, the smallest denominator first, then the smallest factor of the root.
bool findSurd(double x, double tolerance, bool needWhole, bool needRoot, QuadraticForm& out) {
    const double allowed = tolerance * std::max(std::fabs(x), 1.0);
    for (long long c = 1; c <= kLargestDenominator; ++c)
        for (long long size = needRoot ? 1 : 0; size <= kLargestRootFactor; ++size)
            for (long long b : {size, -size}) {
                if (size == 0 && b < 0) continue;
                for (std::size_t r = 0; r < std::size(kRoots); ++r) {
                    const double scaled = static_cast<double>(c) * x - static_cast<double>(b) * kRootValues[r];
                    const double a = std::round(scaled);
                    if (std::fabs(scaled - a) > allowed * static_cast<double>(c) * 4) continue;
                    if (std::fabs(a) > static_cast<double>(kLargestWhole)) continue;
                    if (needWhole && a == 0) continue;
                    QuadraticForm f;
                    f.a = static_cast<long long>(a);
                    f.b = b;
                    f.n = b == 0 ? 1 : kRoots[r];
                    f.c = c;
                    if (!close(f.value(), x, tolerance)) continue;
                    if (std::gcd(std::gcd(std::llabs(f.a), std::llabs(f.b)), f.c) != 1) continue;
                    out = f;
                    return true;
                }
                if (size == 0) break; // the whole numbers need no root
            }
    return false;
}

std::string whole(long long v) {
    return std::to_string(v);
}

// "√5", "3√5"; k = 1 is left out.
std::string rootTimes(long long k, int n) {
    return (k == 1 ? "" : whole(k)) + "\u221a" + std::to_string(n);
}

// "3 + √5", "1 − 2√2", "√5 − 1" for a and b without a common factor and not both negative.
std::string sumText(long long a, long long b, int n) {
    if (a > 0) return whole(a) + (b > 0 ? " + " : " \u2212 ") + rootTimes(std::llabs(b), n);
    return rootTimes(b, n) + " \u2212 " + whole(-a);
}

// A factor p/q (p, q > 0, reduced) written before `what`, which is bracketed where it is a sum.
std::string scaled(long long p, long long q, const std::string& prefixRoot, const std::string& what, bool sum) {
    const std::string inner = sum ? "(" + what + ")" : what;
    if (p == 1 && q == 1 && prefixRoot.empty()) return what;
    std::string factor = (p == 1 && !prefixRoot.empty() ? "" : whole(p)) + prefixRoot;
    if (q != 1) factor += "/" + whole(q);
    if (p == 1 && prefixRoot.empty() && q != 1) return inner + "/" + whole(q);
    return factor + "\u00b7" + inner;
}

long long largestSquareIn(long long v) {
    long long best = 1;
    for (long long k = 2; k * k <= v; ++k)
        if (v % (k * k) == 0) best = k;
    return best;
}

} // namespace

double QuadraticForm::value() const {
    const double base = (static_cast<double>(a) + static_cast<double>(b) * std::sqrt(static_cast<double>(n))) /
                        static_cast<double>(c);
    if (rooted) return std::sqrt(base);
    return base * std::sqrt(static_cast<double>(m));
}

bool recogniseValue(double x, QuadraticForm& form, double tolerance) {
    if (!std::isfinite(x)) return false;
    if (findSurd(x, tolerance, false, false, form)) return true;
    // √m·(a + b√n)/c with a sum in the bracket (a single root would be one of the n above).
    for (int m : kRoots) {
        if (findSurd(x / std::sqrt(static_cast<double>(m)), tolerance, true, true, form) &&
            std::llabs(form.a) <= kLargestFactorBeforeRoot && std::llabs(form.b) <= kLargestFactorBeforeRoot &&
            form.c <= kLargestFactorBeforeRoot) {
            form.m = m;
            return true;
        }
    }
    if (x > 0 && findSurd(x * x, tolerance, false, false, form) && form.a > 0) {
        form.rooted = true;
        return true;
    }
    return false;
}

std::string formText(const QuadraticForm& f) {
    if (f.rooted) {
        // √((a + b√n)/c) = √(a·r + b·r√n)/(s·r) where c = s²·r, then squares out of the root.
        const long long s = largestSquareIn(f.c), r = f.c / (s * s);
        long long a = f.a * r, b = f.b * r;
        const long long k = largestSquareIn(std::gcd(std::llabs(a), std::llabs(b)));
        a /= k * k;
        b /= k * k;
        const long long g = std::gcd(k, s * r);
        const std::string inner = b == 0 ? whole(a) : sumText(a, b, f.n);
        const std::string root = b == 0 ? "\u221a" + inner : "\u221a(" + inner + ")";
        const long long p = k / g, q = s * r / g;
        if (p == 1 && q == 1) return root;
        if (p == 1) return root + "/" + whole(q);
        return whole(p) + "\u00b7" + root + (q == 1 ? "" : "/" + whole(q));
    }
    const std::string prefixRoot = f.m == 1 ? "" : "\u221a" + std::to_string(f.m);
    long long a = f.a, b = f.b;
    std::string sign;
    if ((b == 0 && a < 0) || (a == 0 && b < 0) || (a < 0 && b < 0)) {
        sign = "\u2212";
        a = -a;
        b = -b;
    }
    if (b == 0) {
        const long long g = std::gcd(a, f.c);
        if (!prefixRoot.empty()) return sign + scaled(a / g, f.c / g, prefixRoot, "", false);
        return sign + whole(a / g) + (f.c / g == 1 ? "" : "/" + whole(f.c / g));
    }
    if (a == 0) {
        const long long g = std::gcd(b, f.c);
        const long long p = b / g, q = f.c / g;
        return sign + rootTimes(p, f.n) + (q == 1 ? "" : "/" + whole(q));
    }
    const long long g = std::gcd(std::llabs(a), std::llabs(b));
    const long long h = std::gcd(g, f.c);
    return sign + scaled(g / h, f.c / h, prefixRoot, sumText(a / g, b / g, f.n), true);
}

std::string exactText(double x, double tolerance) {
    if (std::fabs(x - std::round(x)) <= tolerance * std::max(std::fabs(x), 1.0)) return "";
    QuadraticForm f;
    if (!recogniseValue(x, f, tolerance)) return "";
    return formText(f);
}

std::string exactAngleText(double degrees, double tolerance) {
    if (!std::isfinite(degrees) || std::fabs(degrees - std::round(degrees)) <= 1e-7) return "";
    QuadraticForm f;
    if (!recogniseValue(std::cos(degrees * std::numbers::pi / 180), f, tolerance)) return "";
    return "arccos(" + formText(f) + ")";
}

} // namespace kesmora
