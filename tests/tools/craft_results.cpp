#include "tests/tools/craft_results.h"

#include <hdf5.h>

#include <stdexcept>
#include <vector>

namespace craft {

namespace {

hid_t must(hid_t id, const char* what) {
    if (id < 0) throw std::runtime_error(std::string("craft_results: HDF5 failed to ") + what);
    return id;
}

// One 1-D dataset: created with the given creation properties and written
// whole unless `data` is null.
void dataset(hid_t parent, const char* name, hid_t fileType, hid_t memType, hsize_t count,
             const void* data, hid_t creation = H5P_DEFAULT) {
    hid_t space = must(H5Screate_simple(1, &count, nullptr), "make a dataspace");
    hid_t set = must(H5Dcreate2(parent, name, fileType, space, H5P_DEFAULT, creation, H5P_DEFAULT),
                     "create a dataset");
    if (data) must(H5Dwrite(set, memType, H5S_ALL, H5S_ALL, H5P_DEFAULT, data), "write a dataset");
    must(H5Dclose(set), "close a dataset");
    must(H5Sclose(space), "close a dataspace");
}

void integers(hid_t parent, const char* name, const std::vector<long long>& values) {
    dataset(parent, name, H5T_STD_I64LE, H5T_NATIVE_LLONG, values.size(), values.data());
}

// Fixed-length, null-padded strings of `width` bytes each, from `bytes`
// (none: the dataset is created only).
void texts(hid_t parent, const char* name, size_t width, size_t count, const char* bytes,
           hid_t creation = H5P_DEFAULT) {
    hid_t type = must(H5Tcopy(H5T_C_S1), "copy a string type");
    must(H5Tset_size(type, width), "size a string type");
    must(H5Tset_strpad(type, H5T_STR_NULLPAD), "pad a string type");
    dataset(parent, name, type, type, count, bytes, creation);
    must(H5Tclose(type), "close a string type");
}

void intAttribute(hid_t group, const char* name, int value) {
    hid_t space = must(H5Screate(H5S_SCALAR), "make a dataspace");
    hid_t attribute = must(H5Acreate2(group, name, H5T_STD_I32LE, space, H5P_DEFAULT, H5P_DEFAULT),
                           "create an attribute");
    must(H5Awrite(attribute, H5T_NATIVE_INT, &value), "write an attribute");
    must(H5Aclose(attribute), "close an attribute");
    must(H5Sclose(space), "close a dataspace");
}

hid_t creation() {
    return must(H5Pcreate(H5P_DATASET_CREATE), "make dataset properties");
}

void names(hid_t group, Flaw flaw, const std::string& other) {
    if (flaw == Flaw::ExternalLinkNames) {
        must(H5Lcreate_external(other.c_str(), "/monitor/variable_names", group, "variable_names",
                                H5P_DEFAULT, H5P_DEFAULT),
             "make an external link");
    } else if (flaw == Flaw::ExternalStorageNames) {
        hid_t properties = creation();
        must(H5Pset_external(properties, other.c_str(), 0, 8), "set external storage");
        texts(group, "variable_names", 4, 2, nullptr, properties);  // its bytes: other's
        must(H5Pclose(properties), "close properties");
    } else if (flaw == Flaw::NulInsideName) {
        texts(group, "variable_names", 3, 2, "A\0\0B\0x");
    } else {
        texts(group, "variable_names", 1, 2, "AB");
    }
}

// values/1 in chunks of two values, the second chunk never written.
void unwrittenChunk(hid_t values) {
    hid_t properties = creation();
    const hsize_t chunk = 2, count = 3;
    must(H5Pset_chunk(properties, 1, &chunk), "set chunks");
    hid_t space = must(H5Screate_simple(1, &count, nullptr), "make a dataspace");
    hid_t set =
        must(H5Dcreate2(values, "1", H5T_IEEE_F32LE, space, H5P_DEFAULT, properties, H5P_DEFAULT),
             "create a dataset");
    const hsize_t first = 0, two = 2;
    const float written[2] = {10, 20};
    must(H5Sselect_hyperslab(space, H5S_SELECT_SET, &first, nullptr, &two, nullptr), "select");
    hid_t memory = must(H5Screate_simple(1, &two, nullptr), "make a dataspace");
    must(H5Dwrite(set, H5T_NATIVE_FLOAT, memory, space, H5P_DEFAULT, written), "write");
    H5Sclose(memory);
    H5Sclose(space);
    must(H5Dclose(set), "close a dataset");
    H5Pclose(properties);
}

void virtualValues(hid_t values, const std::string& other) {
    const hsize_t count = 3;
    hid_t space = must(H5Screate_simple(1, &count, nullptr), "make a dataspace");
    hid_t properties = creation();
    must(H5Pset_virtual(properties, space, other.c_str(), "/monitor/values/1", space),
         "map a virtual dataset");
    dataset(values, "1", H5T_IEEE_F32LE, H5T_NATIVE_FLOAT, count, nullptr, properties);
    H5Pclose(properties);
    H5Sclose(space);
}

void secondValues(hid_t values, Flaw flaw, const std::string& other) {
    const float b[3] = {10, 20, 30};
    hid_t properties = creation();
    if (flaw == Flaw::CompactAndContiguous) must(H5Pset_layout(properties, H5D_COMPACT), "layout");
    if (flaw == Flaw::SoftLinkValues)
        must(H5Lcreate_soft("/monitor/values/0", values, "1", H5P_DEFAULT, H5P_DEFAULT),
             "make a soft link");
    else if (flaw == Flaw::VirtualValues)
        virtualValues(values, other);
    else if (flaw == Flaw::UnwrittenChunk)
        unwrittenChunk(values);
    else
        dataset(values, "1", H5T_IEEE_F32LE, H5T_NATIVE_FLOAT, 3,
                flaw == Flaw::UnwrittenContiguous ? nullptr : b, properties);
    H5Pclose(properties);
}

void values(hid_t group, Flaw flaw, const std::string& other) {
    hid_t values =
        must(H5Gcreate2(group, "values", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), "create a group");
    const float a[3] = {1.5f, 2.5f, 3.5f};
    hid_t properties = creation();
    const hsize_t chunk = 2;
    if (flaw != Flaw::CompactAndContiguous) must(H5Pset_chunk(properties, 1, &chunk), "chunks");
    dataset(values, "0", H5T_IEEE_F32LE, H5T_NATIVE_FLOAT, 3, a, properties);
    H5Pclose(properties);
    secondValues(values, flaw, other);
    must(H5Gclose(values), "close a group");
}

void monitorGroup(hid_t file, Flaw flaw, const std::string& other) {
    hid_t group =
        must(H5Gcreate2(file, "monitor", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), "create a group");
    intAttribute(group, "version", 1);
    intAttribute(group, "coefficient_loops", 0);
    integers(group, "step", {1, 2, flaw == Flaw::StepAbove32Bits ? 2147483648LL : 3});
    names(group, flaw, other);
    integers(group, "attribute_variable", {0, 1});
    texts(group, "attribute_key", 5, 2, "labellabel");
    texts(group, "attribute_value", 1, 2, "ab");
    values(group, flaw, other);
    must(H5Gclose(group), "close a group");
}

}  // namespace

void writeResults(const std::string& path, Flaw flaw, const std::string& other) {
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    hid_t file =
        must(H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), "create the file");
    if (flaw == Flaw::ExternalLinkGroup)
        must(H5Lcreate_external(other.c_str(), "/monitor", file, "monitor", H5P_DEFAULT,
                                H5P_DEFAULT),
             "make an external link");
    else
        monitorGroup(file, flaw, other);
    must(H5Fclose(file), "close the file");
}

}  // namespace craft
