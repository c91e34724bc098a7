#include "study/StudyPatterns.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "libs/exception/MessageText.h"
#include "study/StudyError.h"

namespace study {
namespace {

bool hasWildcard(const std::string& text) {
    return text.find_first_of("*?[") != std::string::npos;
}

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string join(const std::string& base, const std::string& name) {
    if (base.empty()) return name;
    return base.back() == '/' ? base + name : base + "/" + name;
}

// The entries of a folder ("" is the current one), hidden ones only when
// the pattern asks for them, as a shell does.
std::vector<std::string> entriesMatching(const std::string& folder, const std::string& part) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (fnmatch(part.c_str(), name.c_str(), FNM_PERIOD) == 0) names.push_back(name);
    }
    closedir(dir);
    return names;
}

void walk(const std::string& base, const std::vector<std::string>& parts, size_t next,
          std::vector<std::string>& found) {
    if (next == parts.size()) {
        found.push_back(base);
        return;
    }
    const std::string& part = parts[next];
    if (part == "**") {
        walk(base, parts, next + 1, found);  // no folder at all
        for (const std::string& name : entriesMatching(base, "*")) {
            const std::string path = join(base, name);
            if (isFolder(path)) walk(path, parts, next, found);
        }
    } else if (!hasWildcard(part)) {
        const std::string path = join(base, part);
        if (exists(path)) walk(path, parts, next + 1, found);
    } else {
        for (const std::string& name : entriesMatching(base, part))
            walk(join(base, name), parts, next + 1, found);
    }
}

std::vector<std::string> matchGlob(const std::string& pattern) {
    std::vector<std::string> found;
    walk(pattern.front() == '/' ? "/" : "", pathComponents(pattern), 0, found);
    return found;
}

std::vector<std::string> readList(const std::string& file) {
    std::ifstream in(file);
    if (!in)
        raise("expandPatterns",
              "Cannot read the run list '" + owl::printable(file) + "' (-study @FILE).");
    std::vector<std::string> paths;
    for (std::string line; std::getline(in, line);) {
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;  // blank, comment
        const size_t last = line.find_last_not_of(" \t\r");
        paths.push_back(line.substr(first, last - first + 1));
    }
    return paths;
}

}  // namespace

std::vector<std::string> pathComponents(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

Expansion expandPatterns(const std::vector<std::string>& patterns) {
    Expansion expansion;
    for (const std::string& pattern : patterns) {
        std::vector<std::string> paths;
        if (!pattern.empty() && pattern.front() == '@')
            paths = readList(pattern.substr(1));
        else if (hasWildcard(pattern))
            paths = matchGlob(pattern);
        else
            paths = {pattern};  // a missing run becomes a row with its reason
        if (paths.empty()) expansion.unmatched.push_back(pattern);
        expansion.runs.insert(expansion.runs.end(), paths.begin(), paths.end());
    }
    std::sort(expansion.runs.begin(), expansion.runs.end());
    expansion.runs.erase(std::unique(expansion.runs.begin(), expansion.runs.end()),
                         expansion.runs.end());
    return expansion;
}

}  // namespace study
