#include "study/RunParameters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <optional>

namespace study {
namespace {

std::optional<double> numberOf(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

// The parameters whose every value is a number or empty, some a number.
std::vector<size_t> numericParameters(const RunParameters& parameters) {
    std::vector<size_t> numeric;
    for (size_t p = 0; p < parameters.names.size(); ++p) {
        bool any = false, all = true;
        for (const auto& values : parameters.values) {
            const std::string& text = values.at(p);
            const bool number = numberOf(text).has_value();
            any = any || number;
            all = all && (number || text.empty());
        }
        if (any && all) numeric.push_back(p);
    }
    return numeric;
}

}  // namespace

void sortByParameters(std::vector<std::string>& runs, RunParameters& parameters) {
    const std::vector<size_t> numeric = numericParameters(parameters);
    if (numeric.empty()) return;
    // Each run's numbers, an empty value as +infinity (last).
    std::vector<std::vector<double>> keys;
    for (const auto& values : parameters.values) {
        keys.emplace_back();
        for (size_t p : numeric) keys.back().push_back(numberOf(values[p]).value_or(INFINITY));
    }
    std::vector<size_t> order(runs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<std::string> sortedRuns;
    std::vector<std::vector<std::string>> sortedValues;
    for (size_t i : order) {
        sortedRuns.push_back(std::move(runs[i]));
        sortedValues.push_back(std::move(parameters.values[i]));
    }
    runs = std::move(sortedRuns);
    parameters.values = std::move(sortedValues);
}

}  // namespace study
