// Writes the CGNS files the tests and benchmarks read, in either storage
// flavour, through the CGNS library's cgio layer as solvers' libraries do:
//   make_cgns adf|hdf5 DIR                      the test files, DIR/NAME.cgns
//   make_cgns adf|hdf5 FILE ARRAYS ITERATIONS   one global history of ARRAYS
//                                               arrays of ITERATIONS values

#include <cgns_io.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

namespace {

[[noreturn]] void die(const std::string& what) {
    char message[CGIO_MAX_ERROR_LENGTH + 1] = {};
    cgio_error_message(message);
    std::fprintf(stderr, "make_cgns: %s (%s)\n", what.c_str(), message);
    std::exit(1);
}

// A name, label or data type as the library reads it: a full field.
struct Field {
    char text[CGIO_MAX_NAME_LENGTH + 1] = {};
    explicit Field(const char* from) { std::strncpy(text, from, CGIO_MAX_NAME_LENGTH); }
};

// A file being written and the nodes it is given.
class Writer {
  public:
    Writer(const std::string& path, int flavour) {
        if (cgio_open_file(path.c_str(), CGIO_MODE_WRITE, flavour, &file_) != CGIO_ERR_NONE)
            die("cannot create " + path);
        cgio_get_root_id(file_, &root_);
        float version = 3.4f;
        node(root_, "CGNSLibraryVersion", "CGNSLibraryVersion_t", "R4", {1}, &version);
    }
    ~Writer() { cgio_close_file(file_); }

    double root() const { return root_; }

    double node(double parent, const char* name, const char* label, const char* type,
                std::vector<cgsize_t> dims, const void* data) {
        double id = 0;
        // The library copies whole fixed-length fields (33 bytes) from what
        // it is given: shorter texts go in zero-padded buffers of that size.
        const Field nameField(name), labelField(label), typeField(type);
        if (cgio_new_node(file_, parent, nameField.text, labelField.text, typeField.text,
                          static_cast<int>(dims.size()), dims.data(), data, &id) != CGIO_ERR_NONE)
            die(std::string("cannot write node ") + name);
        return id;
    }
    double empty(double parent, const char* name, const char* label) {
        return node(parent, name, label, "MT", {}, nullptr);
    }
    double base(const char* name) {
        int dims[2] = {3, 3};
        return node(root_, name, "CGNSBase_t", "I4", {2}, dims);
    }
    double zone(double base, const char* name) {
        int size[3] = {8, 1, 0};
        double zone = node(base, name, "Zone_t", "I4", {1, 3}, size);
        char type[] = "Unstructured";
        node(zone, "ZoneType", "ZoneType_t", "C1", {cgsize_t(std::strlen(type))}, type);
        return zone;
    }
    double history(double parent, const char* name, int iterations) {
        return node(parent, name, "ConvergenceHistory_t", "I4", {1}, &iterations);
    }
    void text(double parent, const char* name, const std::string& text) {
        node(parent, name, "Descriptor_t", "C1", {cgsize_t(text.size())}, text.data());
    }
    // A data array of doubles (R8), floats (R4), int32 (I4) or int64 (I8).
    template <typename T>
    double array(double parent, const char* name, const std::vector<T>& values) {
        const char* type = std::is_floating_point<T>() ? (sizeof(T) == 8 ? "R8" : "R4")
                                                       : (sizeof(T) == 8 ? "I8" : "I4");
        return node(parent, name, "DataArray_t", type, {cgsize_t(values.size())}, values.data());
    }

  private:
    int file_ = -1;
    double root_ = 0;
};

// One base: a global history of 4 iterations (double, float and integer
// arrays, norm definitions) and two zones, one of them with pre-sized arrays
// and explicit iteration numbers 2, 4, 6.
void writeWing(Writer& w) {
    double base = w.base("Wing");
    double global = w.history(base, "GlobalConvergenceHistory", 4);
    w.text(global, "NormDefinitions", "L2 norms,\n  summed over all blocks");
    w.array<double>(global, "RSDMassRMS", {1.0, 0.5, 0.25, 0.125});
    w.array<float>(global, "RSDEnergyMax", {2.0f, 1.5f, 1.25f, 1.0f});
    w.array<double>(global, "CoefLift", {0.1, 0.2, 0.3, 0.4});
    w.array<double>(global, "CoefMomentY", {-0.01, -0.02, -0.03, -0.04});
    w.array<int32_t>(global, "totalR", {400, 300, 200, 100});
    double block1 = w.zone(base, "Block1");
    double zone1 = w.history(block1, "ZoneConvergenceHistory", 3);
    w.array<int32_t>(zone1, "IterationNumber", {2, 4, 6, 0, 0, 0});
    w.array<double>(zone1, "RSD_L2", {0.5, 0.05, 0.005, 9, 9, 9});
    double max = w.array<float>(zone1, "RSD_oo", {0.75f, 0.5f, 0.25f, 9, 9, 9});
    w.text(max, "Description", "largest residual of the block");
    double block2 = w.zone(base, "Block2");
    double zone2 = w.history(block2, "ZoneConvergenceHistory", 2);
    w.array<int64_t>(zone2, "CHGDensity", {7, 8});
}

// Two bases, each with a global history and a zone history.
void writeTwoBases(Writer& w) {
    for (const char* name : {"Wing", "Tail"}) {
        double base = w.base(name);
        double global = w.history(base, "GlobalConvergenceHistory", 2);
        w.array<double>(global, "CoefDrag", {name[0] == 'W' ? 0.03 : 0.01, 0.02});
        double zone = w.history(w.zone(base, "Block1"), "ZoneConvergenceHistory", 2);
        w.array<float>(zone, "RSDMomentumXRMS", {name[0] == 'W' ? 1.0f : 2.0f, 0.5f});
    }
}

// A solution without any history.
void writeSolutionOnly(Writer& w) {
    double zone = w.zone(w.base("Wing"), "Block1");
    double solution = w.empty(zone, "FlowSolution", "FlowSolution_t");
    w.array<double>(solution, "Density", {1.2, 1.1, 1.0, 1.3, 1.2, 1.1, 1.0, 1.3});
}

// The same global history, damaged in one way each.
double historyOf(Writer& w, int iterations) {
    return w.history(w.base("Wing"), "GlobalConvergenceHistory", iterations);
}

const std::vector<std::pair<const char*, std::function<void(Writer&)>>> kFiles = {
    {"wing", writeWing},
    {"two-bases", writeTwoBases},
    {"solution-only", writeSolutionOnly},
    {"short-array",
     [](Writer& w) {
         double h = historyOf(w, 5);
         w.array<double>(h, "CoefLift", {1, 2, 3, 4, 5});
         w.array<double>(h, "CoefDrag", {1, 2, 3});
     }},
    {"wrong-type",
     [](Writer& w) { w.empty(w.base("Wing"), "GlobalConvergenceHistory", "UserDefinedData_t"); }},
    {"text-array",
     [](Writer& w) {
         double h = historyOf(w, 2);
         w.node(h, "CoefLift", "DataArray_t", "C1", {2}, "ab");
     }},
    {"no-count",
     [](Writer& w) {
         double h = w.empty(w.base("Wing"), "GlobalConvergenceHistory", "ConvergenceHistory_t");
         w.array<double>(h, "CoefLift", {1, 2});
     }},
    {"steps-backwards",
     [](Writer& w) {
         double h = historyOf(w, 3);
         w.array<int32_t>(h, "IterationNumber", {10, 20, 15});
         w.array<double>(h, "CoefLift", {1, 2, 3});
     }},
    {"two-dimensional",
     [](Writer& w) {
         double h = historyOf(w, 2);
         double values[4] = {1, 2, 3, 4};
         w.node(h, "CoefLift", "DataArray_t", "R8", {2, 2}, values);
     }},
    {"huge-value",
     [](Writer& w) {
         double h = historyOf(w, 2);
         w.array<double>(h, "CoefLift", {1, 1e300});
         w.array<double>(h, "CoefDrag", {0.5, 0.25});
     }},
};

// A history as large solvers write: ARRAYS residual arrays.
void writeLarge(Writer& w, int arrays, int iterations) {
    double h = historyOf(w, iterations);
    std::vector<double> values(static_cast<size_t>(iterations));
    for (int a = 0; a < arrays; ++a) {
        for (int i = 0; i < iterations; ++i) values[size_t(i)] = (a + 1) * 1.0 / (i + 1);
        w.array<double>(h, ("RSDVar" + std::to_string(a) + "RMS").c_str(), values);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: make_cgns adf|hdf5 DIR | make_cgns adf|hdf5 FILE N M\n");
        return 2;
    }
    const int flavour = std::string(argv[1]) == "adf" ? CGIO_FILE_ADF : CGIO_FILE_HDF5;
    if (argc == 5) {
        Writer w(argv[2], flavour);
        writeLarge(w, std::atoi(argv[3]), std::atoi(argv[4]));
        return 0;
    }
    for (const auto& [name, write] : kFiles) {
        Writer w(std::string(argv[2]) + "/" + name + ".cgns", flavour);
        write(w);
    }
    return 0;
}
