#include "study/StudyColumns.h"

#include <algorithm>
#include <set>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/model/RecordKey.h"

namespace study {

std::vector<std::string> studyVariables(const std::vector<StudyRow>& rows,
                                        const std::vector<std::string>& listed) {
    std::vector<std::vector<std::string>> perRun;
    for (const StudyRow& row : rows) {
        perRun.emplace_back();
        for (const auto& variable : row.variables) perRun.back().push_back(variable.first);
    }
    const bool anyRead = std::any_of(rows.begin(), rows.end(),
                                     [](const StudyRow& row) { return row.error.empty(); });
    return studyVariables(perRun, anyRead, listed);
}

std::vector<std::string> studyVariables(const std::vector<std::vector<std::string>>& perRun,
                                        bool anyRead, const std::vector<std::string>& listed) {
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
        std::string message = "Requested variable(s) not found in any run of the study: ";
        for (const std::string& name : missing) message += "\n    " + owl::printable(name);
        throw owl::data::notFound("Study", "studyVariables", message, owl::errorFatal);
    }
    for (const std::string& name : others)
        if (std::find(ordered.begin(), ordered.end(), name) == ordered.end())
            ordered.push_back(name);
    return ordered;
}

std::vector<std::string> fieldSuffixes(StudyMode mode, bool verdicts) {
    if (mode == StudyMode::LastValues) return {""};
    std::vector<std::string> suffixes{"",     " STDERR", " STD",      " MIN",
                                      " MAX", " PERIOD", " AMPLITUDE"};
    if (verdicts) suffixes.push_back(" VERDICT");
    return suffixes;
}

}  // namespace study
