// Fuzzes the results-file reader on in-memory HDF5 images: opening, the
// records and metadata, and every variable's values, each checked as it is
// first read. Bad input must end in owl::Error, never in a crash. The seeds
// include images with links, external storage and virtual datasets that
// point outside the image, which the reader must refuse without following.

#include <cstdint>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/results/ResultsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    try {
        mon::RunData run = mon::readResultsImage("fuzz.res", bytes, size);
        mon::completeAttributes(run);
        for (size_t i = 0; i < run.variables.size(); ++i) {
            mon::FloatColumn values = run.loadColumn(i);
            if (values.size() != static_cast<size_t>(run.rows->rowCount())) __builtin_trap();
        }
    } catch (const owl::Error&) {
    }
    return 0;
}
