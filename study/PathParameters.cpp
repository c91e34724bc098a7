#include "study/PathParameters.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <utility>

#include "study/StudyPatterns.h"

namespace study {
namespace {

using Named = std::pair<std::string, std::string>;

// "case.mon" -> "case"; "alpha_2.5" keeps its ".5".
std::string withoutExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return name;
    for (size_t i = dot + 1; i < name.size(); ++i)
        if (!std::isalpha(static_cast<unsigned char>(name[i]))) return name;
    return name.substr(0, dot);
}

bool isName(const std::string& name) {
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

std::optional<Named> parameterOf(const std::string& component) {
    size_t split = component.find('=');
    if (split == std::string::npos) split = component.rfind('_');
    if (split == std::string::npos || split + 1 == component.size()) return std::nullopt;
    Named named{component.substr(0, split), component.substr(split + 1)};
    if (!isName(named.first)) return std::nullopt;
    return named;
}

// How many leading folders every run shares (none for a single run).
size_t sharedFolders(const std::vector<std::vector<std::string>>& paths) {
    if (paths.size() < 2) return 0;
    size_t shared = paths.front().empty() ? 0 : paths.front().size() - 1;
    for (const auto& parts : paths) {
        size_t same = 0;
        while (same < shared && same + 1 < parts.size() && parts[same] == paths.front()[same])
            ++same;
        shared = same;
    }
    return shared;
}

// Each named component's value, the deepest winning, and the names in order.
std::vector<Named> parametersOf(const std::vector<std::string>& parts, size_t skip) {
    std::vector<Named> found;
    for (size_t i = skip; i < parts.size(); ++i) {
        const std::string text = i + 1 == parts.size() ? withoutExtension(parts[i]) : parts[i];
        if (auto named = parameterOf(text)) {
            auto same = std::find_if(found.begin(), found.end(),
                                     [&](const Named& n) { return n.first == named->first; });
            if (same != found.end())
                same->second = named->second;
            else
                found.push_back(*named);
        }
    }
    return found;
}

}  // namespace

RunParameters pathParameters(const std::vector<std::string>& runs) {
    std::vector<std::vector<std::string>> paths;
    for (const std::string& run : runs) paths.push_back(pathComponents(run));
    const size_t skip = sharedFolders(paths);
    std::vector<std::map<std::string, std::string>> byRun;
    RunParameters parameters;
    for (size_t r = 0; r < paths.size(); ++r) {
        const std::vector<Named> found = parametersOf(paths[r], skip);
        if (r == 0)
            for (const Named& named : found) parameters.names.push_back(named.first);
        byRun.emplace_back(found.begin(), found.end());
    }
    // Only the names every run has.
    auto& names = parameters.names;
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) {
                                   return std::any_of(byRun.begin(), byRun.end(), [&](auto& run) {
                                       return run.count(name) == 0;
                                   });
                               }),
                names.end());
    for (auto& run : byRun) {
        std::vector<std::string> values;
        for (const std::string& name : names) values.push_back(run[name]);
        parameters.values.push_back(std::move(values));
    }
    return parameters;
}

}  // namespace study
