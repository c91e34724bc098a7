#include "study/StudyTableWriter.h"

#include <algorithm>
#include <map>

#include "export/RunHistoryWriter.h"

namespace study {
namespace {

std::string csvText(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

std::vector<std::string> headerOf(const StudyLayout& layout) {
    std::vector<std::string> columns{"RUN"};
    columns.insert(columns.end(), layout.parameters->names.begin(), layout.parameters->names.end());
    for (const std::string& variable : layout.variables)
        for (const std::string& suffix : layout.suffixes) columns.push_back(variable + suffix);
    columns.push_back("STEPS");
    columns.push_back("ERROR");
    return columns;
}

// A variable the run lacks: empty, but with a verdict "no" for "missing".
void appendMissing(const StudyLayout& layout, bool missing, std::string& line) {
    for (const std::string& suffix : layout.suffixes) {
        line += ',';
        if (missing && suffix == " VERDICT") line += "no";
        if (missing && suffix == " REASON") line += "missing";
    }
}

void appendValues(const StudyRow& row, const StudyLayout& layout, const owl::TableFormat& format,
                  std::string& line) {
    std::map<std::string, const std::vector<StudyField>*> byName;
    for (const auto& variable : row.variables) byName[variable.first] = &variable.second;
    std::string number;
    for (const std::string& variable : layout.variables) {
        auto found = byName.find(variable);
        if (found == byName.end()) {
            appendMissing(layout, std::count(row.missing.begin(), row.missing.end(), variable) > 0,
                          line);
            continue;
        }
        for (size_t i = 0; i < layout.suffixes.size(); ++i) {
            line += ',';
            const StudyField& field = found->second->at(i);
            if (field.isText) {
                line += csvText(field.text);
                continue;
            }
            number.clear();
            format.appendLine({field.number}, number);
            line.append(number, 0, number.size() - 1);  // without the line end
        }
    }
}

}  // namespace

void writeStudyTable(std::ostream& out, const std::vector<StudyRow>& rows,
                     const StudyLayout& layout) {
    if (layout.header) RunHistoryWriter::writeHeader(out, headerOf(layout));
    const owl::TableFormat format(layout.precision);
    std::string line;
    for (size_t r = 0; r < rows.size(); ++r) {
        const StudyRow& row = rows[r];
        line = csvText(row.run);
        for (const std::string& value : layout.parameters->values[r]) line += ',' + csvText(value);
        appendValues(row, layout, format, line);
        line += ',';
        if (row.steps) line += std::to_string(*row.steps);
        line += ',' + csvText(oneLine(errorText(row))) + '\n';
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
    out.flush();
}

}  // namespace study
