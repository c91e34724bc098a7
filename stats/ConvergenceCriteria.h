#pragma once
// The -converged criteria: 'RULE : TEST [and TEST ...] ; RULE : TEST ...',
// RULE in the -varrule language, each TEST one of
//     below X          the last value <= X
//     drop N           ORDERS >= N
//     cauchy K EPS     the Cauchy value over the last K steps < EPS
//     stable W TOL[%]  |mean of the last W steps - last value| <= TOL
//                      (or TOL percent of |that mean|)
//     stderr X[%]      STDERR <= X (or X percent of |MEAN|)
// (docs/stats.md). The text is parsed whole before any data is read.

#include <cstddef>
#include <string>
#include <vector>

namespace stats {

struct CriterionTest {
    enum class Kind { Below, Drop, Cauchy, Stable, StdError };
    Kind kind = Kind::Below;
    double limit = 0;  // X, N, EPS or TOL
    size_t steps = 0;  // K or W
    bool percent = false;
    std::string text;  // as written, for messages
};

// The rule is checked when parsed and kept as text: a run reads it in the
// encoding its names are spelled in.
struct Criterion {
    std::string ruleText;  // as written, without the blanks around it
    std::vector<CriterionTest> tests;
};

// Throws owl::Error naming the text, the fault and its column (from 1).
std::vector<Criterion> parseCriteria(const std::string& text);

}  // namespace stats
