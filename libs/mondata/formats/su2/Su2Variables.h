#pragma once
// The attributes an SU2 history column gets from its name, so that rules and
// the default plots find residuals, coefficients and times (the table is in
// docs/formats/su2.md).

#include <string>

#include "libs/mondata/model/VariableInfo.h"

namespace mon {

// The variable of the column NAME. In a multizone run, zone is the zone's
// number: it is appended to the name and the group (" zone 1") and given as
// the attribute "zone"; empty otherwise.
VariableInfo su2Variable(const std::string& name, const std::string& zone);

// Whether the column NAME holds residuals (log10 values).
bool isSu2Residual(const std::string& name);

}  // namespace mon
