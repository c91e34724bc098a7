#include "study/StudyCommand.h"

#include <QString>
#include <algorithm>
#include <iostream>
#include <memory>

#include "export/VariableSelection.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/rules/MonVariableRule.h"
#include "libs/system/FileIdentity.h"
#include "libs/system/OWLStream.h"
#include "study/PathParameters.h"
#include "study/RunMatrix.h"
#include "study/StudyColumns.h"
#include "study/StudyError.h"
#include "study/StudyGathering.h"
#include "study/StudyPatterns.h"
#include "study/StudyTableWriter.h"

namespace study {
namespace {

std::vector<std::string> runsOf(const std::vector<std::string>& patterns) {
    const Expansion expansion = expandPatterns(patterns);
    for (const std::string& pattern : expansion.unmatched)
        std::cerr << "Warning: -study '" << owl::printable(pattern) << "' matches no path."
                  << std::endl;
    if (expansion.runs.empty()) raise("runStudy", "No path matches the -study patterns.");
    return expansion.runs;
}

StudySettings settingsOf(const StudyOptions& options) {
    StudySettings settings;
    settings.varList = exporter::parseVarList(options.varList);
    if (!options.varRule.empty())
        settings.varRule =
            std::make_shared<MonVariableRule>(QString::fromUtf8(options.varRule.c_str()));
    settings.mode = options.mode;
    settings.stats = options.stats;
    settings.times = options.times;
    return settings;
}

// Writes to the -out file (never one of the runs) or to standard output.
void writeTable(const StudyOptions& options, const std::vector<StudyRow>& rows,
                const StudyLayout& layout) {
    if (options.outFile.empty()) {
        writeStudyTable(std::cout, rows, layout);
        if (!std::cout) raise("runStudy", "Failed to write to standard output.");
        return;
    }
    const owl::FileIdentity output(options.outFile);
    if (output.isRegularFile() && std::any_of(rows.begin(), rows.end(), [&](const StudyRow& row) {
            return output.isFileAt(row.run);
        }))
        raise("runStudy", "Refusing to write the output to '" + owl::printable(options.outFile) +
                              "': it is a run of the study.");
    owl::OWLStream stream(options.outFile, owl::OWLStream::Out, false);
    writeStudyTable(*stream.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc), rows, layout);
    stream.close();
}

// The matrix's lines that name no run, as rows after the runs'.
void addUnmatchedLines(RunParameters& parameters, std::vector<StudyRow>& rows) {
    for (auto& [run, values] : parameters.unmatched) {
        StudyRow row;
        row.run = run;
        row.error = "no run matches";
        rows.push_back(std::move(row));
        parameters.values.push_back(std::move(values));
    }
    parameters.unmatched.clear();
}

// A criterion rule that matches no variable of any run read is a fault of
// the command line (a misspelt name or attribute), not of the runs.
void requireMatchedCriteria(const std::vector<StudyRow>& rows, const StudySettings& settings) {
    for (const stats::Criterion& criterion : settings.stats.criteria) {
        bool read = false, unmatchedEverywhere = true;
        for (const StudyRow& row : rows) {
            if (!row.error.empty()) continue;
            read = true;
            const auto& unmatched = row.unmatchedRules;
            unmatchedEverywhere =
                unmatchedEverywhere && std::find(unmatched.begin(), unmatched.end(),
                                                 criterion.ruleText) != unmatched.end();
        }
        if (read && unmatchedEverywhere)
            raise("runStudy", "The convergence criterion rule \"" +
                                  owl::printable(criterion.ruleText) +
                                  "\" matches no variable of any run of the study.");
    }
}

// 1 when a verdict failed: with -converged or -reference, also when a run
// could not be read (a gate never passes on a run it did not see).
int exitStatus(const std::vector<StudyRow>& rows, const StudySettings& settings) {
    const bool gate = settings.stats.hasVerdict();
    return std::any_of(
               rows.begin(), rows.end(),
               [&](const StudyRow& row) { return row.failedTest || (gate && !row.error.empty()); })
               ? 1
               : 0;
}

}  // namespace

int runStudy(const StudyOptions& options) {
    const StudySettings settings = settingsOf(options);
    std::vector<std::string> runs = runsOf(options.patterns);
    RunParameters parameters = options.matrixFile.empty()
                                   ? pathParameters(runs)
                                   : matrixParameters(options.matrixFile, runs);
    sortByParameters(runs, parameters);
    std::vector<StudyRow> rows = gatherRows(runs, settings, options.workers);
    for (const StudyRow& row : rows) std::cerr << row.warnings;
    requireMatchedCriteria(rows, settings);
    const bool anyRead = std::any_of(rows.begin(), rows.end(),
                                     [](const StudyRow& row) { return row.error.empty(); });
    addUnmatchedLines(parameters, rows);
    StudyLayout layout;
    layout.parameters = &parameters;
    layout.variables = studyVariables(rows, settings.varList);
    layout.suffixes = fieldSuffixes(settings.mode, settings.stats.hasVerdict());
    layout.header = options.header;
    writeTable(options, rows, layout);
    if (!anyRead)
        raise("runStudy", "None of the " + std::to_string(runs.size()) +
                              " runs of the study could be read (see the ERROR column).");
    return exitStatus(rows, settings);
}

}  // namespace study
