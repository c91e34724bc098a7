#pragma once
// The values of one time step of an OpenFOAM solver log while it is read,
// held back until the step is complete. Values are kept per slot (one slot
// per variable of the log) for the step's prelude, what is printed before
// its first outer iteration, and for each of its outer iterations
// (coefficient loops). The prelude's values belong to every loop; a loop's
// own value of a slot wins over the prelude's.

#include <cfloat>
#include <cstddef>
#include <functional>
#include <vector>

namespace mon {

// Where the records of a log go: the run's builder, or a time-keyed table
// that is joined with a case's function objects.
class FoamRecordSink {
  public:
    virtual ~FoamRecordSink() = default;
    virtual void beginRecord(int step, int loop, double time) = 0;
    virtual void setValue(int column, float value) = 0;
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
    void set(size_t slot, float value) { current()[slot] = value; }
    // Sets it only when the current loop has none yet.
    void setFirst(size_t slot, float value) {
        float& held = current()[slot];
        if (held == FLT_MAX) held = value;
    }
    // Adds to the current loop's value.
    void add(size_t slot, float value) {
        float& held = current()[slot];
        held = held == FLT_MAX ? value : held + value;
    }
    bool isEmpty() const;

    // Writes the step as records (step, 1), (step, 2), ...: one per loop, or
    // one for a step without loops. columnOf gives the builder column of a
    // slot that has a value.
    void writeTo(FoamRecordSink& sink, int step, double time,
                 const std::function<int(size_t slot)>& columnOf) const;

  private:
    std::vector<float>& current() { return loopsInUse_ == 0 ? prelude_ : loops_[loopsInUse_ - 1]; }
    void writeLoop(FoamRecordSink& sink, const std::vector<float>* loop,
                   const std::function<int(size_t slot)>& columnOf) const;

    std::vector<float> prelude_;
    std::vector<std::vector<float>> loops_;  // kept across steps for reuse
    size_t loopsInUse_ = 0;
};

}  // namespace mon
