#include "fieldtext.h"

#include <array>
#include <charconv>
#include <cmath>

namespace fotonar {

namespace {

constexpr std::array<std::pair<std::string_view, FieldWrite>, 6> kOptions {{
    {"op1", {Field::nIndex, 1}},
    {"op15", {Field::nIndex, 1.5}},
    {"op2", {Field::nIndex, 2}},
    {"op25", {Field::nIndex, 2.5}},
    {"op100", {Field::nVzdalenost, 100}},
    {"op400", {Field::nVzdalenost, 400}},
}};

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

} // namespace

std::string wholeNumberText(int value)
{
    return std::to_string(value);
}

std::string decimalText(double value, std::string_view separator)
{
    std::array<char, 32> buffer {};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    std::string text(buffer.data(), end);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

std::optional<double> readNumber(std::string_view text, std::string_view separator)
{
    text = trimmed(text);
    // Rewritten with a point, which std::from_chars reads whatever the C locale says.
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
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<FieldWrite> optionChoice(std::string_view option)
{
    for (const auto &[name, write] : kOptions)
        if (name == option)
            return write;
    return std::nullopt;
}

std::string fieldText(const FieldWrite &write, std::string_view separator)
{
    if (write.value == std::floor(write.value))
        return wholeNumberText(int(write.value));
    return decimalText(write.value, separator);
}

} // namespace fotonar
