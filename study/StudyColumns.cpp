#include "study/StudyColumns.h"

#include <algorithm>
#include <set>

#include "export/VariableSelection.h"
#include "libs/exception/Error.h"
#include "libs/mondata/model/RecordKey.h"

namespace study {

std::vector<std::string> studyVariables(const std::vector<StudyRow>& rows,
                                        const std::vector<std::string>& listed) {
    std::vector<std::vector<std::string>> perRun;
    std::vector<std::string> nearMissing;
    for (const StudyRow& row : rows) {
        perRun.emplace_back();
        for (const auto& variable : row.variables) perRun.back().push_back(variable.first);
        nearMissing.insert(nearMissing.end(), row.nearMissing.begin(), row.nearMissing.end());
    }
    const bool anyRead = std::any_of(rows.begin(), rows.end(),
                                     [](const StudyRow& row) { return row.error.empty(); });
    return studyVariables(perRun, anyRead, listed, nearMissing);
}

std::vector<std::string> studyVariables(const std::vector<std::vector<std::string>>& perRun,
                                        bool anyRead, const std::vector<std::string>& listed,
                                        const std::vector<std::string>& nearMissing) {
    std::set<std::string> seen;
    std::vector<std::string> others;
    for (const std::vector<std::string>& run : perRun)
        for (const std::string& name : run)
            if (seen.insert(name).second) others.push_back(name);
    std::vector<std::string> ordered, missing;
    for (const std::string& name : listed) {
        if (std::find(ordered.begin(), ordered.end(), name) != ordered.end()) continue;
        if (seen.count(name))
            ordered.push_back(name);
        else if (name != mon::kCoefficientLoop)  // as for one run: no loops, no column
            missing.push_back(name);
    }
    if (!missing.empty() && anyRead) {
        std::vector<std::string> known = others;
        for (const std::string& name : nearMissing)
            if (seen.insert(name).second) known.push_back(name);
        throw owl::data::notFound("Study", "studyVariables",
                                  exporter::missingVariablesMessage(
                                      "Requested variable(s) not found in any run of the study: ",
                                      missing, known, "the runs have"),
                                  owl::errorFatal);
    }
    for (const std::string& name : others)
        if (std::find(ordered.begin(), ordered.end(), name) == ordered.end())
            ordered.push_back(name);
    return ordered;
}

std::vector<std::string> fieldSuffixes(StudyMode mode, bool verdicts) {
    if (mode == StudyMode::LastValues) return {""};
    std::vector<std::string> suffixes{"",      " STDERR", " STD",   " MIN",    " MAX",
                                      " NOTE", " NEFF",   " COUNT", " PERIOD", " AMPLITUDE"};
    if (verdicts) suffixes.insert(suffixes.end(), {" VERDICT", " REASON"});
    return suffixes;
}

}  // namespace study
