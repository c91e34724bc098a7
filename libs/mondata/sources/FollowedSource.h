#pragma once
// A source read as its solver writes it: the files read so far, each with
// its offset and its reader's state, so that the next update reads only what
// was appended. A format that can follow its sources makes one of these
// (SourceFormats.h); RunFollower drives it.

#include <memory>
#include <string>

#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/sources/ReadOptions.h"
#include "libs/mondata/text/FollowedFile.h"

namespace mon {

class FollowedSource {
  public:
    enum class Outcome {
        Read,       // what was new is in the builder
        ReadAgain,  // a file was truncated or replaced: read the source again from its start
    };

    virtual ~FollowedSource() = default;
    // Reads into the builder the source was made with: everything at the
    // first call, then what is new since the last one. Throws owl::Error as
    // a whole reading of the same bytes would; the builder is then left
    // half-written, and the source is read again from its start.
    virtual Outcome update() = 0;
};

// Polls a file of a followed source. A file that cannot be seen for a
// moment (a log being rotated, a file system slow to show a write) is
// waited for, with a warning in the builder when it goes; a file never read
// is read, so that its reading reports why it cannot be.
FollowedFile::Change pollFollowed(FollowedFile& file, RunDataBuilder& builder);

// How a format makes its followed source (null for formats read whole at
// every change).
using FollowSource = std::unique_ptr<FollowedSource> (*)(const std::string& path,
                                                         RunDataBuilder& builder,
                                                         const ReadOptions& options);

}  // namespace mon
