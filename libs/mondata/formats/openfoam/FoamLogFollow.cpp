#include "libs/mondata/formats/openfoam/FoamLogFollow.h"

#include "libs/mondata/formats/openfoam/FoamLogParser.h"
#include "libs/mondata/formats/openfoam/FoamLogPattern.h"

namespace mon {

namespace {
using Change = FollowedFile::Change;
using Outcome = FollowedSource::Outcome;

class FollowedFoamLog final : public FollowedSource {
  public:
    FollowedFoamLog(const std::string& path, RunDataBuilder& builder, const ReadOptions& options)
        : builder_(builder),
          file_(path),
          parser_(builder, path, compileFoamLogPatterns(options.logPatterns)) {}

    Outcome update() override {
        const Change change = pollFollowed(file_, builder_);
        if (change == Change::Restarted) return Outcome::ReadAgain;
        if (change == Change::None) return Outcome::Read;
        if (openStepShown_) {
            openStepShown_ = false;
            if (!builder_.rollBack(beforeOpenStep_)) return Outcome::ReadAgain;
        }
        if (!file_.opened()) builder_.addSourceFile(file_.path());
        if (!file_.readAppended([this](std::string_view text) { return parser_.parseLines(text); }))
            return Outcome::ReadAgain;
        parser_.settleLoops();
        parser_.warnSkipped();
        showOpenStep();
        return Outcome::Read;
    }

  private:
    // What the end of the log would write, the step still open written by a
    // copy of the parser, to be taken back before the next lines are read.
    void showOpenStep() {
        if (!parser_.mayWriteOpenStep()) return;
        beforeOpenStep_ = builder_.mark();
        FoamLogParser end(parser_);
        end.finishOpenStep();
        openStepShown_ = true;
    }

    RunDataBuilder& builder_;
    FollowedFile file_;
    FoamLogParser parser_;
    bool openStepShown_ = false;
    RunDataBuilder::Mark beforeOpenStep_{};
};
}  // namespace

std::unique_ptr<FollowedSource> followFoamLog(const std::string& path, RunDataBuilder& builder,
                                              const ReadOptions& options) {
    return std::make_unique<FollowedFoamLog>(path, builder, options);
}

}  // namespace mon
