#include "fieldtext.h"

#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fotonar {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The C library's decimal point, which a toolkit may have set from the user's locale. Numbers
// are converted with the C library and its decimal point swapped for a point and back: not
// every standard library converts floating point with std::to_chars, and iostreams would weigh
// more than the rest of the browser build together.
std::string cDecimalPoint()
{
    const char *point = std::localeconv()->decimal_point;
    return point && *point ? point : ".";
}

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    if (const auto at = text.find(from); at != std::string::npos && from != to)
        text.replace(at, from.size(), to);
    return text;
}

// `value` with `precision` significant digits and a point.
std::string classicText(double value, int precision)
{
    std::array<char, 40> buffer {};
    std::snprintf(buffer.data(), buffer.size(), "%.*g", precision, value);
    return replaced(buffer.data(), cDecimalPoint(), ".");
}

// A number in the C notation: digits, at most one point, an exponent; nothing else.
std::optional<double> classicNumber(const std::string &text)
{
    const std::string local = replaced(text, ".", cDecimalPoint());
    char *end = nullptr;
    const double value = std::strtod(local.c_str(), &end);
    if (local.empty() || end != local.c_str() + local.size())
        return std::nullopt;
    return value;
}

} // namespace

std::string wholeNumberText(int value)
{
    return std::to_string(value);
}

std::string decimalText(double value, std::string_view separator)
{
    // The shortest form that reads back as the same number.
    std::string text = classicText(value, 1);
    for (int precision = 2; precision <= 17 && classicNumber(text) != value; ++precision)
        text = classicText(value, precision);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

std::string fixedText(double value, int decimals, std::string_view separator)
{
    std::array<char, 400> buffer {}; // room for the largest double in full
    std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
    return replaced(buffer.data(), cDecimalPoint(), std::string(separator));
}

std::optional<double> readNumber(std::string_view text, std::string_view separator)
{
    text = trimmed(text);
    // Rewritten in the C notation, with a point.
    std::string plain;
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        plain += text[at++] == '-' ? "-" : "";
    std::size_t digits = skipDigits(text, at);
    std::size_t mantissaDigits = digits - at;
    plain.append(text.substr(at, digits - at));
    at = digits;
    if (!separator.empty() && text.substr(at, separator.size()) == separator) {
        at += separator.size();
        digits = skipDigits(text, at);
        mantissaDigits += digits - at;
        plain += '.';
        plain.append(text.substr(at, digits - at));
        at = digits;
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        digits = skipDigits(text, exponent);
        if (digits == exponent)
            return std::nullopt;
        plain.append(text.substr(at, digits - at));
        at = digits;
    }
    if (at != text.size())
        return std::nullopt;
    const std::optional<double> value = classicNumber(plain);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::string fieldText(const FieldWrite &write, std::string_view separator)
{
    if (write.value == std::floor(write.value))
        return wholeNumberText(int(write.value));
    return decimalText(write.value, separator);
}

} // namespace fotonar
