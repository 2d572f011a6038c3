#pragma once

#include "fieldtext.h"
#include "parameters.h"

#include <QLocale>
#include <QString>

#include <array>

namespace fotonar {

/// The window's three hidden parameter fields: plain texts, written by the option buttons and
/// the scroll bar, read by a run. Numbers are read back under the same locale that wrote them,
/// by the rules every front end shares (fieldtext.h).
class ParameterFields : public Parameters
{
public:
    explicit ParameterFields(const QLocale &locale = QLocale());

    QString fieldText(Field field) const { return m_texts[index(field)]; }
    void setFieldText(Field field, const QString &text) { m_texts[index(field)] = text; }

    /// A whole number as the fields hold it: plain digits, no sign, blank or grouping.
    static QString wholeNumberText(int value);
    /// A fraction as the fields hold it: the shortest form with the locale's decimal separator
    /// ("1,5" in Czech, "1.5" in English).
    QString decimalText(double value) const;
    /// Writes what an option button or start-up writes.
    void write(const FieldWrite &write);

    std::string text(Field field) const override;
    std::optional<double> number(Field field) const override;

private:
    static std::size_t index(Field field) { return static_cast<std::size_t>(field); }

    std::string m_separator; ///< the locale's decimal separator
    std::array<QString, 3> m_texts;
};

} // namespace fotonar
