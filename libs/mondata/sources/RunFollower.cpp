#include "libs/mondata/sources/RunFollower.h"

#include <utility>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/sources/SourceSignature.h"

namespace mon {

namespace {
// The records of run after the last record of before: what a reading again
// of a whole source added.
size_t recordsAfter(const RowIndex& run, const RowIndex& before) {
    if (before.empty()) return static_cast<size_t>(run.rowCount());
    const int position = before.stepCount() - 1;
    const int step = before.stepAt(position);
    const int loop = before.loopCountAt(position);
    int64_t kept = 0;
    for (int at = run.stepCount() - 1; at >= 0; --at) {
        if (run.stepAt(at) > step) continue;
        const int64_t end = run.endRecordAt(at);
        kept = run.stepAt(at) < step ? end : run.recordFrom(at, loop + 1);
        break;
    }
    return static_cast<size_t>(run.rowCount() - kept);
}

const std::string kMissingSignature = " missing";

// A source whose file keeps being replaced while it is read is given up
// after this many readings from its start in one update.
const int kReadingsFromStart = 3;
}  // namespace

RunFollower::RunFollower(SourceKind kind, std::string path, ReadOptions options)
    : kind_(kind), path_(std::move(path)), options_(std::move(options)) {}

RunFollower::~RunFollower() {
    source_.reset();  // before the builder it reads into
}

const RunData& RunFollower::run() const {
    static const RunData none;
    if (readsWhole_) return wholeRun_;
    return builder_ ? builder_->data() : none;
}

size_t RunFollower::update() {
    warnings_.clear();
    changed_ = false;
    if (failed_ || readsWhole_) {
        std::string now = sourceSignature(path_);
        if (now == signature_) {
            if (failed_ && error_) std::rethrow_exception(error_);
            return 0;
        }
        signature_ = std::move(now);
    }
    if (readsWhole_) return readWhole();
    if (failed_ || !source_ || formatChanged()) return readFromStart();
    return follow();
}

void RunFollower::failed() {
    failed_ = true;
    error_ = std::current_exception();
    signature_ = sourceSignature(path_);
}

// A growing source may be taken for another format once more of its
// first bytes are written (a log whose banner is not complete yet): it is
// then read again by the format a whole reading chooses.
bool RunFollower::formatChanged() {
    std::string signature = formatSignature(path_);
    // A file gone for a moment is waited for by its format.
    if (signature == formatSignature_ || signature == kMissingSignature) return false;
    formatSignature_ = std::move(signature);
    return formatName(kind_, path_, options_) != format_;
}

size_t RunFollower::readFromStart() {
    for (int reading = 0; reading < kReadingsFromStart; ++reading) {
        auto builder = std::make_unique<RunDataBuilder>();
        std::unique_ptr<FollowedSource> source;
        try {
            formatSignature_ = formatSignature(path_);
            format_ = formatName(kind_, path_, options_);
            source = followRun(kind_, path_, options_, *builder);
            if (!source) {
                readsWhole_ = true;
                signature_ = sourceSignature(path_);
                return readWhole();
            }
            if (source->update() == FollowedSource::Outcome::ReadAgain) continue;
        } catch (const owl::Error&) {
            source.reset();
            failed();
            throw;
        }
        source_ = std::move(source);
        builder_ = std::move(builder);
        failed_ = false;
        return published(true);
    }
    try {
        throw owl::data::error(
            "MonDatabase", "updateFrom",
            "'" + owl::printable(path_) + "' was replaced again each time it was read.",
            owl::errorFatal);
    } catch (const owl::Error&) {
        failed();
        throw;
    }
}

size_t RunFollower::follow() {
    FollowedSource::Outcome outcome;
    try {
        outcome = source_->update();
    } catch (const owl::Error&) {
        warnings_ = builder_->takeWarnings();
        builder_->publish();  // the records read before the error stay whole
        failed();
        throw;
    }
    if (outcome == FollowedSource::Outcome::ReadAgain) return readFromStart();
    return published(false);
}

size_t RunFollower::published(bool readAgain) {
    std::vector<std::string> warnings = builder_->takeWarnings();
    warnings_.insert(warnings_.end(), warnings.begin(), warnings.end());
    const int64_t added = builder_->publish();
    const RunData& data = builder_->data();
    const Shape shape{data.variables.size(), data.rows->rowCount(), data.hasCoefficientLoops};
    changed_ = readAgain || added > 0 || !(shape == shape_) || !warnings.empty();
    shape_ = shape;
    return static_cast<size_t>(added);
}

size_t RunFollower::readWhole() {
    RunData run;
    try {
        run = readRun(kind_, path_, options_);
    } catch (const owl::Error&) {
        failed();
        throw;
    }
    failed_ = false;
    const size_t added = recordsAfter(*run.rows, *wholeRun_.rows);
    warnings_ = std::exchange(run.warnings, {});
    wholeRun_ = std::move(run);
    changed_ = true;
    return added;
}

}  // namespace mon
