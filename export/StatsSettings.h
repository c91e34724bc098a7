#pragma once
// The settings of the statistics table (-stats): its window, the Cauchy
// steps, and the optional verdicts: -converged criteria and a -reference
// file with its -tolerance. Criteria, tolerance and reference file are read
// when the settings are made, before any data is read.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "stats/ConvergenceCriteria.h"
#include "stats/ReferenceComparison.h"

namespace exporter {

struct StatsSettings {
    size_t windowSteps = 0;  // 0: -window auto
    size_t cauchySteps = 100;
    std::vector<stats::Criterion> criteria;
    // The reference values by variable (-reference FILE, read at once).
    std::optional<std::map<std::string, double>> references;
    stats::Tolerance tolerance;

    bool hasVerdict() const { return !criteria.empty() || references.has_value(); }
};

// From the options' texts; empty texts leave the defaults. Throws owl::Error
// for a malformed -window, -cauchy, -converged or -tolerance value, or a
// reference file that cannot be read.
StatsSettings statsSettings(const std::string& window, const std::string& cauchy,
                            const std::string& converged, const std::string& reference,
                            const std::string& tolerance);

}  // namespace exporter
