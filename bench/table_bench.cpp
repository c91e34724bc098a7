// Time-history export speed, in one process on one loaded run:
//   table_bench -mon|-res SOURCE OUTDIR
// writes the table of every variable three ways into OUTDIR: the plain
// iostream way (literal.csv), monexport's writer (fast.csv, then again on
// one thread), and a raw block write of the same bytes (raw.csv); prints
// MB/s, ns per value and the ratios, and checks the bytes are identical.

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

// Runs write into a fresh output file and returns the seconds it took.
double timedWrite(const std::string& path, const std::function<void(std::ostream&)>& write) {
    const auto start = std::chrono::steady_clock::now();
    owl::OWLStream file(path, owl::OWLStream::Out, false);
    write(*file.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc));
    file.close();
    return bench::secondsSince(start);
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

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void report(const char* name, double seconds, double bytes, double values, double literal) {
    std::printf("%-22s %8.3f s %9.1f MB/s %8.2f ns/value %7.2fx\n", name, seconds,
                bytes / seconds / 1e6, seconds / values * 1e9, literal / seconds);
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
        const double literal = timedWrite(dir + "/literal.csv", [&](std::ostream& out) {
            bench::writeLiteralTable(out, table.data, table.columns, loops);
        });
        const unsigned workers = owl::TimeHistoryLines::defaultWorkers();
        const double fast = timedWrite(dir + "/fast.csv",
                                       [&](std::ostream& out) { writeFast(out, table, workers); });
        const double single =
            timedWrite(dir + "/fast1.csv", [&](std::ostream& out) { writeFast(out, table, 0); });
        const std::string bytes = readAll(dir + "/fast.csv");
        const double raw = timedWrite(dir + "/raw.csv", [&](std::ostream& out) {
            for (size_t at = 0; at < bytes.size(); at += 1 << 20)
                out.write(bytes.data() + at, static_cast<std::streamsize>(
                                                 std::min<size_t>(1 << 20, bytes.size() - at)));
        });
        const double size = static_cast<double>(bytes.size()), values = table.values;
        std::printf("table: %.1f MB\n", size / 1e6);
        report("literal iostream", literal, size, values, literal);
        std::string name = "monexport (" + std::to_string(workers) + " workers)";
        report(name.c_str(), fast, size, values, literal);
        report("monexport (1 thread)", single, size, values, literal);
        report("raw write", raw, size, values, literal);
        const bool same =
            readAll(dir + "/literal.csv") == bytes && readAll(dir + "/fast1.csv") == bytes;
        std::printf("outputs %s\n", same ? "identical" : "DIFFER");
        return same ? 0 : 1;
    } catch (const owl::Error& error) {
        std::fprintf(stderr, "table_bench: %s\n", error.getErrorText().c_str());
        return 1;
    }
}
