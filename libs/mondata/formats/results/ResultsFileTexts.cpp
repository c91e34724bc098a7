#include "libs/mondata/formats/results/ResultsFileTexts.h"

#include <cstring>
#include <string>

namespace mon::results {

// Left uninitialised: HDF5 writes every byte.
FixedTexts::FixedTexts(size_t width, size_t count)
    : bytes_(new char[width * count]), width_(width), count_(count) {}

std::string_view FixedTexts::operator[](size_t index) const {
    const char* start = bytes_.get() + index * width_;
    return std::string_view(start, strnlen(start, width_));
}

size_t FixedTexts::firstWithNulInside() const {
    const std::string zeros(width_, '\0');
    for (size_t i = 0; i < count_; ++i) {
        const std::string_view text = operator[](i);
        if (std::memcmp(text.end(), zeros.data(), width_ - text.size()) != 0) return i;
    }
    return count_;
}

}  // namespace mon::results
