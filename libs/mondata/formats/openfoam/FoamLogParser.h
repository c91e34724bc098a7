#pragma once
// Reads the text of an OpenFOAM solver log (docs/formats/openfoam-log.md)
// into a RunDataBuilder in one pass: every "Time =" line starts a time step
// and the recognised lines up to the step's end give its values. A step is
// written when it is complete (its ExecutionTime line or the next Time
// line); a half-written last step is left out unless the run failed in it.
// Solver text is read leniently: a recognised line that does not read is
// skipped (values it names unambiguously kept), and finish() adds one
// warning to the builder naming the first lines skipped, and one naming the
// fatal error that ended the run. Values are read in double precision.

#include <string>
#include <string_view>
#include <vector>

#include "libs/mondata/formats/openfoam/FoamLogLines.h"
#include "libs/mondata/formats/openfoam/FoamLogPattern.h"
#include "libs/mondata/formats/openfoam/FoamLogStep.h"
#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/text/SkippedLines.h"

namespace mon {

class FoamLogParser {
  public:
    // Variables are declared in the builder; records go to the builder, or
    // to sink when one is given (TIME is then left to the sink: it is the
    // time the records are given with).
    FoamLogParser(RunDataBuilder& builder, std::string fileName,
                  const std::vector<FoamLogPattern>& patterns = {}, FoamRecordSink* sink = nullptr);

    // Parses the whole text. A last line without a line end is still being
    // written by the solver and is ignored.
    void parse(std::string_view text);

    // Parses the complete lines of the next piece of the log and returns how
    // many bytes they take; the rest, an unfinished line, is to be given
    // again with the piece that follows. After a failure line the rest of
    // the log is taken unread. finish() ends the log after the last piece.
    size_t parseLines(std::string_view text);
    void finish();

    // finish() in parts, for a log followed as it grows: whether finish()
    // may write the step still open (one that holds a NaN); finish() but for
    // the warning (a copy of the parser shows the open step so); the loops
    // setting the log gives the builder so far; the warning for the lines
    // skipped since the last call.
    bool mayWriteOpenStep() const;
    void finishOpenStep();
    void settleLoops();
    void warnSkipped();

    // Whether the log gave any value besides times (a solver's log, not a
    // mesh tool's).
    bool hasMonitorValues() const { return monitorValues_; }

  private:
    // A line whose region is known only later: the solves a multi-region
    // solver prints before the first region line of its step.
    struct HeldLine {
        FoamLineKind kind;
        std::string name;
        std::string region;
        std::vector<double> values;
        size_t pattern;  // the pattern that matched, for pattern values
    };
    enum class Regions { Unknown, None, Some };

    void handle(const FoamLine& line);
    void onTime(const FoamLine& line);
    void onSolve(const FoamLine& line);
    void onBounding(const FoamLine& line);
    void onOuterIteration();
    void onCourant(const FoamLine& line);
    void onContinuity(const FoamLine& line);
    void onExecutionTime(const FoamLine& line);
    void onRegion(std::string_view region);
    void onFailure(const FoamLine& line);
    void matchPatterns(std::string_view text);
    void setPatternValues(size_t pattern, const std::vector<double>& values);
    bool holdForRegion(const FoamLine& line) const;
    void releaseHeld();
    void beginLoop();
    void completeStep();
    int stepFor(double time);
    void skip(const std::string& problem);

    void setValue(size_t slot, double value);
    int slotsFor(FoamLineKind kind, std::string_view region, std::string_view name);
    int findSlots(FoamLineKind kind, std::string_view region, std::string_view name);
    int addSlots(FoamLineKind kind, std::string_view region, std::string_view name,
                 std::vector<VariableInfo> infos);
    int columnOf(size_t slot);

    // A run of slots, one per variable of a recognised line, found by the
    // line's kind, its name and the region it belongs to.
    struct SlotGroup {
        FoamLineKind kind;
        std::string region;
        std::string name;
        int first;
    };

    // Writes records into the builder, each with its time (in double
    // precision) once TIME is declared.
    class BuilderSink final : public FoamRecordSink {
      public:
        explicit BuilderSink(RunDataBuilder& builder) : builder_(builder) {}
        void beginRecord(int step, int loop, double time) override {
            builder_.beginRecord(step, loop);
            if (timeColumn >= 0) builder_.setDoubleValue(timeColumn, time);
        }
        void setValue(int column, double value) override { builder_.setDoubleValue(column, value); }
        int timeColumn = -1;

      private:
        RunDataBuilder& builder_;
    };

    RunDataBuilder& builder_;
    BuilderSink builderSink_;
    FoamRecordSink* sink_;  // none: records go to builderSink_
    std::string fileName_;
    size_t lineNumber_ = 0;
    bool failed_ = false;
    std::string failure_;  // the warning naming the fatal error's line
    bool monitorValues_ = false;
    SkippedLines skipped_;

    const std::vector<FoamLogPattern> patterns_;  // a copy: the default argument is a temporary
    std::vector<int> patternSlots_;               // the first slot of each pattern's values
    std::vector<double> matched_;

    std::vector<SlotGroup> groups_;
    size_t lastGroup_ = 0;  // where the next search starts: lines come in the same order
    std::vector<VariableInfo> slotInfo_;
    std::vector<int> slotColumn_;

    FoamLogStep step_;
    bool stepOpen_ = false;  // a Time line started a step that is not yet written
    bool stepHasNan_ = false;
    int stepNumber_ = 0;
    double stepTime_ = 0;
    bool wholeTimes_ = true;              // every time so far a whole number: steps are times
    std::vector<double> writtenTimes_;    // of the steps written, for restarts
    std::vector<int> writtenSteps_;       // their numbers
    std::string region_;                  // of the multi-region solver's lines
    Regions regions_ = Regions::Unknown;  // whether the log is a multi-region one
    std::vector<HeldLine> held_;
    bool releasing_ = false;
    bool sawTimeLine_ = false;
    bool sawOuterIterationLine_ = false;
};

}  // namespace mon
