#pragma once
// The variables an OpenFOAM solver log gives, with their names and the
// attributes that rules and the default plots go by (the table in
// docs/formats/openfoam-log.md).

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
// which: "mean" or "max"; prefix: the words before "Courant Number", if any.
VariableInfo foamCourantNumber(std::string_view region, std::string_view prefix,
                               std::string_view which);
// which: "sum local", "global" or "cumulative".
VariableInfo foamContinuityError(std::string_view region, std::string_view which);
// which: "ExecutionTime" or "ClockTime".
VariableInfo foamExecutionTime(std::string_view which);

}  // namespace mon
