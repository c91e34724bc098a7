// Writes a synthetic transient OpenFOAM solver log of about the given size:
//   foamlog_synth FILE MEGABYTES
// Each step: Courant number, deltaT, Time, three PIMPLE iterations solving
// Ux, Uy, Uz, p twice (each with its continuity errors), k and epsilon in the
// last one, then ExecutionTime. Residuals decay with noise from a fixed seed,
// so the same size gives the same bytes.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

std::mt19937_64 noise(7);

double residual(double level) {
    return level * std::exp(std::uniform_real_distribution<double>(-1.0, 1.0)(noise));
}

void solve(std::FILE* out, const char* solver, const char* field, double level, int iterations) {
    std::fprintf(out,
                 "%s:  Solving for %s, Initial residual = %g, Final residual = %g, "
                 "No Iterations %d\n",
                 solver, field, residual(level), residual(level * 1e-4), iterations);
}

void continuity(std::FILE* out, double cumulative) {
    std::fprintf(out,
                 "time step continuity errors : sum local = %g, global = %g, cumulative = %g\n",
                 residual(1e-8), residual(1e-20), cumulative);
}

// Lines of the kind users give patterns for (two per loop when asked).
bool withPatternLines = false;

void patternLines(std::FILE* out) {
    std::fprintf(out, "Phase-1 volume fraction = %g  Min(alpha.water) = %g  Max(alpha.water) = 1\n",
                 residual(0.016), -residual(1e-27));
    std::fprintf(out, "mixingQuality = %g\n", residual(0.5));
}

void step(std::FILE* out, long number, double time) {
    std::fprintf(out, "Courant Number mean: %g max: %g\ndeltaT = 0.0001\nTime = %g\n\n",
                 residual(0.05), residual(0.7), time);
    for (int loop = 1; loop <= 3; ++loop) {
        const double level = 1e-2 / loop / (1.0 + number * 1e-4);
        std::fprintf(out, "PIMPLE: iteration %d\n", loop);
        for (const char* field : {"Ux", "Uy", "Uz"}) solve(out, "smoothSolver", field, level, 3);
        solve(out, "GAMG", "p", level * 10, 12);
        continuity(out, time * 1e-18);
        solve(out, "GAMG", "p", level, 20);
        continuity(out, time * 1e-18);
        if (withPatternLines) patternLines(out);
    }
    solve(out, "smoothSolver", "epsilon", 1e-3, 2);
    solve(out, "smoothSolver", "k", 1e-3, 2);
    std::fprintf(out, "ExecutionTime = %.2f s  ClockTime = %ld s\n\n", number * 0.37,
                 number * 37 / 100);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && !(argc == 4 && std::string(argv[3]) == "patterns")) {
        std::fprintf(stderr, "usage: foamlog_synth FILE MEGABYTES [patterns]\n");
        return 2;
    }
    withPatternLines = argc == 4;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const long bytes = std::atol(argv[2]) * 1000000L;
    std::fprintf(out,
                 "/*---------------------------------------------------------------*\\\n"
                 "  =========                 |\nExec   : pimpleFoam\n\nStarting time loop\n\n");
    for (long number = 1; std::ftell(out) < bytes; ++number) step(out, number, number * 1e-4);
    std::fprintf(out, "End\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
