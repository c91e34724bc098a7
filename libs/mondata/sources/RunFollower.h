#pragma once
// A run followed while its solver writes it (docs/following.md). The first
// update reads the source whole; each later one reads only what was appended
// to its text files since, and new files of its folder (restart segments,
// logs, time folders), so that watching a growing run costs what the run
// grows by. A file truncated or replaced makes the source be read again from
// its start. Results and CGNS files, which their writers rewrite rather
// than append to, are read again whole when their size or time changes.
//
// After any sequence of updates the run is exactly the run one whole reading
// of the same bytes gives, up to its last complete record: a line or a
// solver-log step still being written is read once it is complete.

#include <cstddef>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "libs/mondata/model/RunData.h"
#include "libs/mondata/sources/ReadOptions.h"
#include "libs/mondata/sources/RunSource.h"

namespace mon {

class RunFollower {
  public:
    RunFollower(SourceKind kind, std::string path, ReadOptions options = {});
    ~RunFollower();
    RunFollower(const RunFollower&) = delete;
    RunFollower& operator=(const RunFollower&) = delete;

    // Reads what changed since the last update (the whole source at the
    // first) and returns how many records are new: appended, or written
    // again after a restart dropped them; every record after a reading from
    // the start. Throws owl::Error as readRun does; the run then stays as
    // far as it was read, the same error is thrown again while the source
    // does not change, and it is read again from its start once it does.
    size_t update();
    // Whether the last update changed the run: records or variables added
    // or dropped, or the source read again.
    bool changed() const { return changed_; }
    // The run so far; valid, and unchanged, until the next update.
    const RunData& run() const;
    // What the last update has to tell (lines of a solver log skipped, a
    // file missing for a moment), one message each.
    const std::vector<std::string>& warnings() const { return warnings_; }

    SourceKind kind() const { return kind_; }
    const std::string& path() const { return path_; }
    const ReadOptions& options() const { return options_; }

  private:
    size_t readFromStart();
    size_t readWhole();
    size_t follow();
    bool formatChanged();
    size_t published(bool readAgain);
    void failed();

    SourceKind kind_;
    std::string path_;
    ReadOptions options_;
    // A source its format follows, which format that is, and what the
    // choice depended on when it was last checked.
    std::unique_ptr<RunDataBuilder> builder_;
    std::unique_ptr<FollowedSource> source_;
    std::string format_;
    std::string formatSignature_;
    // A source read whole at every change.
    bool readsWhole_ = false;
    RunData wholeRun_;
    // When the source is read whole, or was read when its reading failed:
    // how it looked then, so that it is read again only once it changed.
    std::string signature_;
    bool failed_ = false;
    std::exception_ptr error_;  // of the failed reading, given again until the source changes
    bool changed_ = false;
    // What the last update left, to tell a change that adds no record.
    struct Shape {
        size_t variables = 0;
        int64_t records = 0;
        bool loops = false;
        bool operator==(const Shape& other) const {
            return variables == other.variables && records == other.records && loops == other.loops;
        }
    } shape_;
    std::vector<std::string> warnings_;
};

}  // namespace mon
