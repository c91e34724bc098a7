#include "monplot/serve/RunCatalog.h"

#include <algorithm>

#include "libs/exception/Error.h"
#include "monplot/RunLoader.h"
#include "study/PathParameters.h"
#include "study/RunKind.h"
#include "study/RunMatrix.h"
#include "study/StudyPatterns.h"

namespace serve {

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
                       std::string matrixFile, RunFollower::Summarize summarize)
    : sources_(std::move(sources)),
      studyPatterns_(std::move(studyPatterns)),
      matrixFile_(std::move(matrixFile)),
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
        for (const RunSource& source : sources_) add(*next, sourceTypeOf(source.kind), source.path);
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
    setParameters(*next);
    std::lock_guard<std::mutex> lock(mutex_);
    listing_ = std::move(next);
    return true;
}

// The study's runs' parameters, from the matrix or the paths; the other
// sources have none. A matrix that cannot be read leaves every run without
// parameters and says why, rather than hide the runs.
void RunCatalog::setParameters(RunListing& listing) const {
    study::RunParameters found;
    listing.parametersError.clear();
    try {
        found = matrixFile_.empty() || studyRuns_.empty()
                    ? study::pathParameters(studyRuns_)
                    : study::matrixParameters(matrixFile_, studyRuns_);
    } catch (const owl::Error& error) {
        listing.parametersError = error.getErrorText();
        found.values.assign(studyRuns_.size(), {});
    }
    listing.parameters.names = found.names;
    listing.parameters.values.assign(sources_.size(), std::vector<std::string>(found.names.size()));
    listing.parameters.values.insert(listing.parameters.values.end(), found.values.begin(),
                                     found.values.end());
}

std::shared_ptr<const RunListing> RunCatalog::listing() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return listing_;
}

}  // namespace serve
