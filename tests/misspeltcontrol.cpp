// Compiled by the tests control_named_*: the control CONTROL named as code names a control.
#include "layout.h"
[[maybe_unused]] constexpr auto kNamed = fotonar::ControlId::CONTROL;
