// Compares reading an OpenFOAM case with reading a monitor file of the same
// values, one measurement per process:
//   foam_load_bench make DIR PROBES ROWS   write DIR/case (probes of p and U,
//                                           forceCoeffs, solverInfo, in two
//                                           restart folders) and DIR/same.mon
//   foam_load_bench foam DIR/case          read the case (-dir)
//   foam_load_bench mon DIR/same.mon       read the monitor file (-mon)
// Prints one line of key=value figures; judge by cpu_mb_per_s.

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/ProcessUsage.h"
#include "libs/exception/Error.h"
#include "libs/mondata/sources/RunSource.h"

namespace {

using bench::cpuSeconds;
using bench::peakMegabytes;

void makeFolder(const std::string& path) {
    for (size_t at = 0; at != std::string::npos;) {
        at = path.find('/', at + 1);
        ::mkdir(path.substr(0, at).c_str(), 0755);
    }
}

double value(int row, int column) {
    return 1.0 + 1e-3 * ((row * 7919 + column * 104729) % 100000);
}

// One probe file of a field, rows [first, last) at times row * 0.001.
void writeProbes(const std::string& path, int probes, int first, int last, bool vector) {
    std::ofstream out(path);
    for (int p = 0; p < probes; ++p) out << "# Probe " << p << " (" << p << " 0 0)\n";
    out << "#     Time";
    for (int p = 0; p < probes; ++p) out << "\t" << p;
    out << "\n";
    char number[32];
    for (int row = first; row < last; ++row) {
        out << row * 0.001;
        for (int p = 0; p < probes; ++p) {
            std::snprintf(number, sizeof number, "%.8e", value(row, p));
            out << (vector ? "\t(" : "\t") << number;
            if (vector) out << " " << number << " " << number << ")";
        }
        out << "\n";
    }
}

void writeMonitorFile(const std::string& path, int probes, int rows) {
    std::ofstream out(path);
    out << "monitor-file 1\n";
    for (int p = 0; p < probes; ++p) out << "var \"probes p " << p << "\" category=MONITOR\n";
    for (int p = 0; p < probes; ++p)
        for (const char* c : {"x", "y", "z"}) out << "var \"probes U " << p << "_" << c << "\"\n";
    char number[32];
    for (int row = 0; row < rows; ++row) {
        out << row + 1;
        for (int p = 0; p < probes; ++p) {
            std::snprintf(number, sizeof number, " %.8e", value(row, p));
            out << number;
        }
        for (int p = 0; p < probes; ++p) {
            std::snprintf(number, sizeof number, " %.8e", value(row, p));
            out << number << number << number;
        }
        out << "\n";
    }
}

int make(const std::string& dir, int probes, int rows) {
    const std::string base = dir + "/case/postProcessing/probes/";
    const int restart = rows / 2;
    for (const std::string& start : {std::string("0"), std::to_string(restart * 0.001)}) {
        makeFolder(base + start);
        const bool first = start == "0";
        writeProbes(base + start + "/p", probes, first ? 0 : restart, first ? restart + 10 : rows,
                    false);
        writeProbes(base + start + "/U", probes, first ? 0 : restart, first ? restart + 10 : rows,
                    true);
    }
    writeMonitorFile(dir + "/same.mon", probes, rows);
    return 0;
}

double treeMegabytes(const std::string& path) {
    const std::string command = "du -sb '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    double bytes = 0;
    if (pipe && std::fscanf(pipe, "%lf", &bytes) != 1) bytes = 0;
    if (pipe) ::pclose(pipe);
    return bytes / 1e6;
}

int measure(const std::string& mode, const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    mon::RunData run = mon::readRun(
        mode == "foam" ? mon::SourceKind::RunDirectory : mon::SourceKind::MonitorFile, path);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double megabytes = treeMegabytes(path);
    std::printf(
        "mode=%s mb=%.1f variables=%zu records=%lld seconds=%.3f cpu_seconds=%.3f "
        "cpu_mb_per_s=%.1f peak_rss_mb=%.1f\n",
        mode.c_str(), megabytes, run.variables.size(), static_cast<long long>(run.rows->rowCount()),
        seconds, cpuSeconds(), megabytes / cpuSeconds(), peakMegabytes());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (!(mode == "make" && argc == 5) && !((mode == "foam" || mode == "mon") && argc == 3)) {
        std::fprintf(stderr,
                     "usage: foam_load_bench make DIR PROBES ROWS | foam CASE | mon FILE\n");
        return 2;
    }
    try {
        if (mode == "make") return make(argv[2], std::stoi(argv[3]), std::stoi(argv[4]));
        return measure(mode, argv[2]);
    } catch (const owl::Error& error) {
        std::fprintf(stderr, "foam_load_bench: %s\n", error.what());
        return 1;
    }
}
