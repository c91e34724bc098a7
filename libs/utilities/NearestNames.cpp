#include "libs/utilities/NearestNames.h"

#include <algorithm>
#include <limits>

#include "libs/exception/MessageText.h"

namespace owl {

namespace {

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

const size_t kMaxEdits = 2;
const size_t kFar = std::numeric_limits<size_t>::max();

// The edits from wanted to text when they count as near, else kFar.
size_t nearDistance(std::string_view wanted, std::string_view text) {
    const size_t edits = editDistance(wanted, text);
    return edits <= kMaxEdits && edits < std::min(wanted.size(), text.size()) ? edits : kFar;
}

// The nearest of the name and its last words (the parts after a blank).
size_t nameDistance(std::string_view wanted, std::string_view name) {
    size_t best = nearDistance(wanted, name);
    for (size_t blank = name.find(' '); blank != std::string_view::npos && best > 0;
         blank = name.find(' ', blank + 1))
        best = std::min(best, nearDistance(wanted, name.substr(blank + 1)));
    return best;
}

}  // namespace

// The optimal string alignment distance, one row of the table per
// character of a, three rows kept.
size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const bool same = folded(a[i - 1]) == folded(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + !same});
            if (i > 1 && j > 1 && folded(a[i - 1]) == folded(b[j - 2]) &&
                folded(a[i - 2]) == folded(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[b.size()];
}

std::vector<size_t> nearestNames(std::string_view wanted, const std::vector<std::string>& names,
                                 size_t limit) {
    std::vector<size_t> nearest;
    size_t best = kFar;
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t distance = nameDistance(wanted, names[i]);
        if (distance == kFar || distance > best) continue;
        if (distance < best) nearest.clear();
        best = distance;
        if (nearest.size() < limit) nearest.push_back(i);
    }
    return nearest;
}

std::string_view optionStem(std::string_view argument) {
    const size_t dashes = argument.rfind("--", 0) == 0 ? 2 : argument.rfind('-', 0) == 0 ? 1 : 0;
    return argument.substr(dashes);
}

std::vector<size_t> nearestOptions(std::string_view argument,
                                   const std::vector<std::string>& options) {
    if (argument.empty() || argument[0] != '-') return {};
    // An option spelt with one dash and with two ("-help", "--help") is one
    // name: only its first spelling can be near.
    std::vector<std::string> stems;
    for (const std::string& option : options) {
        const std::string stem(optionStem(option));
        const bool spelt = std::find(stems.begin(), stems.end(), stem) != stems.end();
        stems.push_back(spelt ? std::string() : stem);
    }
    return nearestNames(optionStem(argument), stems, options.size());
}

std::string quotedChoices(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
        text += "'" + printable(names[i]) + "'";
    }
    return text;
}

std::string unknownOptionText(std::string_view argument, const std::vector<std::string>& near,
                              const std::string& otherwise) {
    const std::string unknown = "Unknown option '" + printable(argument) + "'";
    if (near.empty()) return unknown + otherwise;
    return unknown + ": did you mean " + quotedChoices(near) + "?";
}

}  // namespace owl
