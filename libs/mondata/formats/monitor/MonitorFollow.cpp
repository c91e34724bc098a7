#include "libs/mondata/formats/monitor/MonitorFollow.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/monitor/MonitorFile.h"
#include "libs/mondata/formats/monitor/RunDirectory.h"

namespace mon {

namespace {
using Change = FollowedFile::Change;
using Outcome = FollowedSource::Outcome;

// One monitor file and the parser that has read it so far.
struct FollowedSegment {
    FollowedSegment(const std::string& path, RunDataBuilder& builder, bool firstSegment)
        : file(path), parser(builder, path, firstSegment) {}

    // Reads what was appended; false when the file was replaced meanwhile.
    bool read(uint64_t runBytes, uint64_t runFiles, BlockReader::Buffer* buffer = nullptr) {
        if (!file.opened()) parser.expectRunBytes(runBytes > 0 ? runBytes : file.size(), runFiles);
        return file.readAppended([this](std::string_view text) { return parser.parseLines(text); },
                                 buffer);
    }

    FollowedFile file;
    MonitorFileParser parser;
};

class FollowedMonitorFile final : public FollowedSource {
  public:
    FollowedMonitorFile(const std::string& path, RunDataBuilder& builder, std::string meantAs)
        : builder_(builder), segment_(path, builder, true) {
        segment_.parser.setMeantAs(std::move(meantAs));
    }

    Outcome update() override {
        const Change change = pollFollowed(segment_.file, builder_);
        if (change == Change::Restarted) return Outcome::ReadAgain;
        if (change == Change::None) return Outcome::Read;
        if (!segment_.file.opened()) builder_.addSourceFile(segment_.file.path());
        if (!segment_.read(0, 1)) return Outcome::ReadAgain;
        segment_.parser.requireFirstLine();
        return Outcome::Read;
    }

  private:
    RunDataBuilder& builder_;
    FollowedSegment segment_;
};

class FollowedRunDirectory final : public FollowedSource {
  public:
    FollowedRunDirectory(std::string folder, RunDataBuilder& builder, std::string noSegments)
        : folder_(std::move(folder)), noSegments_(std::move(noSegments)), builder_(builder) {}

    Outcome update() override {
        const std::vector<std::string> paths = runDirectorySegments(folder_, noSegments_);
        const Listing listing = compareListing(paths);
        if (listing != Listing::InOrder)
            return listing == Listing::Missing ? Outcome::Read : Outcome::ReadAgain;
        if (segments_.empty()) sizeRun(paths);
        for (size_t i = 0; i < segments_.size(); ++i) {
            const Change change = pollFollowed(segments_[i]->file, builder_);
            if (change == Change::Restarted) return Outcome::ReadAgain;
            if (change == Change::None) continue;
            // An earlier segment's new records would come before the later
            // ones': only a new reading puts them in order.
            if (i + 1 < segments_.size() || !read(*segments_[i])) return Outcome::ReadAgain;
        }
        for (size_t i = segments_.size(); i < paths.size(); ++i) {
            segments_.push_back(
                std::make_unique<FollowedSegment>(paths[i], builder_, !anyRecords_));
            segments_.back()->parser.shareDeclarations(run_.declarations);
            segments_.back()->parser.sharePieces(run_.pieces);
            builder_.addSourceFile(paths[i]);
            if (!read(*segments_.back())) return Outcome::ReadAgain;
        }
        if (!anyRecords_)
            throw owl::data::noRecordsYet(
                "MonDatabase", "updateFrom",
                "Run directory '" + owl::printable(folder_) +
                    "' has no records yet: none of its monitor files has a complete first line.",
                owl::errorFatal);
        return Outcome::Read;
    }

  private:
    // The segments read so far must still come first, in order. One that
    // cannot be seen for a moment is waited for, with a warning.
    enum class Listing { InOrder, Missing, Changed };
    Listing compareListing(const std::vector<std::string>& paths) {
        for (const auto& segment : segments_)
            if (std::find(paths.begin(), paths.end(), segment->file.path()) == paths.end()) {
                pollFollowed(segment->file, builder_);
                return Listing::Missing;
            }
        for (size_t i = 0; i < segments_.size(); ++i)
            if (paths[i] != segments_[i]->file.path()) return Listing::Changed;
        return Listing::InOrder;
    }

    void sizeRun(const std::vector<std::string>& paths) {
        run_.files = paths.size();
        for (const std::string& path : paths) {
            FollowedFile file(path);
            file.poll();
            run_.bytes += file.size();
        }
    }

    bool read(FollowedSegment& segment) {
        if (!segment.read(run_.bytes, run_.files, &run_.buffer)) return false;
        anyRecords_ = anyRecords_ || segment.parser.hasFirstLine();
        return true;
    }

    std::string folder_;
    std::string noSegments_;
    RunDataBuilder& builder_;
    RunSegments run_;
    std::vector<std::unique_ptr<FollowedSegment>> segments_;
    bool anyRecords_ = false;  // whether a segment had a complete first line
};
}  // namespace

std::unique_ptr<FollowedSource> followMonitorFile(const std::string& path, RunDataBuilder& builder,
                                                  std::string meantAs) {
    return std::make_unique<FollowedMonitorFile>(path, builder, std::move(meantAs));
}

std::unique_ptr<FollowedSource> followRunDirectory(const std::string& folder,
                                                   RunDataBuilder& builder,
                                                   std::string noSegments) {
    return std::make_unique<FollowedRunDirectory>(folder, builder, std::move(noSegments));
}

}  // namespace mon
