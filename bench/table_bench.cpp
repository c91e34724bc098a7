// Time-history export speed, in one process on one loaded run:
//   table_bench -mon|-res SOURCE OUTDIR
// writes the table of every variable three ways into OUTDIR: the plain
// iostream way (literal.csv), monexport's writer (fast.csv, then again on
// one thread), and a raw block write of the same bytes (raw.csv); prints
// MB/s, ns per value and the ratios, and checks the bytes are identical.

#include <time.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "bench/table_data.h"
#include "bench/table_literal.h"
#include "export/TimeHistoryLines.h"
#include "libs/exception/Error.h"
#include "libs/system/OWLStream.h"

namespace {

// Wall and CPU seconds (every thread of the process, system time included).
struct Seconds {
    double wall;
    double cpu;
};

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs write into a fresh output file and returns the time it took.
Seconds timedWrite(const std::string& path, const std::function<void(std::ostream&)>& write) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = processCpuSeconds();
    owl::OWLStream file(path, owl::OWLStream::Out, false);
    write(*file.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc));
    file.close();
    return {bench::secondsSince(start), processCpuSeconds() - cpuStart};
}

void writeFast(std::ostream& out, const bench::LoadedTable& table, unsigned workers) {
    RunHistoryWriter::writeHeader(out, table.columns);
    const TimestepData& key = *table.data.at("ACCUMULATED TIMESTEP");
    std::vector<owl::TimeHistoryColumn> columns;
    for (const std::string& name : table.columns)
        columns.push_back({table.data.at(name), RunHistoryWriter::isKeyField(name)});
    owl::TimeHistoryLines lines(key, key.getFirstTimestep(), key.getLastTimestep(),
                                table.database->hasCoefficientLoops());
    lines.write(out, columns, owl::TableFormat(8), workers);
}

// A stream that drops what it is given: the writers' own cost, without the
// kernel's (page-cache allocation for a new file varies widely on a VM).
class DiscardBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

Seconds timedDiscard(const std::function<void(std::ostream&)>& write) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = processCpuSeconds();
    DiscardBuffer buffer;
    std::ostream out(&buffer);
    write(out);
    return {bench::secondsSince(start), processCpuSeconds() - cpuStart};
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One line per way of writing: wall and CPU figures, and the speed-up over
// the plain way in each.
void report(const char* name, Seconds time, double bytes, double values, Seconds literal) {
    std::printf(
        "%-22s wall %7.3f s %8.1f MB/s %7.2f ns/value %6.2fx | cpu %7.3f s %7.2f "
        "ns/value %6.2fx\n",
        name, time.wall, bytes / time.wall / 1e6, time.wall / values * 1e9,
        literal.wall / time.wall, time.cpu, time.cpu / values * 1e9, literal.cpu / time.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: table_bench -mon|-res SOURCE OUTDIR\n");
        return 2;
    }
    try {
        const std::string dir = argv[3];
        bench::LoadedTable table = bench::loadTable(argv[1], argv[2]);
        const bool loops = table.database->hasCoefficientLoops();
        std::printf("load %.3f s: %zu columns, %zu values\n", table.seconds, table.columns.size(),
                    table.values);
        const Seconds literal = timedWrite(dir + "/literal.csv", [&](std::ostream& out) {
            bench::writeLiteralTable(out, table.data, table.columns, loops);
        });
        const unsigned workers = owl::TimeHistoryLines::defaultWorkers();
        const Seconds fast = timedWrite(dir + "/fast.csv",
                                        [&](std::ostream& out) { writeFast(out, table, workers); });
        const Seconds single =
            timedWrite(dir + "/fast1.csv", [&](std::ostream& out) { writeFast(out, table, 0); });
        const std::string bytes = readAll(dir + "/fast.csv");
        const Seconds raw = timedWrite(dir + "/raw.csv", [&](std::ostream& out) {
            for (size_t at = 0; at < bytes.size(); at += 1 << 20)
                out.write(bytes.data() + at, static_cast<std::streamsize>(
                                                 std::min<size_t>(1 << 20, bytes.size() - at)));
        });
        const double size = static_cast<double>(bytes.size()), values = table.values;
        std::printf("table: %.1f MB\nwritten to files in %s:\n", size / 1e6, dir.c_str());
        report("literal iostream", literal, size, values, literal);
        std::string name = "monexport (" + std::to_string(workers) + " workers)";
        report(name.c_str(), fast, size, values, literal);
        report("monexport (1 thread)", single, size, values, literal);
        report("raw write", raw, size, values, literal);
        std::printf("output discarded:\n");
        const Seconds literalOnly = timedDiscard([&](std::ostream& out) {
            bench::writeLiteralTable(out, table.data, table.columns, loops);
        });
        report("literal iostream", literalOnly, size, values, literalOnly);
        report(name.c_str(),
               timedDiscard([&](std::ostream& out) { writeFast(out, table, workers); }), size,
               values, literalOnly);
        report("monexport (1 thread)",
               timedDiscard([&](std::ostream& out) { writeFast(out, table, 0); }), size, values,
               literalOnly);
        const bool same =
            readAll(dir + "/literal.csv") == bytes && readAll(dir + "/fast1.csv") == bytes;
        std::printf("outputs %s\n", same ? "identical" : "DIFFER");
        return same ? 0 : 1;
    } catch (const owl::Error& error) {
        std::fprintf(stderr, "table_bench: %s\n", error.getErrorText().c_str());
        return 1;
    }
}
