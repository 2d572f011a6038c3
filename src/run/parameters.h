#pragma once

#include <optional>
#include <string>

namespace fotonar {

/// The window's three parameter fields, which hold their values as text.
enum class Field {
    nIndex, ///< refractive index of the lower medium: "1", "1,5"/"1.5", "2", "2,5"/"2.5"
    nVzdalenost, ///< detector distance in pixels: "100" or "400"
    nSpomaleni, ///< animation slow-down: "1" to "6"
};

/// Read access to the parameter fields, as a run needs it.
class Parameters
{
public:
    virtual ~Parameters() = default;

    /// The field's text as it stands (UTF-8).
    virtual std::string text(Field field) const = 0;
    /// The field's text read as a number under the user's locale, the same notation in which
    /// the window wrote it; nothing when the text is not a number.
    virtual std::optional<double> number(Field field) const = 0;
};

/// The name of a field as the window knows it ("nIndex", ...).
const char *fieldName(Field field);

} // namespace fotonar
