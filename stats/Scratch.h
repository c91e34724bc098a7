#pragma once
// Work buffers of doubles kept by each thread for its next calls: the
// autocovariances of long series need several buffers of millions of
// values, and fresh memory costs a page fault per page on first use (on a
// virtual machine more than the arithmetic done in it).

#include <cstddef>
#include <memory>
#include <vector>

namespace stats {

class Scratch {
  public:
    // At least size doubles, their values unspecified.
    explicit Scratch(size_t size);
    ~Scratch();  // the buffer goes back to the thread's pool
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    double* data() const { return buffer_->data(); }
    size_t size() const { return size_; }
    double& operator[](size_t i) const { return (*buffer_)[i]; }

  private:
    std::unique_ptr<std::vector<double>> buffer_;
    size_t size_;
};

}  // namespace stats
