#pragma once
// The variables an OpenFOAM solver log gives, with their names and the
// attributes that rules and the default plots go by (the table in
// docs/formats/openfoam-log.md). All are held in double precision.

#include <string>
#include <string_view>

#include "libs/mondata/model/VariableInfo.h"

namespace mon {

// The monitor group of a solved field's residuals: the template's equation
// groups ("Momentum and Mass", "Heat Transfer", "Turbulence Quantities",
// "Volume Fractions") for the fields OpenFOAM's solvers usually solve, else
// "Other Equations". Components (Ux, Rxy) and phase names (U.air) count as
// their field.
const char* equationGroupOf(std::string_view field);

// Names are prefixed with "REGION " when region is not empty.
VariableInfo foamTimeVariable(std::string_view unit);
VariableInfo foamTimeStepVariable(std::string_view unit);
VariableInfo foamInitialResidual(std::string_view region, std::string_view field);
VariableInfo foamFinalResidual(std::string_view region, std::string_view field);
VariableInfo foamSolverIterations(std::string_view region, std::string_view field);
// which: "mean" or "max"; label: the line's words up to "Number"
// ("Courant Number", "Interface Courant Number", "Diffusion Number").
VariableInfo foamCourantNumber(std::string_view region, std::string_view label,
                               std::string_view which);
// which: "min", "max" or "average".
VariableInfo foamBounding(std::string_view region, std::string_view field, std::string_view which);
// A value named in a pattern of the user's.
VariableInfo foamPatternVariable(const std::string& name, const std::string& category,
                                 const std::string& group);
// of: what the errors are of, put before the name ("moving mesh"), or
// empty; which: "sum local", "global" or "cumulative".
VariableInfo foamContinuityError(std::string_view region, std::string_view of,
                                 std::string_view which);
// which: "ExecutionTime" or "ClockTime".
VariableInfo foamExecutionTime(std::string_view which);

}  // namespace mon
