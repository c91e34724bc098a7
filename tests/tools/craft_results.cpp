#include "tests/tools/craft_results.h"

#include <hdf5.h>

#include <algorithm>
#include <stdexcept>

namespace craft {

namespace {

constexpr hsize_t kAll = ~hsize_t(0);

struct Crafted : Layout {
    Flaw flaw;
    std::string other;
};

hid_t must(hid_t id, const char* what) {
    if (id < 0) throw std::runtime_error(std::string("craft_results: HDF5 failed to ") + what);
    return id;
}

// One 1-D dataset of `count` elements, created with the given creation
// properties; its first `written` elements are written from `data`.
void dataset(hid_t parent, const char* name, hid_t fileType, hid_t memType, hsize_t count,
             const void* data, hid_t creation = H5P_DEFAULT, hsize_t written = kAll) {
    hid_t space = must(H5Screate_simple(1, &count, nullptr), "make a dataspace");
    hid_t set = must(H5Dcreate2(parent, name, fileType, space, H5P_DEFAULT, creation, H5P_DEFAULT),
                     "create a dataset");
    written = std::min(written, count);
    if (written > 0) {
        const hsize_t first = 0;
        hid_t memory = must(H5Screate_simple(1, &written, nullptr), "make a dataspace");
        must(H5Sselect_hyperslab(space, H5S_SELECT_SET, &first, nullptr, &written, nullptr),
             "select");
        must(H5Dwrite(set, memType, memory, space, H5P_DEFAULT, data), "write a dataset");
        must(H5Sclose(memory), "close a dataspace");
    }
    must(H5Dclose(set), "close a dataset");
    must(H5Sclose(space), "close a dataspace");
}

void integers(hid_t parent, const char* name, const std::vector<long long>& values) {
    dataset(parent, name, H5T_STD_I64LE, H5T_NATIVE_LLONG, values.size(), values.data());
}

// Null-padded strings as wide as the longest, or variable-length ones.
void texts(hid_t parent, const char* name, const std::vector<std::string>& texts,
           bool variableLength = false, hid_t creation = H5P_DEFAULT, hsize_t written = kAll) {
    size_t width = 1;
    for (const std::string& text : texts) width = std::max(width, text.size());
    std::string fixed;
    std::vector<const char*> pointers;
    for (const std::string& text : texts) {
        fixed += text + std::string(width - text.size(), '\0');
        pointers.push_back(text.c_str());
    }
    hid_t type = must(H5Tcopy(H5T_C_S1), "copy a string type");
    must(H5Tset_size(type, variableLength ? H5T_VARIABLE : width), "size a string type");
    must(H5Tset_strpad(type, H5T_STR_NULLPAD), "pad a string type");
    dataset(parent, name, type, type, texts.size(),
            variableLength ? static_cast<const void*>(pointers.data()) : fixed.data(), creation,
            written);
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

void names(hid_t group, const Crafted& layout) {
    if (layout.flaw == Flaw::ExternalLinkNames) {
        must(H5Lcreate_external(layout.other.c_str(), "/monitor/variable_names", group,
                                "variable_names", H5P_DEFAULT, H5P_DEFAULT),
             "make an external link");
    } else if (layout.flaw == Flaw::ExternalStorageNames) {
        hid_t properties = creation();
        must(H5Pset_external(properties, layout.other.c_str(), 0, 8), "set external storage");
        texts(group, "variable_names", layout.names, false, properties, 0);  // its bytes: other's
        must(H5Pclose(properties), "close properties");
    } else {
        texts(group, "variable_names", layout.names, layout.variableLengthNames);
    }
}

// Storage for values/i: the flaw, if it is about values/1, else values/0
// chunked (in chunks of two values) unless compact storage was chosen.
hid_t storage(size_t i, const Crafted& layout, hsize_t count) {
    hid_t properties = creation();
    const Flaw flaw = i == 1 ? layout.flaw : Flaw::None;
    const hsize_t chunk = 2;
    if (flaw == Flaw::CompactAndContiguous) must(H5Pset_layout(properties, H5D_COMPACT), "layout");
    const bool chunked =
        i == 0 ? layout.flaw != Flaw::CompactAndContiguous : flaw == Flaw::UnwrittenChunk;
    if (chunked && count >= chunk) must(H5Pset_chunk(properties, 1, &chunk), "set chunks");
    if (flaw == Flaw::VirtualValues) {
        hid_t space = must(H5Screate_simple(1, &count, nullptr), "make a dataspace");
        must(H5Pset_virtual(properties, space, layout.other.c_str(), "/monitor/values/1", space),
             "map a virtual dataset");
        H5Sclose(space);
    }
    return properties;
}

void values(hid_t group, const Crafted& layout) {
    hid_t values =
        must(H5Gcreate2(group, "values", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), "create a group");
    for (size_t i = 0; i < layout.columns.size(); ++i) {
        const std::string name = std::to_string(i);
        const Flaw flaw = i == 1 ? layout.flaw : Flaw::None;
        if (flaw == Flaw::SoftLinkValues) {
            must(H5Lcreate_soft("/monitor/values/0", values, "1", H5P_DEFAULT, H5P_DEFAULT),
                 "make a soft link");
            continue;
        }
        const std::vector<double>& column = layout.columns[i];
        hid_t properties = storage(i, layout, column.size());
        const bool none = flaw == Flaw::UnwrittenContiguous || flaw == Flaw::VirtualValues;
        dataset(values, name.c_str(), layout.doubleValues ? H5T_IEEE_F64LE : H5T_IEEE_F32LE,
                H5T_NATIVE_DOUBLE, column.size(), column.data(), properties,
                flaw == Flaw::UnwrittenChunk ? 2
                : none                       ? 0
                                             : kAll);
        H5Pclose(properties);
    }
    must(H5Gclose(values), "close a group");
}

void monitorGroup(hid_t file, const Crafted& layout) {
    hid_t group =
        must(H5Gcreate2(file, "monitor", H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), "create a group");
    intAttribute(group, "version", layout.version);
    intAttribute(group, "coefficient_loops", layout.loops);
    integers(group, "step", layout.steps);
    if (!layout.loopNumbers.empty()) integers(group, "loop", layout.loopNumbers);
    names(group, layout);
    integers(group, "attribute_variable", layout.owners);
    texts(group, "attribute_key", layout.keys);
    texts(group, "attribute_value", layout.values);
    values(group, layout);
    must(H5Gclose(group), "close a group");
}

}  // namespace

void writeResults(const std::string& path, const Layout& layout, Flaw flaw,
                  const std::string& other) {
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    Crafted crafted{layout, flaw, other};
    if (flaw == Flaw::StepAbove32Bits) crafted.steps.back() = 2147483648LL;
    if (flaw == Flaw::NulInsideName) crafted.names[1] = std::string("B\0x", 3);
    hid_t file =
        must(H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), "create the file");
    if (flaw == Flaw::ExternalLinkGroup)
        must(H5Lcreate_external(other.c_str(), "/monitor", file, "monitor", H5P_DEFAULT,
                                H5P_DEFAULT),
             "make an external link");
    else if (layout.hasGroup)
        monitorGroup(file, crafted);
    must(H5Fclose(file), "close the file");
}

}  // namespace craft
