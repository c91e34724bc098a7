// The time-history table of every variable written the plain iostream way,
// as a baseline for monexport:
//   table_reference -mon|-res SOURCE OUTPUT
// Prints the load and write times on standard error.

#include <cstdio>
#include <iostream>

#include "bench/table_data.h"
#include "bench/table_literal.h"
#include "libs/exception/Error.h"
#include "libs/system/OWLStream.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: table_reference -mon|-res SOURCE OUTPUT\n");
        return 2;
    }
    try {
        bench::LoadedTable table = bench::loadTable(argv[1], argv[2]);
        const auto start = std::chrono::steady_clock::now();
        owl::OWLStream file(argv[3], owl::OWLStream::Out, false);
        std::ostream& out = *file.getOstream(owl::OWLStream::Out | owl::OWLStream::Trunc);
        bench::writeLiteralTable(out, table.data, table.columns,
                                 table.database->hasCoefficientLoops());
        file.close();
        std::fprintf(stderr, "table_reference: load %.3f s, write %.3f s\n", table.seconds,
                     bench::secondsSince(start));
    } catch (const owl::Error& error) {
        std::fprintf(stderr, "table_reference: %s\n", error.getErrorText().c_str());
        return 1;
    }
    return 0;
}
