#include "study/RunMatrix.h"

#include <algorithm>
#include <fstream>

#include "libs/exception/MessageText.h"
#include "stats/CsvLine.h"
#include "study/StudyError.h"
#include "study/StudyPatterns.h"

namespace study {
namespace {

struct MatrixLine {
    std::string run;
    std::vector<std::string> parameters;
};

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The line's fields, blanks around them dropped; an unclosed quote runs to
// the line's end.
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields;
    stats::splitCsvLine(line, fields);
    for (std::string& field : fields) field = trimmed(field);
    return fields;
}

std::vector<MatrixLine> readMatrix(const std::string& file, std::vector<std::string>& names) {
    std::ifstream in(file);
    if (!in) raise("readMatrix", "Cannot read the run matrix '" + owl::printable(file) + "'.");
    std::vector<MatrixLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (trimmed(text).empty()) continue;
        std::vector<std::string> fields = csvFields(text);
        if (names.empty()) {
            if (fields.size() < 2)
                raise("readMatrix", "Run matrix '" + owl::printable(file) +
                                        "', line 1: a run column and at least one parameter "
                                        "column are needed.");
            names.assign(fields.begin() + 1, fields.end());
            continue;
        }
        if (fields.size() != names.size() + 1)
            raise("readMatrix", "Run matrix '" + owl::printable(file) + "', line " +
                                    std::to_string(number) + ": " + std::to_string(fields.size()) +
                                    " fields where the header has " +
                                    std::to_string(names.size() + 1) + ".");
        lines.push_back({fields.front(), {fields.begin() + 1, fields.end()}});
    }
    if (names.empty())
        raise("readMatrix", "The run matrix '" + owl::printable(file) + "' is empty.");
    return lines;
}

std::string withoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Whether the matrix entry names the run: its path, or one of its components.
bool names(const std::string& entry, const std::string& run) {
    if (entry == run || pathComponents(entry) == pathComponents(run)) return true;
    if (entry.find('/') != std::string::npos) return false;
    for (const std::string& part : pathComponents(run))
        if (part == entry || withoutExtension(part) == entry) return true;
    return false;
}

}  // namespace

RunParameters matrixParameters(const std::string& file, const std::vector<std::string>& runs) {
    RunParameters parameters;
    const std::vector<MatrixLine> lines = readMatrix(file, parameters.names);
    std::vector<bool> used(lines.size(), false);
    for (const std::string& run : runs) {
        std::vector<std::string> values(parameters.names.size());
        for (size_t l = 0; l < lines.size(); ++l) {
            if (!names(lines[l].run, run)) continue;
            values = lines[l].parameters;
            used[l] = true;
            break;
        }
        parameters.values.push_back(std::move(values));
    }
    if (std::find(used.begin(), used.end(), true) == used.end())
        raise("matrixParameters",
              "The run matrix '" + owl::printable(file) +
                  "' names none of the study's runs: its first column holds a run's path or a "
                  "component of it (a folder's or file's name)" +
                  (lines.empty() ? "." : ", not '" + owl::printable(lines.front().run) + "'."));
    for (size_t l = 0; l < lines.size(); ++l)
        if (!used[l]) parameters.unmatched.emplace_back(lines[l].run, lines[l].parameters);
    return parameters;
}

}  // namespace study
