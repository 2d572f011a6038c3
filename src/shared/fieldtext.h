#pragma once

#include "parameters.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace fotonar {

/// The numbers of the parameter fields as text, and back, given the decimal separator of the
/// user's locale ("," in Czech, "." in English).

/// A whole number as the fields hold it: plain digits, no sign, blank or grouping ("6").
std::string wholeNumberText(int value);
/// A fraction as the fields hold it: the shortest form, with `separator` ("1,5" or "1.5").
std::string decimalText(double value, std::string_view separator);
/// `value` rounded to `decimals` (0 to 6) places, all of them written, with `separator`
/// ("2,03", "1.00").
std::string fixedText(double value, int decimals, std::string_view separator);
/// A field's text read as a number: optional blanks and sign, digits with at most one
/// `separator`, an optional exponent; no grouping, no words such as "nan". Nothing where the
/// text is not such a number or does not fit a double.
std::optional<double> readNumber(std::string_view text, std::string_view separator);

/// What a click on an option button writes (op15: nIndex, 1.5), and what start-up writes.
struct FieldWrite
{
    Field field;
    double value;
};

/// `write.value` as field text: whole numbers as digits, the others under `separator`.
std::string fieldText(const FieldWrite &write, std::string_view separator);

/// The three fields as a plain front end keeps them, read as a run needs them.
class FieldTexts : public Parameters
{
public:
    explicit FieldTexts(std::string separator)
        : m_separator(std::move(separator))
    { }

    const std::string &separator() const { return m_separator; }
    /// For a front end that learns the locale's separator only after start-up: before any field
    /// holds a fraction.
    void setSeparator(std::string separator) { m_separator = std::move(separator); }
    void set(Field field, std::string text) { m_texts[index(field)] = std::move(text); }
    /// Writes the value as the window's handlers do.
    void write(const FieldWrite &write) { set(write.field, fieldText(write, m_separator)); }

    std::string text(Field field) const override { return m_texts[index(field)]; }
    std::optional<double> number(Field field) const override
    {
        return readNumber(m_texts[index(field)], m_separator);
    }

private:
    static std::size_t index(Field field) { return static_cast<std::size_t>(field); }

    std::string m_separator;
    std::array<std::string, 3> m_texts;
};

} // namespace fotonar
