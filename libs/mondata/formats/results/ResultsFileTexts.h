#pragma once
// The texts of a results file's fixed-length string dataset, read in one
// piece: each element is `width` bytes, its text the bytes before the first
// NUL and the rest padding. Views into the buffer replace a string per text.

#include <cstddef>
#include <memory>
#include <string_view>

namespace mon::results {

class FixedTexts {
  public:
    FixedTexts() = default;
    FixedTexts(size_t width, size_t count);

    // The buffer HDF5 fills: width * count bytes.
    char* data() { return bytes_.get(); }
    size_t size() const { return count_; }
    std::string_view operator[](size_t index) const;
    // The first element whose padding holds a byte other than NUL (a text
    // with a NUL inside, which would read cut short), or size() when none.
    size_t firstWithNulInside() const;

  private:
    std::unique_ptr<char[]> bytes_;
    size_t width_ = 0;
    size_t count_ = 0;
};

}  // namespace mon::results
