#pragma once
// The variables of a synthetic run: what is declared about each and how its
// values evolve.

#include <string>
#include <utility>
#include <vector>

namespace synth {

enum class Shape {
    Residual,      // decays over the run and over the loops of a step
    Imbalance,     // small, signed, decaying
    Probe,         // oscillates around a level
    Force,         // oscillates with the flow
    Time,          // the simulation time
    TimeStepSize,  // the time step size
    PassageTime,   // TIME shifted by a passage's phase
    PassageForce,  // a force seen in one passage's own time
};

struct Variable {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    Shape shape = Shape::Probe;
    double level = 1.0;  // starting residual, mean value or amplitude
    double rate = 0.1;   // decay per step, or angular frequency per second
    double phase = 0.0;
    bool hasGap = false;  // no values in the gap of the run
    bool addedAtRestart = false;
};

struct CatalogOptions {
    bool transient = true;
    int minimumVariables = 0;  // extra probes are added up to this count
    int probeGroups = 0;       // groups the extra probes are dealt into; 0: 100 probes a group
};

std::vector<Variable> buildCatalog(const CatalogOptions& options);

}  // namespace synth
