#pragma once
// Finding the function-object data of an OpenFOAM case:
//   CASE/postProcessing/[REGION/]FUNCTION/STARTTIME/FILE
// A run writes a start-time folder per (re)start; openfoam.com writes
// FILE_STARTTIME.dat beside FILE.dat when a run restarts from a time whose
// folder exists already. Each (region, function object, file) is one
// series whose segments are these files, in run order: by start-time value
// (100 after 20), then the plain name before the suffixed one.

#include <string>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/openfoam/FoamVariables.h"
#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/sources/ReadOptions.h"

namespace mon {

struct FoamSeries {
    FoamOrigin origin;
    std::vector<std::string> segments;  // file paths in run order
};

// Whether a folder is a case with postProcessing/ or solver logs (log.*), a
// postProcessing folder or one function object's folder holding
// function-object data.
bool isFoamCaseFolder(const std::string& folder);

// Reads a case into the builder: "TIME" first, then the variables of its
// solver logs (log.*) and of every series, records merged on time (see
// TimeKeyedHistory.h). Throws owl::data::error when there is nothing to read.
void readFoamCase(const std::string& folder, RunDataBuilder& builder, const ReadOptions& options);

// One data file given on its own: the function object is the folder above
// its start-time folder, or, when it is not in one, the file's name.
bool isFoamDataFile(const std::string& path, std::string_view head);
void readFoamDataFileRun(const std::string& path, RunDataBuilder& builder);
FoamSeries foamDataFileSeries(const std::string& path);

// What a case holds: its series of function-object data files, in the
// order their variables are declared, and its solver logs (log.* files
// that read as one), by name.
std::vector<FoamSeries> scanCase(const std::string& folder);
std::vector<std::string> caseLogs(const std::string& folder);
// The error for a case that holds neither.
owl::data::error noFoamCaseData(const std::string& folder);

}  // namespace mon
