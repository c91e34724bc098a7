#include "monplot/RunLoader.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include "libs/exception/Error.h"
#include "libs/guiutils/MessageDisplay.h"
#include "libs/mondata/model/MonDatabase.h"

MonDatabase::SourceType sourceTypeOf(RunSource::Kind kind) {
    switch (kind) {
        case RunSource::Kind::Results:
            return MonDatabase::ResultsFile;
        case RunSource::Kind::Directory:
            return MonDatabase::RunDirectory;
        default:
            return MonDatabase::MonitorFile;
    }
}

namespace {

// The path's components, last first, without empty or "." ones.
std::vector<std::string> componentsBackwards(const std::string& path) {
    std::vector<std::string> parts;
    for (const auto& part : std::filesystem::path(path))
        if (!part.empty() && part != "." && part != "/") parts.insert(parts.begin(), part.string());
    return parts;
}

std::string lastComponents(const std::vector<std::string>& backwards, size_t count) {
    std::string name;
    for (size_t i = std::min(count, backwards.size()); i-- > 0;)
        name += (name.empty() ? "" : "/") + backwards[i];
    return name.empty() ? "run" : name;
}
}  // namespace

std::vector<std::string> sourcePaths(const PlotOptions& options) {
    std::vector<std::string> paths;
    for (const RunSource& source : options.sources) paths.push_back(source.path);
    return paths;
}

FollowedRuns::FollowedRuns(const PlotOptions& options) : sources_(options.sources) {
    if (sources_.empty())
        throw owl::internal::error("monplot", "loadRun", "No valid data source has been specified.",
                                   owl::errorFatal);
    for (size_t i = 0; i < sources_.size(); ++i)
        runs_.push_back(
            std::make_unique<MonDatabase>(QStringLiteral("main"), new owl::LineMessageDisplay()));
}

FollowedRuns::~FollowedRuns() = default;

bool FollowedRuns::read() {
    bool changed = false;
    std::exception_ptr firstError;
    for (size_t i = 0; i < sources_.size(); ++i) {
        MonDatabase& run = *runs_[i];
        try {
            run.updateFrom(sourceTypeOf(sources_[i].kind), QString::fromLatin1(sources_[i].path.c_str()),
                           false);
            run.updateData();
            changed = changed || run.followedChange();
        } catch (const owl::Error&) {
            if (!firstError) firstError = std::current_exception();
        }
    }
    if (firstError) std::rethrow_exception(firstError);
    return changed;
}

std::vector<std::string> runNames(const std::vector<std::string>& paths) {
    std::vector<std::vector<std::string>> parts;
    size_t deepest = 1;
    for (const std::string& path : paths) {
        parts.push_back(componentsBackwards(path));
        deepest = std::max(deepest, parts.back().size());
    }
    std::vector<std::string> names;
    for (size_t depth = 1; depth <= deepest; ++depth) {
        names.clear();
        for (const auto& backwards : parts) names.push_back(lastComponents(backwards, depth));
        std::vector<std::string> sorted = names;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) break;
    }
    return names;
}
