#pragma once
// Scans the pieces of a text on helper threads while the calling thread
// takes them in order: get(i) waits for piece i, scanning pieces itself while
// the helpers are behind. With no helpers every piece is scanned when it is
// asked for, on the calling thread.

#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "libs/mondata/text/RecordScan.h"

namespace mon {

class PieceScan {
  public:
    // pieces receives the results (one per text) and keeps its memory for
    // the next scan; the texts must outlive this object.
    PieceScan(const std::vector<std::string_view>& texts, std::vector<ScannedPiece>& pieces,
              bool loops, unsigned helpers);
    // Stops the helpers once they finish their current piece.
    ~PieceScan();
    PieceScan(const PieceScan&) = delete;
    PieceScan& operator=(const PieceScan&) = delete;

    // Piece i scanned; rethrows what scanning it threw.
    const ScannedPiece& get(size_t i);

  private:
    void help();
    bool scanNext();

    const std::vector<std::string_view>& texts_;
    std::vector<ScannedPiece>& pieces_;
    const bool loops_;
    std::atomic<size_t> next_{0};  // the first piece nobody has taken
    std::unique_ptr<std::atomic<bool>[]> done_;
    std::vector<std::exception_ptr> errors_;
    std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<std::thread> helpers_;
};

}  // namespace mon
