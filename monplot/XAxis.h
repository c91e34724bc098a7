#pragma once
// The variable monplot's pictures and the dashboard draw every line against:
// -x (or the dashboard's choice), where STEP names the steps; without one,
// the run's TIME when the reader numbered its steps (an OpenFOAM run whose
// times are not whole numbers: its steps are only the order of the times
// read, which its function objects may write at very different intervals),
// else the steps.

#include <string>
#include <vector>

class MonDatabase;

// Whether the run has any record yet.
bool hasRecords(const MonDatabase& run);

// requested: -x, "" when none. Returns "" for each plot's own X (the
// steps), else the variable's name: TIME by default when some run has
// records and every run with records has TIME and steps the reader
// numbered.
std::string xAxisOf(const std::string& requested, const std::vector<const MonDatabase*>& runs);
