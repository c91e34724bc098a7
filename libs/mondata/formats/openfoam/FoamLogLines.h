#pragma once
// Recognises the lines of an OpenFOAM solver log that carry monitor data
// (docs/formats/openfoam-log.md) and reads their numbers. A log holds any
// text besides: a line that none of the recognisers knows is Other. A line
// that a recogniser knows but whose numbers do not read is Damaged, with
// the reason in `problem`; a line that still carries some values it names
// unambiguously keeps its kind, those values, and the reason in `problem`.

#include <cfloat>
#include <string>
#include <string_view>

namespace mon {

enum class FoamLineKind {
    Other,
    Time,            // "Time = 0.005" or "Time = 0.005s": time, unit
    DeltaT,          // "deltaT = 0.001": values[0]
    Solve,           // "GAMG:  Solving for p, Initial residual = a, Final residual = b,
                     //  No Iterations n": name, values[0..2]
    Courant,         // "[Region: R ][Interface ]Courant Number mean: a max: b" or
                     //  "... Diffusion Number ...": region, name (the words up to
                     //  "Number"), values[0..1]
    Continuity,      // "time step continuity errors [(R)] : sum local = a, global = b[,
                     //  cumulative = c]": region, values[0..2] (kNoValue: not given);
                     //  foam-extend's "Moving mesh time step continuity errors ..."
                     //  the same with name "moving mesh"
    Bounding,        // "bounding k, min: a max: b average: c": name, values[0..2]
    ExecutionTime,   // "ExecutionTime = a s  ClockTime = b s": values[0..1]
    OuterIteration,  // "PIMPLE: iteration n" or "PIMPLE: Iteration n"
    Region,          // "Solving for fluid region NAME" (or solid): name
    Failure,         // "--> FOAM FATAL ERROR", a stack trace's "#0  Foam::...", each
                     //  also after a parallel run's rank prefix "[3] "
    Damaged,
};

// A value a line does not give.
constexpr double kNoValue = FLT_MAX;

struct FoamLine {
    FoamLineKind kind = FoamLineKind::Other;
    std::string_view name;    // field, Courant label, time unit or region
    std::string_view region;  // the region a Courant or continuity line names
    double time = 0;
    double values[3] = {0, 0, 0};
    std::string problem;  // why a Damaged line is damaged
};

// Reads one line, without its line end.
FoamLine recogniseFoamLine(std::string_view line);

// The number at the start of text (a decimal, nan, inf, with a sign), in
// double precision: beyond the double range it becomes an infinity or zero.
// Returns the number of characters read, 0 when text does not start with a
// number.
size_t readFoamNumber(std::string_view text, double& value);

}  // namespace mon
