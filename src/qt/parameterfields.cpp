#include "parameterfields.h"

#include "fieldtext.h"

namespace fotonar {

ParameterFields::ParameterFields(const QLocale &locale)
    : m_separator(locale.decimalPoint().toStdString())
{ }

QString ParameterFields::wholeNumberText(int value)
{
    return QString::fromStdString(fotonar::wholeNumberText(value));
}

QString ParameterFields::decimalText(double value) const
{
    return QString::fromStdString(fotonar::decimalText(value, m_separator));
}

void ParameterFields::write(const FieldWrite &write)
{
    setFieldText(write.field, QString::fromStdString(fotonar::fieldText(write, m_separator)));
}

std::string ParameterFields::text(Field field) const
{
    return fieldText(field).toStdString();
}

std::optional<double> ParameterFields::number(Field field) const
{
    return readNumber(text(field), m_separator);
}

} // namespace fotonar
