#include "monplot/serve/RunCatalog.h"

#include <algorithm>

#include "monplot/RunLoader.h"
#include "study/PathParameters.h"
#include "study/RunKind.h"
#include "study/StudyPatterns.h"

namespace serve {

namespace {
MonDatabase::SourceType typeOf(RunSource::Kind kind) {
    switch (kind) {
        case RunSource::Kind::Results:
            return MonDatabase::ResultsFile;
        case RunSource::Kind::Directory:
            return MonDatabase::RunDirectory;
        default:
            return MonDatabase::MonitorFile;
    }
}
}  // namespace

const CatalogRun* RunListing::find(const std::string& id) const {
    const size_t index = indexOf(id);
    return index < runs.size() ? &runs[index] : nullptr;
}

size_t RunListing::indexOf(const std::string& id) const {
    for (size_t i = 0; i < runs.size(); ++i)
        if (runs[i].id == id) return i;
    return runs.size();
}

RunCatalog::RunCatalog(std::vector<RunSource> sources, std::vector<std::string> studyPatterns,
                       RunFollower::Summarize summarize)
    : sources_(std::move(sources)),
      studyPatterns_(std::move(studyPatterns)),
      summarize_(std::move(summarize)),
      listing_(std::make_shared<RunListing>()) {}

void RunCatalog::add(RunListing& listing, MonDatabase::SourceType kind,
                     const std::string& path) const {
    listing.runs.push_back({"r" + std::to_string(listing.runs.size() + 1), path,
                            std::make_shared<RunFollower>(kind, path, summarize_)});
}

bool RunCatalog::discover() {
    const std::shared_ptr<const RunListing> old = listing();
    auto next = std::make_shared<RunListing>(*old);
    if (next->runs.empty())
        for (const RunSource& source : sources_) add(*next, typeOf(source.kind), source.path);
    if (!studyPatterns_.empty())
        for (const std::string& path : study::expandPatterns(studyPatterns_).runs)
            if (std::find(studyRuns_.begin(), studyRuns_.end(), path) == studyRuns_.end()) {
                studyRuns_.push_back(path);
                add(*next, study::runKindOf(path), path);
            }
    if (next->runs.size() == old->runs.size()) return false;
    std::vector<std::string> paths;
    for (const CatalogRun& run : next->runs) paths.push_back(run.path);
    next->names = runNames(paths);
    // Parameters come from the study's paths only.
    const study::RunParameters found = study::pathParameters(studyRuns_);
    next->parameters.names = found.names;
    next->parameters.values.assign(sources_.size(), std::vector<std::string>(found.names.size()));
    next->parameters.values.insert(next->parameters.values.end(), found.values.begin(),
                                   found.values.end());
    std::lock_guard<std::mutex> lock(mutex_);
    listing_ = std::move(next);
    return true;
}

std::shared_ptr<const RunListing> RunCatalog::listing() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return listing_;
}

}  // namespace serve
