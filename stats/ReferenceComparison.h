#pragma once
// The -reference comparison: a variable's MEAN against a reference value,
// passing when |MEAN - REF| <= atol + rtol |REF| + k STDERR: a regression
// check that allows for the sampling error of an averaged result.

#include <map>
#include <string>

#include "stats/Verdict.h"

namespace stats {

struct Tolerance {
    double atol = 0;
    double rtol = 1e-6;
    double k = 3;
};

// 'atol=A rtol=R k=K', any of them, in any order. Throws owl::Error naming
// the fault and its column.
Tolerance parseTolerance(const std::string& text);

// The reference values of a CSV file with a header naming a VARIABLE column
// and a MEAN (else VALUE) column: a previous -stats table, or any such table.
// A row with an empty value gives no reference. Throws owl::Error naming the
// file and line of a fault.
std::map<std::string, double> readReference(const std::string& path);

struct Comparison {
    double difference = NAN;  // MEAN - REF
    Verdict verdict;
};

Comparison compare(double mean, double stdError, double reference, const Tolerance& tolerance);

}  // namespace stats
