#include "tools/monsynth/VariableCatalog.h"

namespace synth {

namespace {

Variable make(const std::string& name, const std::string& category, const std::string& subcategory,
              const std::string& group, const std::string& path, const std::string& units,
              Shape shape, double level, double rate) {
    Variable v;
    v.name = name;
    v.attributes = {{"label", name},  {"category", category}, {"subcategory", subcategory},
                    {"group", group}, {"path", path},         {"units", units}};
    v.shape = shape;
    v.level = level;
    v.rate = rate;
    return v;
}

void addResiduals(std::vector<Variable>& out, const std::string& equation, const std::string& group,
                  const std::string& domainSuffix, double level) {
    for (const char* kind : {"RMS", "MAX"}) {
        double factor = std::string(kind) == "MAX" ? 4.0 : 1.0;
        out.push_back(make(std::string(kind) + " " + equation + domainSuffix, "RESIDUAL", kind,
                           group, "Residuals/" + group + "/" + kind, "", Shape::Residual,
                           level * factor, 0.35));
    }
}

void addEquations(std::vector<Variable>& out) {
    for (const char* equation : {"P-Mass", "U-Mom", "V-Mom", "W-Mom"})
        addResiduals(out, equation, "Momentum and Mass", "", 2e-2);
    addResiduals(out, "H-Energy", "Heat Transfer", "", 5e-3);
    addResiduals(out, "K-TurbKE", "Turbulence Quantities", "", 1e-2);
    addResiduals(out, "E-Diss.K", "Turbulence Quantities", "", 1e-2);
    addResiduals(out, "T-Energy", "Heat Transfer", " Solid", 1e-3);
}

void addImbalances(std::vector<Variable>& out) {
    for (const char* equation : {"P-Mass", "U-Mom", "H-Energy"})
        out.push_back(make(std::string(equation) + " Imbalance", "IMBALANCE", "PERCENT",
                           "Imbalances", "Imbalances/Fluid", "%", Shape::Imbalance, 2.0, 0.2));
}

void addProbes(std::vector<Variable>& out) {
    out.push_back(make("P1 Pressure", "MONITOR", "POINT", "Pressure Probes",
                       "Monitor Points/Pressure Probes", "Pa", Shape::Probe, 101325.0, 60.0));
    out.push_back(make("P2 Pressure", "MONITOR", "POINT", "Pressure Probes",
                       "Monitor Points/Pressure Probes", "Pa", Shape::Probe, 101300.0, 45.0));
    out.back().hasGap = true;
    out.push_back(make("Inlet Velocity", "MONITOR", "POINT", "Velocity Probes",
                       "Monitor Points/Velocity Probes", "m s^-1", Shape::Probe, 2.5, 0.05));
    out.push_back(make("T1 Temperature", "MONITOR", "POINT", "Temperature Probes",
                       "Monitor Points/Temperature Probes", "K", Shape::Probe, 300.0, 1.5));
}

void addForces(std::vector<Variable>& out) {
    out.push_back(
        make("Drag Force", "FORCE", "X", "Forces", "Forces/Wall", "N", Shape::Force, 0.52, 0.03));
    out.push_back(
        make("Lift Force", "FORCE", "Y", "Forces", "Forces/Wall", "N", Shape::Force, 0.11, 0.08));
}

void addTime(std::vector<Variable>& out) {
    out.push_back(make("TIME", "TIME", "TIME", "Time", "Time", "s", Shape::Time, 0, 0));
    out.back().attributes[0].second = "Simulation Time";
    out.push_back(
        make("TIME STEP SIZE", "TIME", "STEP", "Time", "Time", "s", Shape::TimeStepSize, 0, 0));
}

// A time-transformed force and, per blade passage, its own time and force.
void addTimeTransformed(std::vector<Variable>& out) {
    const std::string group = "Blade Passages";
    out.push_back(make("TT Blade Force", "FORCE", "TIME TRANSFORMED", group, "Forces/Blade", "N",
                       Shape::Force, 3.0, 0.02));
    for (int passage = 1; passage <= 2; ++passage) {
        const std::string number = std::to_string(passage);
        out.push_back(make("TIME Passage " + number, "TIME", "PASSAGE", group, "Time/Passages", "s",
                           Shape::PassageTime, 0, 0));
        out.back().phase = 0.25 * passage;
        out.push_back(make("Blade Force Passage " + number, "FORCE", "PASSAGE", group,
                           "Forces/Blade/Passages", "N", Shape::PassageForce, 3.0, 40.0));
        out.back().phase = 0.25 * passage;
        out.back().attributes.emplace_back("transformed-from", "TT Blade Force");
        out.back().attributes.emplace_back("time-variable", "TIME Passage " + number);
    }
}

// Probe k (from 3) falls into a block of 100 consecutive probes, or, with a
// number of groups, is dealt round-robin into them.
int probeGroupOf(int k, int groups) {
    return groups > 0 ? (k - 3) % groups + 1 : (k - 3) / 100 + 1;
}

void addExtraProbes(std::vector<Variable>& out, int minimum, int groups) {
    for (int k = 3; static_cast<int>(out.size()) < minimum; ++k) {
        const std::string group = "Probe Group " + std::to_string(probeGroupOf(k, groups));
        out.push_back(make("P" + std::to_string(k) + " Pressure", "MONITOR", "POINT", group,
                           "Monitor Points/" + group, "Pa", Shape::Probe, 101000.0 + k, 30.0));
        out.back().phase = 0.1 * k;
    }
}

}  // namespace

std::vector<Variable> buildCatalog(const CatalogOptions& options) {
    std::vector<Variable> out;
    addEquations(out);
    addImbalances(out);
    if (options.transient) addTime(out);
    addProbes(out);
    addForces(out);
    if (options.transient) addTimeTransformed(out);
    addExtraProbes(out, options.minimumVariables - 1, options.probeGroups);
    // Declared when the run first restarts: last, as a solver appends it.
    out.push_back(make("Outlet Velocity", "MONITOR", "POINT", "Velocity Probes",
                       "Monitor Points/Velocity Probes", "m s^-1", Shape::Probe, 2.55, 0.04));
    out.back().addedAtRestart = true;
    return out;
}

}  // namespace synth
