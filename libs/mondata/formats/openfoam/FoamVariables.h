#pragma once
// Names and attributes of the variables read from OpenFOAM function objects.
//
// Name: "[REGION ]FUNCTION [FILE ]COLUMN", for example "forceCoeffs1 Cd",
// "probes p 2", "probes U 0_x", "forces force total_x", "fluid residuals h".
// - REGION only when the case has several regions (function objects under
//   postProcessing/REGION/);
// - FILE (the file name without ".dat" and without a restart's
//   "_STARTTIME") only for files that are not the function object's one
//   data file: probe fields, force/moment, forceCoeffs_bins, ...;
// - COLUMN: the file's own column name, a long-format file's field or patch
//   before it ("p min"), a vector's component after it ("_x", or "_xx" ...
//   for tensors), the part of a nested vector between ("forces pressure_x").
// Attributes: category/subcategory by file kind, group (the function
// object, or for residuals their equation group so that the residual plots
// show them), path (REGION/FUNCTION), function-object, region, file and,
// for probes, location.

#include <string>

#include "libs/mondata/model/VariableInfo.h"
#include "libs/mondata/sources/FoamTable.h"

namespace mon {

// Where a file comes from in a case.
struct FoamOrigin {
    std::string region;          // empty for the default region
    std::string functionObject;  // the folder under postProcessing/[REGION/]
    std::string file;            // file name without ".dat" and "_STARTTIME"
    bool probes = false;         // a file without ".dat": one field's probes
    bool regionInName = false;   // the case has several regions
};

VariableInfo foamVariable(const FoamOrigin& origin, const FoamColumn& column);
// "TIME": the simulation time of each record.
VariableInfo foamTimeVariable();

}  // namespace mon
