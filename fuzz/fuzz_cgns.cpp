// Fuzzes the CGNS history reader: detection, opening, and every variable's
// values. The library reads files by path only, so each input is written to
// a file in a directory of this process, removed again whatever happens.
// Bad input must end in owl::Error, never in a crash.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz/InputFile.h"
#include "libs/exception/Error.h"
#include "libs/mondata/formats/cgns/CgnsHistory.h"

namespace {

void readAll(const std::string& path, std::string_view head) {
    if (!mon::looksLikeCgns(path, head)) return;
    mon::RunData run = mon::readCgnsFile(path);
    for (size_t i = 0; i < run.variables.size(); ++i)
        if (run.loadColumn(i).size() != static_cast<size_t>(run.rows->rowCount())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const fuzzinput::InputFile input("input.cgns");
    const std::string& path = input.write(bytes, size);
    const std::string_view head(reinterpret_cast<const char*>(bytes), size < 4096 ? size : 4096);
    try {
        readAll(path, head);
    } catch (const owl::Error&) {
    }
    std::remove(path.c_str());
    return 0;
}
