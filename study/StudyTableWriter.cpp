#include "study/StudyTableWriter.h"

#include <QString>
#include <algorithm>
#include <map>

#include "export/RunHistoryWriter.h"
#include "libs/utilities/Utf8.h"

namespace study {
namespace {

// Paths are bytes: those that are not UTF-8 (a Latin-1 file name) are read
// as Latin-1, so that the table, UTF-8 like its names, is one encoding.
std::string utf8Text(const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();)
        if (owl::utf8::decodeAt(bytes, at) == owl::utf8::kIllFormed)
            return QString::fromLatin1(bytes.data(), static_cast<int>(bytes.size()))
                .toUtf8()
                .toStdString();
    return bytes;
}

std::string csvText(const std::string& bytes) {
    const std::string text = utf8Text(bytes);
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
    for (const std::string& name : layout.parameters->names) columns.push_back(utf8Text(name));
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
