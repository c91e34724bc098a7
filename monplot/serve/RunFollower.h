#pragma once
// Follows one run while it grows: refresh() looks at the source with `stat`
// and, when it changed, reads what its solver appended (mon::RunFollower),
// then publishes a copy of the run as a snapshot that readers hold as long
// as they need it, while the next reading goes on beside them. Results and
// CGNS files, rewritten rather than appended to, are read again whole.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/sources/RunFollower.h"
#include "monplot/serve/RunStatus.h"

namespace serve {

// One reading of the run.
struct RunSnapshot {
    std::shared_ptr<MonDatabase> database;  // null when the run cannot be read
    std::string error;                      // why it cannot be read
    RunStatus status;
    int64_t newestTime = 0;  // latest modification time of its files
    uint64_t version = 0;    // counts the readings that changed something
};

class RunFollower {
  public:
    // summarize is applied to each new reading, before it is published.
    using Summarize = std::function<RunStatus(MonDatabase&)>;
    RunFollower(MonDatabase::SourceType kind, std::string path, Summarize summarize);

    // Reads the source again when its stamp changed; true when a new
    // snapshot was published. Never throws: a source that cannot be read
    // gives a snapshot holding the reason.
    bool refresh();
    // The latest snapshot (an empty one before the first refresh).
    std::shared_ptr<const RunSnapshot> current() const;
    const std::string& path() const { return path_; }
    MonDatabase::SourceType kind() const { return kind_; }

  private:
    std::shared_ptr<RunSnapshot> read(int64_t newestTime);
    std::shared_ptr<MonDatabase> readDatabase();

    MonDatabase::SourceType kind_;
    std::string path_;
    Summarize summarize_;
    std::string signature_;
    std::unique_ptr<mon::RunFollower> live_;  // the run as read so far
    bool readsWhole_ = false;                 // a source its readers load lazily
    mutable std::mutex mutex_;                // guards current_
    std::shared_ptr<const RunSnapshot> current_;
};

}  // namespace serve
