#pragma once
// The fields of one line of a CSV file we read (a reference file, a run
// matrix): separated by ',', a field in quotes may hold ',' and '\r', ""
// inside quotes is one quote; a '\r' outside quotes is dropped.

#include <string>
#include <vector>

namespace stats {

// Fills fields with the line's fields, quotes removed. Returns false when a
// quote is not closed (the fields then run to the line's end).
bool splitCsvLine(const std::string& line, std::vector<std::string>& fields);

}  // namespace stats
