#pragma once
// Produces numbered blocks of text on worker threads and hands them to the
// calling thread strictly in order, with a bounded number of blocks in
// flight: memory stays at a few blocks whatever the number of blocks.

#include <cstddef>
#include <functional>
#include <vector>

#include "libs/system/LargeBlocks.h"

namespace owl {

// A reusable text buffer: it keeps its memory from block to block and grows
// without clearing what it does not need. The memory comes in large blocks:
// a worker thread's own heap would take it in fresh 4 KB pages, whose first
// writes cost more than a tenth of formatting a table.
class TextBlock {
  public:
    // Empties the block and returns room for at least bytes bytes.
    char* reserve(size_t bytes);
    void setEnd(const char* end) { size_ = static_cast<size_t>(end - data_.data()); }
    const char* data() const { return data_.data(); }
    size_t size() const { return size_; }

  private:
    std::vector<char, BufferAllocator<char>> data_;
    size_t size_ = 0;
};

class OrderedBlocks {
  public:
    // Fills text with block n. Called on worker threads, several blocks at a
    // time.
    using Produce = std::function<void(size_t block, TextBlock& text)>;
    // Takes block n's text on the calling thread, in block order. Returning
    // false stops the run: no later block is consumed.
    using Consume = std::function<bool(const TextBlock& text)>;

    // workers 0 produces every block on the calling thread. An exception from
    // produce stops the run once every earlier block was consumed and is
    // rethrown here; one from consume is rethrown at once.
    static void run(size_t blockCount, unsigned workers, const Produce& produce,
                    const Consume& consume);
};

}  // namespace owl
