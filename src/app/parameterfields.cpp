#include "parameterfields.h"

namespace fotonar {

ParameterFields::ParameterFields(const QLocale &locale)
    : m_locale(locale)
{
    // Grouping is never written, so it is not accepted when reading either.
    m_locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
}

QString ParameterFields::wholeNumberText(int value)
{
    return QString::number(value);
}

QString ParameterFields::decimalText(double value) const
{
    return m_locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

std::string ParameterFields::text(Field field) const
{
    return fieldText(field).toStdString();
}

std::optional<double> ParameterFields::number(Field field) const
{
    bool ok = false;
    const double value = m_locale.toDouble(fieldText(field).trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace fotonar
