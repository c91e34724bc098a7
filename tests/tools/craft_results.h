#pragma once
// Writes small results files the way another program could, part by part
// with raw HDF5 calls, so that tests can check how the reader takes each
// part. The default run has three records (steps 1, 2 and 3) and two
// variables, "A" (values 1.5, 2.5, 3.5) and "B" (values 10, 20, 30),
// labelled "a" and "b".

#include <string>
#include <vector>

namespace craft {

// How the file is stored; all but the first two are refused or damaged.
enum class Flaw {
    None,                  // values/0 chunked, values/1 contiguous
    CompactAndContiguous,  // values/0 contiguous, values/1 compact
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

// The monitor group, part by part.
struct Layout {
    bool hasGroup = true;
    int version = 1;
    int loops = 0;
    std::vector<long long> steps = {1, 2, 3};
    std::vector<long long> loopNumbers;  // none: no dataset "loop"
    std::vector<std::string> names = {"A", "B"};
    std::vector<long long> owners = {0, 1};
    std::vector<std::string> keys = {"label", "label"};
    std::vector<std::string> values = {"a", "b"};
    std::vector<std::vector<double>> columns = {{1.5, 2.5, 3.5}, {10, 20, 30}};
    bool doubleValues = false;  // values stored at 64 bits rather than 32
    bool variableLengthNames = false;
};

// Writes the layout, with the flaw, at path; `other` names the file that
// links, external storage and virtual datasets point to. Throws
// std::runtime_error when HDF5 fails.
void writeResults(const std::string& path, const Layout& layout, Flaw flaw = Flaw::None,
                  const std::string& other = "");

}  // namespace craft
