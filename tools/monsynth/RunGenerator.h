#pragma once
// Streams a synthetic run as monitor files: one file holding the whole
// history (restarts replayed inside it), or a run directory with one file per
// segment. Every value is a function of (seed, variable, step, loop,
// segment), so the run is never held in memory and the same options always
// give the same bytes.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/monsynth/VariableCatalog.h"

namespace synth {

struct RunOptions {
    int steps = 20;
    int minLoops = 1;
    int maxLoops = 4;
    bool transient = true;
    uint64_t seed = 1;
    std::vector<int> restarts;  // first step of each segment after the first
    int overlap = 2;            // steps a segment wrote past the next restart
    double timeStep = 1e-3;
};

class RunGenerator {
  public:
    RunGenerator(RunOptions options, std::vector<Variable> variables);

    void writeFile(const std::string& path);
    void writeDirectory(const std::string& folder);

  private:
    struct Segment {
        int first, last;
    };
    std::vector<Segment> segments() const;
    void writeHeader(std::FILE* out) const;
    void writeDeclarations(std::FILE* out, bool restart, bool onlyNew) const;
    void writeRecords(std::FILE* out, const Segment& segment, int attempt);
    void appendRecord(int step, int loop, int attempt, size_t columns);
    int loopsAt(int step) const;
    double value(size_t variable, int step, int loop, int attempt) const;
    double noise(size_t variable, int step, int loop, int attempt) const;
    double timeAt(int step) const;
    double stepSizeAt(int step) const;
    bool inGap(int step) const;

    RunOptions options_;
    std::vector<Variable> variables_;
    size_t declaredFirst_;  // variables declared from the start
    std::string line_;
};

}  // namespace synth
