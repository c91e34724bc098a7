#include "libs/mondata/formats/ResultsFileTexts.h"

#include <algorithm>
#include <cstring>

namespace mon::results {

// Left uninitialised: HDF5 writes every byte.
FixedTexts::FixedTexts(size_t width, size_t count)
    : bytes_(new char[width * count]), width_(width), count_(count) {}

std::string_view FixedTexts::operator[](size_t index) const {
    const char* start = bytes_.get() + index * width_;
    return std::string_view(start, strnlen(start, width_));
}

size_t FixedTexts::firstWithNulInside() const {
    for (size_t i = 0; i < count_; ++i) {
        const char* end = bytes_.get() + (i + 1) * width_;
        if (std::any_of(operator[](i).end(), end, [](char c) { return c != '\0'; })) return i;
    }
    return count_;
}

}  // namespace mon::results
