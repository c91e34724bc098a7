#include "study/PathParameters.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <utility>

#include "study/StudyPatterns.h"

namespace study {
namespace {

// A parameter found in a path; explicit when written name=value.
struct Named {
    std::string name, value;
    bool explicitly = false;
};

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

// "name=value" or "name_value" (split at the last '_').
std::optional<Named> parameterOf(const std::string& piece) {
    const size_t equals = piece.find('=');
    const size_t split = equals != std::string::npos ? equals : piece.rfind('_');
    if (split == std::string::npos || split + 1 == piece.size()) return std::nullopt;
    Named named{piece.substr(0, split), piece.substr(split + 1), equals != std::string::npos};
    if (!isName(named.name)) return std::nullopt;
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

// Each named piece's value (pieces: a component's parts between commas),
// the deepest winning, in order of first appearance.
std::vector<Named> parametersOf(const std::vector<std::string>& parts, size_t skip) {
    std::vector<Named> found;
    for (size_t i = skip; i < parts.size(); ++i) {
        const std::string text = i + 1 == parts.size() ? withoutExtension(parts[i]) : parts[i];
        for (size_t start = 0; start <= text.size();) {
            size_t end = text.find(',', start);
            if (end == std::string::npos) end = text.size();
            if (auto named = parameterOf(text.substr(start, end - start))) {
                auto same = std::find_if(found.begin(), found.end(),
                                         [&](const Named& n) { return n.name == named->name; });
                if (same != found.end())
                    *same = *named;
                else
                    found.push_back(*named);
            }
            start = end + 1;
        }
    }
    return found;
}

}  // namespace

RunParameters pathParameters(const std::vector<std::string>& runs) {
    std::vector<std::vector<std::string>> paths;
    for (const std::string& run : runs) paths.push_back(pathComponents(run));
    const size_t skip = sharedFolders(paths);
    std::vector<std::map<std::string, Named>> byRun;
    std::vector<std::string> names;  // in order of first appearance
    for (const auto& path : paths) {
        byRun.emplace_back();
        for (const Named& named : parametersOf(path, skip)) {
            if (std::find(names.begin(), names.end(), named.name) == names.end())
                names.push_back(named.name);
            byRun.back()[named.name] = named;
        }
    }
    // A name=value is a parameter wherever a run has it; a name_value only
    // when every run has that name.
    RunParameters parameters;
    for (const std::string& name : names) {
        const bool everywhere = std::all_of(byRun.begin(), byRun.end(),
                                            [&](const auto& run) { return run.count(name) > 0; });
        const bool explicitly = std::any_of(byRun.begin(), byRun.end(), [&](const auto& run) {
            auto found = run.find(name);
            return found != run.end() && found->second.explicitly;
        });
        if (everywhere || explicitly) parameters.names.push_back(name);
    }
    for (auto& run : byRun) {
        std::vector<std::string> values;
        for (const std::string& name : parameters.names) {
            auto found = run.find(name);
            values.push_back(found != run.end() ? found->second.value : std::string());
        }
        parameters.values.push_back(std::move(values));
    }
    return parameters;
}

}  // namespace study
