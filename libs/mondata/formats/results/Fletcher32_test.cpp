#include "libs/mondata/formats/results/Fletcher32.h"

#include <gtest/gtest.h>
#include <hdf5.h>

#include <random>
#include <string>
#include <vector>

#include "tests/CommandRunner.h"

namespace {

// The checksum HDF5 stores after each chunk of a dataset of bytes written
// with its Fletcher-32 filter, one chunk per content.
std::vector<std::vector<unsigned char>> chunksWithHdf5Checksums(
    const std::string& path, const std::vector<std::vector<unsigned char>>& contents) {
    hid_t file = H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
    std::vector<std::vector<unsigned char>> chunks;
    for (size_t i = 0; i < contents.size(); ++i) {
        hsize_t size = contents[i].size();
        hid_t properties = H5Pcreate(H5P_DATASET_CREATE);
        H5Pset_chunk(properties, 1, &size);
        H5Pset_fletcher32(properties);
        hid_t space = H5Screate_simple(1, &size, nullptr);
        hid_t set = H5Dcreate2(file, std::to_string(i).c_str(), H5T_NATIVE_UCHAR, space,
                               H5P_DEFAULT, properties, H5P_DEFAULT);
        H5Dwrite(set, H5T_NATIVE_UCHAR, H5S_ALL, H5S_ALL, H5P_DEFAULT, contents[i].data());
        H5Dflush(set);
        hsize_t offset = 0, stored = 0;
        uint32_t filters = 0;
        H5Dget_chunk_storage_size(set, &offset, &stored);
        std::vector<unsigned char> chunk(stored);
        H5Dread_chunk(set, H5P_DEFAULT, &offset, &filters, chunk.data());
        chunks.push_back(chunk);
        H5Dclose(set);
        H5Sclose(space);
        H5Pclose(properties);
    }
    H5Fclose(file);
    return chunks;
}

}  // namespace

// Against HDF5's own checksums: even and odd lengths, runs longer than the
// 360 words HDF5 sums before folding, all-ones data (its sums' largest), and
// a damaged byte or checksum, which must not match.
TEST(Fletcher32, IsTheChecksumHdf5Stores) {
    std::mt19937 random(32);
    std::vector<std::vector<unsigned char>> contents;
    for (size_t size : {1, 2, 3, 719, 720, 721, 1440, 4097, 65536}) {
        std::vector<unsigned char> bytes(size);
        for (unsigned char& byte : bytes) byte = static_cast<unsigned char>(random());
        contents.push_back(bytes);
        contents.push_back(std::vector<unsigned char>(size, 0xff));
        contents.push_back(std::vector<unsigned char>(size, 0));
    }
    e2e::TempDir dir;
    const auto chunks = chunksWithHdf5Checksums(dir.file("sums.h5"), contents);
    ASSERT_EQ(chunks.size(), contents.size());
    for (size_t i = 0; i < chunks.size(); ++i) {
        const size_t size = contents[i].size();
        ASSERT_EQ(chunks[i].size(), size + 4);
        EXPECT_TRUE(mon::results::fletcher32Matches(chunks[i].data(), size, &chunks[i][size]))
            << "content " << i << " of " << size << " bytes";
        std::vector<unsigned char> damaged = chunks[i];
        damaged[random() % size] ^= 0x10;
        EXPECT_FALSE(mon::results::fletcher32Matches(damaged.data(), size, &damaged[size]));
        damaged = chunks[i];
        damaged[size + 1] ^= 0x01;
        EXPECT_FALSE(mon::results::fletcher32Matches(damaged.data(), size, &damaged[size]));
    }
}
