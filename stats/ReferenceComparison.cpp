#include "stats/ReferenceComparison.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "stats/CsvLine.h"

namespace stats {

namespace {

[[noreturn]] void fail(const std::string& operation, const std::string& message) {
    throw owl::internal::error("ReferenceComparison", operation, message, owl::errorFatal);
}

int columnOf(const std::vector<std::string>& header, const std::string& name) {
    for (size_t i = 0; i < header.size(); ++i)
        if (header[i] == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

Tolerance parseTolerance(const std::string& text) {
    Tolerance tolerance;
    auto where = [&](size_t at, const std::string& what) {
        fail("parseTolerance", "Invalid tolerance \"" + owl::printable(text) + "\": " + what +
                                   " at column " + std::to_string(at + 1) + ".");
    };
    for (size_t i = 0; i < text.size();) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        size_t end = text.find_first_of(" \t", i);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(i, end - i);
        const size_t equals = word.find('=');
        const std::string key = word.substr(0, equals);
        double* target = key == "atol"   ? &tolerance.atol
                         : key == "rtol" ? &tolerance.rtol
                         : key == "k"    ? &tolerance.k
                                         : nullptr;
        if (!target || equals == std::string::npos)
            where(i, "expected atol=A, rtol=R or k=K, not '" + word + "'");
        const std::string value = word.substr(equals + 1);
        char* stop = nullptr;
        *target = std::strtod(value.c_str(), &stop);
        if (value.empty() || *stop != '\0' || !std::isfinite(*target) || *target < 0)
            where(i + equals + 1, "expected a number from 0 after '" + key + "='");
        i = end;
    }
    return tolerance;
}

std::map<std::string, double> readReference(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        fail("readReference", "Cannot read the reference file '" + owl::printable(path) + "'.");
    auto faultAt = [&](size_t line, const std::string& what) {
        fail("readReference", "Reference file '" + owl::printable(path) + "', line " +
                                  std::to_string(line) + ": " + what);
    };
    std::string line;
    std::vector<std::string> fields;
    if (!std::getline(in, line) || !splitCsvLine(line, fields))
        faultAt(1, "expected a header line naming the VARIABLE and MEAN (or VALUE) columns.");
    const int name = columnOf(fields, "VARIABLE");
    int value = columnOf(fields, "MEAN");
    if (value < 0) value = columnOf(fields, "VALUE");
    if (name < 0 || value < 0)
        faultAt(1, "the header names no VARIABLE and MEAN (or VALUE) column.");
    std::map<std::string, double> references;
    for (size_t number = 2; std::getline(in, line); ++number) {
        if (line.empty() || line == "\r") continue;
        if (!splitCsvLine(line, fields)) faultAt(number, "a quote is not closed.");
        if (fields.size() <= static_cast<size_t>(std::max(name, value)))
            faultAt(number, "fewer fields than the header.");
        const std::string& text = fields[static_cast<size_t>(value)];
        if (text.empty()) continue;
        char* stop = nullptr;
        const double reference = std::strtod(text.c_str(), &stop);
        if (*stop != '\0') faultAt(number, "'" + owl::printable(text) + "' is not a number.");
        references.emplace(fields[static_cast<size_t>(name)], reference);
    }
    return references;
}

Comparison compare(double mean, double stdError, double reference, const Tolerance& tolerance) {
    Comparison comparison;
    comparison.difference = mean - reference;
    const double sampling = std::isfinite(stdError) ? tolerance.k * stdError : 0;
    const double allowed = tolerance.atol + tolerance.rtol * std::fabs(reference) + sampling;
    if (std::fabs(comparison.difference) <= allowed) return comparison;
    char text[96];
    std::snprintf(text, sizeof text, "differs from the reference by %.6g (more than %.6g)",
                  comparison.difference, allowed);
    comparison.verdict = {false, text};
    return comparison;
}

}  // namespace stats
