#include "plot/PlotFileNames.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace plot {

namespace {
const size_t kLongestStem = 80;

bool keeps(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
}  // namespace

std::string safeFileStem(const std::string& plotName) {
    std::string stem;
    for (char c : plotName) {
        if (keeps(c))
            stem += c;
        else if (stem.empty() || stem.back() != '_')
            stem += '_';
    }
    stem.erase(0, stem.find_first_not_of("._"));
    while (!stem.empty() && stem.back() == '_') stem.pop_back();
    if (stem.size() > kLongestStem) stem.resize(kLongestStem);
    return stem.empty() ? "plot" : stem;
}

std::vector<std::string> uniqueFileStems(const std::vector<std::string>& plotNames) {
    std::vector<std::string> stems;
    std::set<std::string> taken{"index"};
    for (const std::string& name : plotNames) {
        const std::string base = safeFileStem(name);
        std::string stem = base;
        for (int n = 2; taken.count(lowered(stem)); ++n) stem = base + "-" + std::to_string(n);
        taken.insert(lowered(stem));
        stems.push_back(stem);
    }
    return stems;
}

}  // namespace plot
