#include "libs/mondata/formats/results/ResultsFileStorage.h"

#include "libs/mondata/sources/Hdf5Handle.h"

namespace mon::results {

namespace {
bool checksumIsTheOneFilter(hid_t creation) {
    if (H5Pget_nfilters(creation) != 1) return false;
    unsigned flags = 0, config = 0;
    size_t values = 0;
    return H5Pget_filter2(creation, 0, &flags, &values, nullptr, 0, nullptr, &config) ==
           H5Z_FILTER_FLETCHER32;
}

bool chunksStoredInFull(hid_t dataset, hid_t creation, hsize_t count, StoredChunks* chunks) {
    hsize_t chunk = 0;
    if (H5Pget_chunk(creation, 1, &chunk) != 1 || chunk == 0) return false;
    if (chunks) {
        chunks->values = chunk;
        chunks->checksumOnly = checksumIsTheOneFilter(creation);
    }
    for (hsize_t offset = 0; offset < count; offset += chunk) {
        unsigned filters = 0;
        haddr_t address = HADDR_UNDEF;
        hsize_t size = 0;
        if (H5Dget_chunk_info_by_coord(dataset, &offset, &filters, &address, &size) < 0 ||
            address == HADDR_UNDEF || size == 0)
            return false;
        if (chunks) {
            chunks->bytes.push_back(size);
            chunks->unfiltered.push_back(filters);
        }
    }
    return true;
}
}  // namespace

std::string foreignLinkKind(hid_t parent, const char* name) {
    H5L_info_t info{};
    if (H5Lget_info(parent, name, &info, H5P_DEFAULT) < 0 || info.type == H5L_TYPE_HARD)
        return std::string();
    if (info.type == H5L_TYPE_SOFT) return "a soft link";
    if (info.type == H5L_TYPE_EXTERNAL) return "an external link";
    return "a user-defined link";
}

std::string foreignLayout(hid_t dataset) {
    Hdf5Handle creation = propertyHandle(H5Dget_create_plist(dataset));
    if (!creation.valid()) return "has unreadable storage properties";
    const H5D_layout_t layout = H5Pget_layout(creation.get());
    if (layout == H5D_VIRTUAL) return "is a virtual dataset, made of other datasets";
    if (layout != H5D_CONTIGUOUS && layout != H5D_COMPACT && layout != H5D_CHUNKED)
        return "has an unknown storage layout";
    if (H5Pget_external_count(creation.get()) != 0) return "keeps its data in other files";
    return std::string();
}

bool storedInFull(hid_t dataset, hsize_t count, StoredChunks* chunks) {
    if (count == 0) return true;
    Hdf5Handle creation = propertyHandle(H5Dget_create_plist(dataset));
    H5D_space_status_t status = H5D_SPACE_STATUS_ERROR;
    switch (creation.valid() ? H5Pget_layout(creation.get()) : H5D_LAYOUT_ERROR) {
        case H5D_COMPACT:
            return true;
        case H5D_CONTIGUOUS:
            return H5Dget_space_status(dataset, &status) >= 0 &&
                   status == H5D_SPACE_STATUS_ALLOCATED;
        case H5D_CHUNKED:
            return chunksStoredInFull(dataset, creation.get(), count, chunks);
        default:
            return false;
    }
}

}  // namespace mon::results
