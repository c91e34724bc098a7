// Fuzzes the run matrix of a study (-matrix FILE.csv): the CSV reader and
// the matching of its lines to runs. Bad input must end in owl::Error,
// never in a crash, and every run must get one value per parameter.

#include <cstdint>

#include "fuzz/InputFile.h"
#include "libs/exception/Error.h"
#include "study/RunMatrix.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const fuzzinput::InputFile input("matrix.csv");
    static const std::vector<std::string> runs = {"sweep/alpha=5/run.mon", "sweep/alpha=10",
                                                  "run.mon", "/abs/case/"};
    try {
        const study::RunParameters parameters =
            study::matrixParameters(input.write(bytes, size), runs);
        if (parameters.values.size() != runs.size()) __builtin_trap();
        for (const auto& values : parameters.values)
            if (values.size() != parameters.names.size()) __builtin_trap();
    } catch (const owl::Error&) {
    }
    return 0;
}
