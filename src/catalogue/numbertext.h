// Numbers as files and machine-readable output hold them: with a decimal point under every locale.
// printf and strtod follow LC_NUMERIC, which the Qt application object takes from the environment,
// so on a German desktop they would write and read decimal commas; to_chars never does.
#pragma once

#include <charconv>
#include <string>

namespace kesmora {

namespace detail {
inline std::string toChars(double v, std::chars_format format, int digits) {
    // Room for every double: sign, 309 integer digits, point, the digits asked for, exponent.
    std::string text(static_cast<std::size_t>(digits > 0 ? digits : 0) + 330, '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), v, format, digits);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    return text;
}
} // namespace detail

// What printf's "%.{precision}g" writes in the C locale.
inline std::string formatGeneral(double v, int precision) {
    return detail::toChars(v, std::chars_format::general, precision);
}

// What printf's "%.{decimals}f" writes in the C locale.
inline std::string formatFixed(double v, int decimals) {
    return detail::toChars(v, std::chars_format::fixed, decimals);
}

} // namespace kesmora
