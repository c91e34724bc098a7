#include "libs/mondata/text/PieceScan.h"

namespace mon {

PieceScan::PieceScan(const std::vector<std::string_view>& texts, std::vector<ScannedPiece>& pieces,
                     bool loops, unsigned helpers)
    : texts_(texts),
      pieces_(pieces),
      loops_(loops),
      done_(new std::atomic<bool>[texts.size()]),
      errors_(texts.size()) {
    if (pieces_.size() < texts_.size()) pieces_.resize(texts_.size());
    for (size_t i = 0; i < texts_.size(); ++i) done_[i] = false;
    for (unsigned i = 0; i < helpers && i + 1 < texts_.size(); ++i)
        helpers_.emplace_back([this] { help(); });
}

PieceScan::~PieceScan() {
    next_ = texts_.size();
    for (std::thread& helper : helpers_) helper.join();
}

void PieceScan::help() {
    while (scanNext()) {
    }
}

// Takes the first piece nobody has taken and scans it; false when none is
// left. An error (only memory can run out) is kept for get() to rethrow.
bool PieceScan::scanNext() {
    const size_t i = next_++;
    if (i >= texts_.size()) return false;
    try {
        pieces_[i].scan(texts_[i], loops_);
    } catch (...) {
        errors_[i] = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_[i] = true;
    }
    finished_.notify_all();
    return true;
}

const ScannedPiece& PieceScan::get(size_t i) {
    while (!done_[i] && scanNext()) {
    }
    if (!done_[i]) {
        std::unique_lock<std::mutex> lock(mutex_);
        finished_.wait(lock, [&] { return done_[i].load(); });
    }
    if (errors_[i]) std::rethrow_exception(errors_[i]);
    return pieces_[i];
}

}  // namespace mon
