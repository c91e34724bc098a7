#pragma once
// HDF5's Fletcher-32 checksum of a chunk (its "fletcher32" filter): the
// same value HDF5 computes, so that the results reader can check chunks it
// reads itself.

#include <cstddef>
#include <cstdint>

namespace mon::results {

// The checksum of bytes as HDF5 writes it after a chunk (little-endian).
uint32_t fletcher32(const void* data, size_t bytes);

// Whether the four bytes after a chunk's data are its checksum. HDF5 also
// accepts the checksum with the bytes of each half swapped, which HDF5
// before 1.6.3 wrote on little-endian machines.
bool fletcher32Matches(const void* data, size_t bytes, const void* stored);

}  // namespace mon::results
