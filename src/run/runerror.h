#pragma once

#include <stdexcept>

namespace fotonar {

/// A run-time error: a field that is not a number, an arithmetic overflow, or a window operation
/// that failed. It abandons the run; the window reports it and the program ends.
class RunError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace fotonar
