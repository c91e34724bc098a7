#pragma once
// Reads the text of an OpenFOAM solver log (docs/formats/openfoam-log.md)
// into a RunDataBuilder in one pass: every "Time =" line starts a time step,
// numbered from 1, and the recognised lines up to the step's end give its
// values. A step is written when it is complete (its ExecutionTime line or
// the next Time line); a half-written last step is left out unless the run
// failed in it. Errors are owl::data::error reading "FILE:LINE: what is wrong".

#include <string>
#include <string_view>
#include <vector>

#include "libs/mondata/formats/openfoam/FoamLogLines.h"
#include "libs/mondata/formats/openfoam/FoamLogStep.h"
#include "libs/mondata/model/RunDataBuilder.h"

namespace mon {

class FoamLogParser {
  public:
    FoamLogParser(RunDataBuilder& builder, std::string fileName);

    // Parses the whole text. A last line without a line end is still being
    // written by the solver and is ignored.
    void parse(std::string_view text);

    // Parses the complete lines of the next piece of the log and returns how
    // many bytes they take; the rest, an unfinished line, is to be given
    // again with the piece that follows. After a failure line the rest of
    // the log is taken unread. finish() ends the log after the last piece.
    size_t parseLines(std::string_view text);
    void finish() { finishLog(); }

  private:
    void handle(const FoamLine& line);
    void onTime(const FoamLine& line);
    void onSolve(const FoamLine& line);
    void onOuterIteration();
    void onCourant(const FoamLine& line);
    void onContinuity(const FoamLine& line);
    void onExecutionTime(const FoamLine& line);
    void onFailure();
    void beginLoop();
    void completeStep();
    void finishLog();

    void setValue(size_t slot, float value);
    int findSlots(FoamLineKind kind, std::string_view region, std::string_view name);
    int addSlots(FoamLineKind kind, std::string_view region, std::string_view name,
                 std::vector<VariableInfo> infos);
    int columnOf(size_t slot);
    [[noreturn]] void fail(const std::string& what) const;

    // A run of slots, one per variable of a recognised line, found by the
    // line's kind, its name and the region it belongs to.
    struct SlotGroup {
        FoamLineKind kind;
        std::string region;
        std::string name;
        int first;
    };

    RunDataBuilder& builder_;
    std::string fileName_;
    size_t lineNumber_ = 0;
    bool failed_ = false;

    std::vector<SlotGroup> groups_;
    size_t lastGroup_ = 0;  // where the next search starts: lines come in the same order
    std::vector<VariableInfo> slotInfo_;
    std::vector<int> slotColumn_;

    FoamLogStep step_;
    bool stepOpen_ = false;  // a Time line started a step that is not yet written
    bool stepHasNan_ = false;
    int stepNumber_ = 0;
    double stepTime_ = 0;
    std::vector<double> writtenTimes_;  // of the steps written, for restarts
    std::string region_;                // of the multi-region solver's lines
    bool sawTimeLine_ = false;
    bool sawOuterIterationLine_ = false;
    bool sawLoops_ = false;
    int firstFieldSlot_ = -1;  // the step's first solved field, whose repeats start loops
    int lastFieldSlot_ = -1;
};

}  // namespace mon
