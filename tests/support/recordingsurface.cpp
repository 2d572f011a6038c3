#include "recordingsurface.h"

#include <charconv>

namespace fotonar::test {

std::optional<double> FixedParameters::number(Field field) const
{
    std::string text = m_texts.at(field);
    for (char &c : text)
        if (c == ',')
            c = '.';
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

} // namespace fotonar::test
