#pragma once
// Writes small results files the way another program could, each with one
// chosen flaw, so that tests can check how the reader takes them. The run
// has three records (steps 1, 2 and 3) and two variables, "A" (values 1.5,
// 2.5, 3.5) and "B" (values 10, 20, 30), labelled "a" and "b".

#include <string>

namespace craft {

enum class Flaw {
    None,
    CompactAndContiguous,  // sound: values stored compact and contiguous
    ExternalLinkGroup,     // "/monitor" leads to the monitor group of `other`
    ExternalLinkNames,     // "variable_names" leads to a dataset of `other`
    SoftLinkValues,        // "values/1" is a soft link to "values/0"
    ExternalStorageNames,  // "variable_names" keeps its bytes in the file `other`
    VirtualValues,         // "values/1" is a virtual dataset mapping `other`'s values
    UnwrittenChunk,        // one chunk of "values/1" was never written
    UnwrittenContiguous,   // "values/1" was created and never written
    StepAbove32Bits,       // the last step is 2^31 (a 64-bit integer)
    NulInsideName,         // the name "B" is stored as "B", NUL, "x"
};

// Writes the run with the flaw at path; `other` names the file that links,
// external storage and virtual datasets point to. Throws std::runtime_error
// when HDF5 fails.
void writeResults(const std::string& path, Flaw flaw, const std::string& other = "");

}  // namespace craft
