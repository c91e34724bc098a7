#include "libs/mondata/formats/openfoam/FoamLogParser.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/openfoam/FoamLogVariables.h"

namespace mon {

namespace {
// Slots made before any line is read, so that TIME and deltaT come first.
const size_t kTimeSlot = 0;
const size_t kTimeStepSlot = 1;
}  // namespace

FoamLogParser::FoamLogParser(RunDataBuilder& builder, std::string fileName)
    : builder_(builder), fileName_(std::move(fileName)) {
    addSlots(FoamLineKind::Time, "", "", {foamTimeVariable("s"), foamTimeStepVariable("s")});
}

void FoamLogParser::fail(const std::string& what) const {
    throw owl::data::error(
        "MonDatabase", "updateFrom",
        owl::printable(fileName_) + ":" + std::to_string(lineNumber_) + ": " + what,
        owl::errorFatal);
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
        handle(recogniseFoamLine(text.substr(pos, end - pos)));
        pos = end + 1;
    }
    return failed_ ? text.size() : pos;
}

void FoamLogParser::handle(const FoamLine& line) {
    switch (line.kind) {
        case FoamLineKind::Other:
            return;
        case FoamLineKind::Time:
            return onTime(line);
        case FoamLineKind::DeltaT:
            return setValue(kTimeStepSlot, line.values[0]);
        case FoamLineKind::Solve:
            return onSolve(line);
        case FoamLineKind::Courant:
            return onCourant(line);
        case FoamLineKind::Continuity:
            return onContinuity(line);
        case FoamLineKind::ExecutionTime:
            return onExecutionTime(line);
        case FoamLineKind::OuterIteration:
            return onOuterIteration();
        case FoamLineKind::Region:
            region_.assign(line.name.data(), line.name.size());
            return;
        case FoamLineKind::Failure:
            return onFailure();
        case FoamLineKind::Damaged:
            fail(line.problem);
    }
}

// A time that is not after the last written step's is a restart appended to
// the same log: the steps from that time on are replaced.
void FoamLogParser::onTime(const FoamLine& line) {
    if (stepOpen_) completeStep();
    if (!sawTimeLine_ && !line.name.empty()) {
        slotInfo_[kTimeSlot] = foamTimeVariable(line.name);
        slotInfo_[kTimeStepSlot] = foamTimeStepVariable(line.name);
    }
    sawTimeLine_ = true;
    if (!writtenTimes_.empty() && line.time <= writtenTimes_.back())
        writtenTimes_.erase(std::lower_bound(writtenTimes_.begin(), writtenTimes_.end(), line.time),
                            writtenTimes_.end());
    stepOpen_ = true;
    stepNumber_ = static_cast<int>(writtenTimes_.size()) + 1;
    stepTime_ = line.time;
    region_.clear();
    firstFieldSlot_ = lastFieldSlot_ = -1;
    setValue(kTimeSlot, static_cast<float>(line.time));
}

// Without PIMPLE lines in the log, a solution of the step's first field that
// follows other fields' starts the next outer iteration (repeats in a row,
// like sub-cycles, do not).
void FoamLogParser::onSolve(const FoamLine& line) {
    int slot = findSlots(FoamLineKind::Solve, region_, line.name);
    if (slot < 0)
        slot = addSlots(
            FoamLineKind::Solve, region_, line.name,
            {foamInitialResidual(region_, line.name), foamFinalResidual(region_, line.name),
             foamSolverIterations(region_, line.name)});
    if (stepOpen_ && !sawOuterIterationLine_) {
        if (firstFieldSlot_ < 0) {
            firstFieldSlot_ = slot;
            beginLoop();
        } else if (slot == firstFieldSlot_ && lastFieldSlot_ != slot) {
            beginLoop();
        }
        lastFieldSlot_ = slot;
    }
    const size_t first = static_cast<size_t>(slot);
    stepHasNan_ = stepHasNan_ || std::isnan(line.values[0]) || std::isnan(line.values[1]);
    step_.setFirst(first, line.values[0]);
    step_.set(first + 1, line.values[1]);
    step_.add(first + 2, line.values[2]);
}

void FoamLogParser::onOuterIteration() {
    sawOuterIterationLine_ = true;
    if (stepOpen_) beginLoop();
}

void FoamLogParser::beginLoop() {
    if (step_.loopCount() >= RunDataBuilder::kMaxLoop)
        fail("time step " + std::to_string(stepNumber_) + " has more than " +
             std::to_string(RunDataBuilder::kMaxLoop) + " outer iterations");
    step_.beginLoop();
}

void FoamLogParser::onCourant(const FoamLine& line) {
    // The prefix ("Interface") tells the Courant numbers apart.
    int slot = findSlots(FoamLineKind::Courant, region_, line.name);
    if (slot < 0)
        slot = addSlots(FoamLineKind::Courant, region_, line.name,
                        {foamCourantNumber(region_, line.name, "mean"),
                         foamCourantNumber(region_, line.name, "max")});
    setValue(static_cast<size_t>(slot), line.values[0]);
    setValue(static_cast<size_t>(slot) + 1, line.values[1]);
}

void FoamLogParser::onContinuity(const FoamLine& line) {
    int slot = findSlots(FoamLineKind::Continuity, region_, "");
    if (slot < 0)
        slot = addSlots(
            FoamLineKind::Continuity, region_, "",
            {foamContinuityError(region_, "sum local"), foamContinuityError(region_, "global"),
             foamContinuityError(region_, "cumulative")});
    for (size_t i = 0; i < 3; ++i) setValue(static_cast<size_t>(slot) + i, line.values[i]);
}

// The step's last line: what follows, up to the next Time line, is printed
// before the next step (its Courant number and deltaT) and belongs to it.
void FoamLogParser::onExecutionTime(const FoamLine& line) {
    if (!stepOpen_) return;
    int slot = findSlots(FoamLineKind::ExecutionTime, "", "");
    if (slot < 0)
        slot = addSlots(FoamLineKind::ExecutionTime, "", "",
                        {foamExecutionTime("ExecutionTime"), foamExecutionTime("ClockTime")});
    setValue(static_cast<size_t>(slot), line.values[0]);
    setValue(static_cast<size_t>(slot) + 1, line.values[1]);
    completeStep();
}

// A run that failed keeps the step it failed in; the rest of the log is the
// error report.
void FoamLogParser::onFailure() {
    failed_ = true;
    if (stepOpen_) completeStep();
}

void FoamLogParser::completeStep() {
    step_.writeTo(builder_, stepNumber_, [this](size_t slot) { return columnOf(slot); });
    writtenTimes_.push_back(stepTime_);
    sawLoops_ = sawLoops_ || step_.loopCount() > 1;
    step_.clear();
    stepOpen_ = false;
    stepHasNan_ = false;
}

void FoamLogParser::finishLog() {
    if (stepOpen_ && stepHasNan_) completeStep();  // the run is diverging: show it
    builder_.setCoefficientLoops(sawOuterIterationLine_ || sawLoops_);
}

void FoamLogParser::setValue(size_t slot, float value) {
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
    if (slotColumn_[slot] < 0) slotColumn_[slot] = builder_.declare(slotInfo_[slot]);
    return slotColumn_[slot];
}

}  // namespace mon
