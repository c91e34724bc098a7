#pragma once
// The values of one time step of an OpenFOAM solver log while it is read,
// held back until the step is complete. Values are kept per slot (one slot
// per variable of the log) for the step's prelude, what is printed before
// its first outer iteration, and for each of its outer iterations
// (coefficient loops). The prelude's values belong to every loop; a loop's
// own value of a slot wins over the prelude's.

#include <cfloat>
#include <cstddef>
#include <vector>

namespace mon {

// Where the records of a log go: the run's builder, or a time-keyed table
// that is joined with a case's function objects.
class FoamRecordSink {
  public:
    virtual ~FoamRecordSink() = default;
    virtual void beginRecord(int step, int loop, double time) = 0;
    virtual void setValue(int column, double value) = 0;
};

class FoamLogStep {
  public:
    // Forgets every value; the slots stay.
    void clear();
    void setSlotCount(size_t slots);

    // Values from now on go to a new loop.
    void beginLoop();
    int loopCount() const { return static_cast<int>(loopsInUse_); }

    // Sets the slot's value in the current loop (the prelude before the first).
    void set(size_t slot, double value) { current()[slot] = value; }
    // Sets it only when the current loop has none yet.
    void setFirst(size_t slot, double value) {
        double& held = current()[slot];
        if (held == FLT_MAX) held = value;
    }
    // Adds to the current loop's value.
    void add(size_t slot, double value) {
        double& held = current()[slot];
        held = held == FLT_MAX ? value : held + value;
    }
    bool isEmpty() const;

    // Writes the step as records (step, 1), (step, 2), ...: one per loop, or
    // one for a step without loops. columnOf gives the builder column of a
    // slot that has a value.
    // A template, so that a final sink's calls are direct ones.
    template <typename Sink, typename ColumnOf>
    void writeTo(Sink& sink, int step, double time, const ColumnOf& columnOf) const {
        if (loopsInUse_ == 0) {
            sink.beginRecord(step, 1, time);
            writeLoop(sink, nullptr, columnOf);
        }
        for (size_t i = 0; i < loopsInUse_; ++i) {
            sink.beginRecord(step, static_cast<int>(i) + 1, time);
            writeLoop(sink, &loops_[i], columnOf);
        }
    }

  private:
    std::vector<double>& current() { return loopsInUse_ == 0 ? prelude_ : loops_[loopsInUse_ - 1]; }
    template <typename Sink, typename ColumnOf>
    void writeLoop(Sink& sink, const std::vector<double>* loop, const ColumnOf& columnOf) const {
        for (size_t slot = 0; slot < prelude_.size(); ++slot) {
            const double value = loop && (*loop)[slot] != FLT_MAX ? (*loop)[slot] : prelude_[slot];
            if (value == FLT_MAX) continue;
            const int column = columnOf(slot);
            if (column >= 0) sink.setValue(column, value);
        }
    }

    std::vector<double> prelude_;
    std::vector<std::vector<double>> loops_;  // kept across steps for reuse
    size_t loopsInUse_ = 0;
};

}  // namespace mon
