#include "libs/mondata/formats/openfoam/FoamLogParser.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/openfoam/FoamLogVariables.h"
#include "libs/mondata/sources/TimeKeyedHistory.h"

namespace mon {

namespace {
// Slots made before any line is read, so that TIME and deltaT come first.
// TIME has no values in the slots: every record is given its step's time.
const size_t kTimeSlot = 0;
const size_t kTimeStepSlot = 1;
const size_t kNotPattern = SIZE_MAX;
}  // namespace

FoamLogParser::FoamLogParser(RunDataBuilder& builder, std::string fileName,
                             const std::vector<FoamLogPattern>& patterns, FoamRecordSink* sink)
    : builder_(builder),
      builderSink_(builder),
      sink_(sink),
      fileName_(std::move(fileName)),
      skipped_(fileName_),
      patterns_(patterns) {
    addSlots(FoamLineKind::Time, "", "", {foamTimeVariable("s"), foamTimeStepVariable("s")});
    size_t most = 0;
    for (const FoamLogPattern& pattern : patterns_) most = std::max(most, pattern.values().size());
    patternSlots_.assign(patterns_.size(), -1);  // made at the first match
    matched_.resize(most);
}

void FoamLogParser::parse(std::string_view text) {
    parseLines(text);
    finish();
}

size_t FoamLogParser::parseLines(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && !failed_) {
        const void* found = std::memchr(text.data() + pos, '\n', text.size() - pos);
        if (!found) break;  // unfinished last line
        size_t end = static_cast<size_t>(static_cast<const char*>(found) - text.data());
        ++lineNumber_;
        const std::string_view line = text.substr(pos, end - pos);
        const FoamLine known = recogniseFoamLine(line);
        handle(known);
        // The lines read above have their own variables.
        if (!patterns_.empty() && known.kind == FoamLineKind::Other) matchPatterns(line);
        pos = end + 1;
    }
    return failed_ ? text.size() : pos;
}

// Until the log shows whether it is a multi-region one, the values of a
// step are held in order; afterwards only the lines that wait for their
// region's line are.
bool FoamLogParser::holdForRegion(const FoamLine& line) const {
    const FoamLineKind kind = line.kind;
    if (regions_ == Regions::None || releasing_) return false;
    const bool regional = kind == FoamLineKind::Solve || kind == FoamLineKind::Bounding ||
                          (kind == FoamLineKind::Continuity && line.region.empty());
    if (regions_ == Regions::Some) return regional && region_.empty();
    return regional || kind == FoamLineKind::DeltaT || kind == FoamLineKind::Courant ||
           kind == FoamLineKind::Continuity;
}

void FoamLogParser::handle(const FoamLine& line) {
    if (!line.problem.empty()) skip(line.problem);
    if (holdForRegion(line)) {
        held_.push_back({line.kind, std::string(line.name), std::string(line.region),
                         std::vector<double>(std::begin(line.values), std::end(line.values)),
                         kNotPattern});
        return;
    }
    switch (line.kind) {
        case FoamLineKind::Other:
        case FoamLineKind::Damaged:
            return;
        case FoamLineKind::Time:
            return onTime(line);
        case FoamLineKind::DeltaT:
            return setValue(kTimeStepSlot, line.values[0]);
        case FoamLineKind::Solve:
            return onSolve(line);
        case FoamLineKind::Bounding:
            return onBounding(line);
        case FoamLineKind::Courant:
            return onCourant(line);
        case FoamLineKind::Continuity:
            return onContinuity(line);
        case FoamLineKind::ExecutionTime:
            return onExecutionTime(line);
        case FoamLineKind::OuterIteration:
            return onOuterIteration();
        case FoamLineKind::Region:
            return onRegion(line.name);
        case FoamLineKind::Failure:
            return onFailure(line);
    }
}

// The last match in a loop (or before the first loop) wins.
void FoamLogParser::matchPatterns(std::string_view text) {
    for (size_t i = 0; i < patterns_.size(); ++i) {
        if (!patterns_[i].match(text, matched_.data())) continue;
        const auto values = matched_.begin();
        const auto count = static_cast<std::ptrdiff_t>(patterns_[i].values().size());
        if (regions_ == Regions::Unknown)
            held_.push_back({FoamLineKind::Other, "", "", {values, values + count}, i});
        else
            setPatternValues(i, std::vector<double>(values, values + count));
    }
}

void FoamLogParser::setPatternValues(size_t pattern, const std::vector<double>& values) {
    monitorValues_ = true;
    if (patternSlots_[pattern] < 0) {
        std::vector<VariableInfo> infos;
        for (const FoamPatternValue& value : patterns_[pattern].values())
            infos.push_back(foamPatternVariable(value.name, value.category, value.group));
        patternSlots_[pattern] = addSlots(FoamLineKind::Other, "", "", std::move(infos));
    }
    for (size_t k = 0; k < values.size(); ++k)
        setValue(static_cast<size_t>(patternSlots_[pattern]) + k, values[k]);
}

// The held lines, in order, now that their region is known (region_).
void FoamLogParser::releaseHeld() {
    if (held_.empty()) return;
    std::vector<HeldLine> held;
    held.swap(held_);
    releasing_ = true;
    for (const HeldLine& line : held) {
        if (line.pattern != kNotPattern) {
            setPatternValues(line.pattern, line.values);
            continue;
        }
        FoamLine again;
        again.kind = line.kind;
        again.name = line.name;
        again.region = line.region;
        std::copy(line.values.begin(), line.values.end(), again.values);
        handle(again);
    }
    releasing_ = false;
}

void FoamLogParser::skip(const std::string& problem) {
    skipped_.add(lineNumber_, problem);
}

// Where every time is a whole number (a steady run's iterations),
// the step is the time; otherwise steps count on from the last.
int FoamLogParser::stepFor(double time) {
    if (wholeTimes_ && isStepNumberTime(time)) return static_cast<int>(time);
    wholeTimes_ = false;
    return writtenSteps_.empty() ? 1 : writtenSteps_.back() + 1;
}

// A time that is not after the last written step's is a restart appended to
// the same log: the steps from that time on are replaced.
void FoamLogParser::onTime(const FoamLine& line) {
    releaseHeld();
    if (stepOpen_) completeStep();
    if (!sawTimeLine_ && !line.name.empty()) {
        slotInfo_[kTimeSlot] = foamTimeVariable(line.name);
        slotInfo_[kTimeStepSlot] = foamTimeStepVariable(line.name);
    }
    sawTimeLine_ = true;
    if (!writtenTimes_.empty() && line.time <= writtenTimes_.back()) {
        const auto from = std::lower_bound(writtenTimes_.begin(), writtenTimes_.end(), line.time);
        writtenSteps_.resize(static_cast<size_t>(from - writtenTimes_.begin()));
        writtenTimes_.erase(from, writtenTimes_.end());
    }
    stepOpen_ = true;
    stepNumber_ = stepFor(line.time);
    stepTime_ = line.time;
    region_.clear();
}

int FoamLogParser::slotsFor(FoamLineKind kind, std::string_view region, std::string_view name) {
    const int slot = findSlots(kind, region, name);
    if (slot >= 0) return slot;
    switch (kind) {
        case FoamLineKind::Solve:
            return addSlots(kind, region, name,
                            {foamInitialResidual(region, name), foamFinalResidual(region, name),
                             foamSolverIterations(region, name)});
        case FoamLineKind::Bounding:
            return addSlots(kind, region, name,
                            {foamBounding(region, name, "min"), foamBounding(region, name, "max"),
                             foamBounding(region, name, "average")});
        case FoamLineKind::Courant:
            return addSlots(
                kind, region, name,
                {foamCourantNumber(region, name, "mean"), foamCourantNumber(region, name, "max")});
        case FoamLineKind::Continuity:
            return addSlots(kind, region, name,
                            {foamContinuityError(region, name, "sum local"),
                             foamContinuityError(region, name, "global"),
                             foamContinuityError(region, name, "cumulative")});
        default:
            return addSlots(kind, region, name,
                            {foamExecutionTime("ExecutionTime"), foamExecutionTime("ClockTime")});
    }
}

// Only PIMPLE lines start loops: a field solved again within a step
// without them (p in every PISO corrector, rho again in the pressure
// corrector of a reacting-flow solver) adds to the same record, which keeps
// the first solution's initial residual.
void FoamLogParser::onSolve(const FoamLine& line) {
    monitorValues_ = true;
    const int slot = slotsFor(FoamLineKind::Solve, region_, line.name);
    const size_t first = static_cast<size_t>(slot);
    stepHasNan_ = stepHasNan_ || std::isnan(line.values[0]) || std::isnan(line.values[1]);
    step_.setFirst(first, line.values[0]);
    step_.set(first + 1, line.values[1]);
    step_.add(first + 2, line.values[2]);
}

void FoamLogParser::onBounding(const FoamLine& line) {
    monitorValues_ = true;
    const auto slot = static_cast<size_t>(slotsFor(FoamLineKind::Bounding, region_, line.name));
    for (size_t i = 0; i < 3; ++i) setValue(slot + i, line.values[i]);
}

void FoamLogParser::onOuterIteration() {
    releaseHeld();
    sawOuterIterationLine_ = true;
    region_.clear();
    if (stepOpen_) beginLoop();
}

// The first region line tells a multi-region log; the lines held for it
// belong to its region.
void FoamLogParser::onRegion(std::string_view region) {
    regions_ = Regions::Some;
    region_.assign(region.data(), region.size());
    releaseHeld();
}

void FoamLogParser::beginLoop() {
    if (step_.loopCount() >= RunDataBuilder::kMaxLoop)
        return skip("time step " + std::to_string(stepNumber_) + " has more than " +
                    std::to_string(RunDataBuilder::kMaxLoop) + " outer iterations");
    step_.beginLoop();
}

void FoamLogParser::onCourant(const FoamLine& line) {
    monitorValues_ = true;
    const auto slot = static_cast<size_t>(slotsFor(FoamLineKind::Courant, line.region, line.name));
    setValue(slot, line.values[0]);
    setValue(slot + 1, line.values[1]);
}

// A value the line leaves out (the cumulative error after a non-final
// corrector) keeps the loop's last one.
void FoamLogParser::onContinuity(const FoamLine& line) {
    monitorValues_ = true;
    const std::string_view region = line.region.empty() ? std::string_view(region_) : line.region;
    const auto slot = static_cast<size_t>(slotsFor(FoamLineKind::Continuity, region, line.name));
    for (size_t i = 0; i < 3; ++i)
        if (line.values[i] != kNoValue) setValue(slot + i, line.values[i]);
}

// The step's last line: what follows, up to the next Time line, is printed
// before the next step (its Courant number and deltaT) and belongs to it.
void FoamLogParser::onExecutionTime(const FoamLine& line) {
    releaseHeld();
    if (!stepOpen_) return;
    const auto slot = static_cast<size_t>(slotsFor(FoamLineKind::ExecutionTime, "", ""));
    setValue(slot, line.values[0]);
    setValue(slot + 1, line.values[1]);
    completeStep();
}

// A run that failed keeps the step it failed in; the rest of the log is the
// error report.
void FoamLogParser::onFailure(const FoamLine& line) {
    releaseHeld();
    failed_ = true;
    constexpr size_t kShown = 80;
    const std::string_view text = line.name.substr(0, kShown);
    failure_ = owl::printable(fileName_) + ":" + std::to_string(lineNumber_) +
               ": the run ended with a fatal error: '" + owl::printable(text) +
               (line.name.size() > kShown ? "...'" : "'");
    if (stepOpen_) completeStep();
}

void FoamLogParser::completeStep() {
    const auto column = [this](size_t slot) { return columnOf(slot); };
    if (sink_) {
        step_.writeTo(*sink_, stepNumber_, stepTime_, column);
    } else {
        if (builderSink_.timeColumn < 0)
            builderSink_.timeColumn = builder_.declare(slotInfo_[kTimeSlot]);
        step_.writeTo(builderSink_, stepNumber_, stepTime_, column);
    }
    writtenTimes_.push_back(stepTime_);
    writtenSteps_.push_back(stepNumber_);
    step_.clear();
    stepOpen_ = false;
    stepHasNan_ = false;
    region_.clear();
    if (regions_ == Regions::Unknown) regions_ = Regions::None;
}

void FoamLogParser::finish() {
    finishOpenStep();
    warnSkipped();
}

void FoamLogParser::finishOpenStep() {
    releaseHeld();
    if (stepOpen_ && stepHasNan_) completeStep();  // the run is diverging: show it
    settleLoops();
}

bool FoamLogParser::mayWriteOpenStep() const {
    if (!stepOpen_) return false;
    return stepHasNan_ || std::any_of(held_.begin(), held_.end(), [](const HeldLine& line) {
               return std::any_of(line.values.begin(), line.values.end(),
                                  [](double value) { return std::isnan(value); });
           });
}

void FoamLogParser::settleLoops() {
    builder_.setCoefficientLoops(builder_.hasCoefficientLoops() || sawOuterIterationLine_);
    if (!sink_ && !wholeTimes_) builder_.setStepsNumberedByReader();
}

void FoamLogParser::warnSkipped() {
    if (skipped_.count() > 0) builder_.addWarning(skipped_.warning());
    if (!failure_.empty()) builder_.addWarning(failure_);
    skipped_ = SkippedLines(fileName_);
    failure_.clear();
}

void FoamLogParser::setValue(size_t slot, double value) {
    stepHasNan_ = stepHasNan_ || std::isnan(value);
    step_.set(slot, value);
}

int FoamLogParser::findSlots(FoamLineKind kind, std::string_view region, std::string_view name) {
    const size_t count = groups_.size();
    for (size_t i = 0; i < count; ++i) {
        const size_t at = (lastGroup_ + i) % count;
        const SlotGroup& group = groups_[at];
        if (group.kind == kind && group.name == name && group.region == region) {
            lastGroup_ = at + 1;
            return group.first;
        }
    }
    return -1;
}

int FoamLogParser::addSlots(FoamLineKind kind, std::string_view region, std::string_view name,
                            std::vector<VariableInfo> infos) {
    const int first = static_cast<int>(slotInfo_.size());
    groups_.push_back({kind, std::string(region), std::string(name), first});
    for (VariableInfo& info : infos) {
        slotInfo_.push_back(std::move(info));
        slotColumn_.push_back(-1);
    }
    step_.setSlotCount(slotInfo_.size());
    return first;
}

int FoamLogParser::columnOf(size_t slot) {
    if (slot == kTimeSlot) return -1;  // the sink writes the record's time
    if (slotColumn_[slot] < 0) slotColumn_[slot] = builder_.declare(slotInfo_[slot]);
    return slotColumn_[slot];
}

}  // namespace mon
