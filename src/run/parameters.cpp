#include "parameters.h"

namespace fotonar {

const char *fieldName(Field field)
{
    switch (field) {
    case Field::nIndex:
        return "nIndex";
    case Field::nVzdalenost:
        return "nVzdalenost";
    case Field::nSpomaleni:
        return "nSpomaleni";
    }
    return "?";
}

} // namespace fotonar
