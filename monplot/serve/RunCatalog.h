#pragma once
// The runs the dashboard shows: the -res, -dir and -mon sources, then every
// path the -study patterns match, globbed again at each discover() so that
// runs started later appear. Each run gets an opaque id ("r1", "r2", ...)
// for good: requests name runs by id only, never by path.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "monplot/PlotOptions.h"
#include "monplot/serve/RunFollower.h"
#include "study/RunParameters.h"

namespace serve {

struct CatalogRun {
    std::string id;
    std::string path;
    std::shared_ptr<RunFollower> follower;
};

// The runs at one moment, with their names and study parameters.
struct RunListing {
    std::vector<CatalogRun> runs;     // in discovery order
    std::vector<std::string> names;   // per run: its path, shortened
    study::RunParameters parameters;  // of the study's runs (empty rows for the others)
    std::string parametersError;      // why the -matrix file gave none, if it failed

    const CatalogRun* find(const std::string& id) const;
    size_t indexOf(const std::string& id) const;  // runs.size() when unknown
};

class RunCatalog {
  public:
    // matrixFile: the -matrix file the study's parameters come from (empty:
    // from the paths); read again whenever runs are added.
    RunCatalog(std::vector<RunSource> sources, std::vector<std::string> studyPatterns,
               std::string matrixFile, RunFollower::Summarize summarize);

    // Adds the runs not seen yet; true when there were any. Throws
    // owl::Error only for an @FILE pattern that cannot be read.
    bool discover();
    std::shared_ptr<const RunListing> listing() const;

  private:
    void add(RunListing& listing, MonDatabase::SourceType kind, const std::string& path) const;
    void setParameters(RunListing& listing) const;

    std::vector<RunSource> sources_;
    std::vector<std::string> studyPatterns_;
    std::string matrixFile_;
    RunFollower::Summarize summarize_;
    std::vector<std::string> studyRuns_;  // the matches so far, in discovery order
    mutable std::mutex mutex_;            // guards listing_
    std::shared_ptr<const RunListing> listing_;
};

}  // namespace serve
