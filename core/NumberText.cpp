// Number text without the locale, and two numeric guards: a tangent and a rounding rule.
#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

namespace murvex {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i]))
        ++i;
    return i;
}

// Decimal exponent of the leading significant digit, saturated; used only to tell an overflow
// from an underflow when from_chars reports a value out of range.
long long LeadingExponent(std::string_view intDigits, std::string_view fracDigits, long long exp) {
    std::size_t nz = intDigits.find_first_not_of('0');
    if (nz != std::string_view::npos) return exp + static_cast<long long>(intDigits.size() - nz);
    std::size_t fz = fracDigits.find_first_not_of('0');
    if (fz == std::string_view::npos) return std::numeric_limits<long long>::min();
    return exp - static_cast<long long>(fz);
}

}  // namespace

ParseResult ParseDecimal(std::string_view text) {
    ParseResult result;
    if (text.size() > kShortTextLimit) text = text.substr(0, kShortTextLimit);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);

    std::string s(text);
    for (char& c : s) {
        if (c == ',') c = '.';
    }

    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    bool hasSign = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        hasSign = true;
        ++i;
    }
    const std::size_t intStart = i;
    i = SkipDigits(s, i);
    std::string_view intDigits(s.data() + intStart, i - intStart);
    std::string_view fracDigits;
    bool hasPoint = false;
    if (i < s.size() && s[i] == '.') {
        hasPoint = true;
        const std::size_t fracStart = ++i;
        i = SkipDigits(s, i);
        fracDigits = std::string_view(s.data() + fracStart, i - fracStart);
    }
    if (intDigits.empty() && !hasPoint) return result;  // no mantissa at all: "", "-", "e5"
    (void)hasSign;

    long long exponent = 0;
    bool expNegative = false;
    std::string_view expDigits;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        const std::size_t expStart = i;
        i = SkipDigits(s, i);
        if (i == expStart) return result;
        expDigits = std::string_view(s.data() + expStart, i - expStart);
        for (char c : expDigits) {
            exponent = exponent * 10 + (c - '0');
            if (exponent > 100000000) break;  // far beyond any double either way
        }
        if (expNegative) exponent = -exponent;
    }
    if (i != s.size()) return result;

    // A canonical text that from_chars takes whole.
    std::string canonical;
    canonical.reserve(intDigits.size() + fracDigits.size() + expDigits.size() + 6);
    if (negative) canonical += '-';
    canonical += intDigits.empty() ? std::string_view("0") : intDigits;
    canonical += '.';
    canonical += fracDigits.empty() ? std::string_view("0") : fracDigits;
    if (!expDigits.empty()) {
        canonical += expNegative ? "e-" : "e";
        canonical += expDigits;
    }

    double value = 0.0;
    auto [ptr, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large is refused.
        if (LeadingExponent(intDigits, fracDigits, exponent) > 0) return result;
        value = negative ? -0.0 : 0.0;
    } else if (ec != std::errc() || ptr != canonical.data() + canonical.size()) {
        return result;
    }
    if (!std::isfinite(value)) return result;
    result.ok = true;
    result.value = value;
    return result;
}

double DecimalValue(long long digits, int exponent) {
    char text[48];
    char* end = std::to_chars(text, text + 24, digits).ptr;
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, exponent).ptr;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text, end, value);
    if (ec == std::errc::result_out_of_range) return exponent < 0 ? 0.0 : HUGE_VAL;
    return value;
}

std::string LocalizeSeparator(std::string_view text, char userSeparator) {
    const char foreign = userSeparator == ',' ? '.' : ',';
    const char own = userSeparator == ',' ? ',' : '.';
    std::string out(text);
    const std::size_t at = out.find(foreign);
    if (at != std::string::npos) out[at] = own;
    return out;
}

namespace {

template <typename T>
std::string FixedText(T value, int decimals) {
    char buffer[6000];  // enough for the largest long double in fixed notation
    auto [ptr, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return std::string();
    return std::string(buffer, ptr);
}

}  // namespace

std::string Fmt(double value) {
    return FixedText(value, 3);
}

std::string Fmt10(long double value) {
    return FixedText(value, 10);
}

std::string FmtDecimals(double value, int decimals) {
    return FixedText(value, decimals < 0 ? 0 : (decimals > 20 ? 20 : decimals));
}

long double SafeTan(long double x) {
    constexpr long double kHalfPi = 1.5707963267948966192L;
    constexpr long double kThreeHalfPi = 4.7123889803846898577L;
    if (x == kHalfPi || x == kThreeHalfPi) return 0.0L;
    return std::sin(x) / std::cos(x);
}

CosSin CosSinDegrees(double degrees) {
    if (!std::isfinite(degrees)) return {std::nan(""), std::nan("")};
    // A negative angle is turned as its opposite and its sine negated: adding 360 would round.
    double r = std::fmod(degrees, 360.0) + 0.0;  // + 0.0: -0 is 0
    const bool negative = r < 0;
    if (negative) r = -r;
    // r - 90 q and 90 - x are exact (each difference lies within a factor two of its operands),
    // so the series below only ever sees an angle of at most 45 degrees.
    const int quarter = r >= 270 ? 3 : r >= 180 ? 2 : r >= 90 ? 1 : 0;
    double x = r - 90.0 * quarter;
    const bool swapped = x > 45.0;
    if (swapped) x = 90.0 - x;
    // The Taylor series in extended precision, nested from the smallest term outwards:
    // sin a = a (1 - a^2 / (2 3) (1 - a^2 / (4 5) (...))), cos a = 1 - a^2 / (1 2) (1 - ...).
    // Only + - * /, which every x87 does alike; at most pi/4 radians, where 13 terms leave an
    // error far below a double's last place.
    constexpr long double kRadiansPerDegree = 0.0174532925199432957692369076848861271L;
    const long double a = x * kRadiansPerDegree;
    const long double a2 = a * a;
    long double sinSum = 0;
    long double cosSum = 0;
    for (int n = 25; n >= 1; n -= 2) {
        sinSum = 1 - a2 / ((n + 1) * (n + 2)) * sinSum;
        cosSum = 1 - a2 / (n * (n + 1)) * cosSum;
    }
    double s = static_cast<double>(a * sinSum);
    double c = static_cast<double>(cosSum);
    if (swapped) std::swap(s, c);
    CosSin out{c, s};
    if (quarter == 1) out = {-s, c};
    if (quarter == 2) out = {-c, -s};
    if (quarter == 3) out = {s, -c};
    if (negative) out.s = -out.s;
    return out;
}

std::int64_t RoundToInt(long double x) {
    if (std::isnan(x)) return 0;
    const long double f = x - std::trunc(x);
    long double r =
        (0.4999999999999L < f && f < 0.7L) ? std::nearbyint(x + 0.1L) : std::nearbyint(x);
    constexpr long double kMax = 9223372036854775807.0L;
    if (r >= kMax) return std::numeric_limits<std::int64_t>::max();
    if (r <= -kMax) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

}  // namespace murvex
