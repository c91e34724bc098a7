#include "export/OrderedBlocks.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace owl {

char* TextBlock::reserve(size_t bytes) {
    if (bytes > data_.size()) {
        decltype(data_)().swap(data_);  // nothing to keep: no copy into the larger block
        data_.resize(bytes);
    }
    size_ = 0;
    return data_.data();
}

namespace {

struct Slot {
    TextBlock text;
    std::exception_ptr error;
    bool ready = false;
};

// The shared state of one run. Block n uses slot n % slots.size() and may be
// produced once block n - slots.size() was consumed.
class Pipeline {
  public:
    Pipeline(size_t blockCount, unsigned workers, const OrderedBlocks::Produce& produce)
        : blockCount_(blockCount), slots_(2 * static_cast<size_t>(workers)), produce_(produce) {}

    // Returns how many threads started: fewer than asked still finish the run.
    size_t startWorkers(unsigned workers) {
        for (unsigned i = 0; i < workers; ++i) {
            try {
                threads_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                break;
            }
        }
        return threads_.size();
    }

    // Consumes the blocks in order until the end or until consume says stop.
    void consumeAll(const OrderedBlocks::Consume& consume) {
        for (size_t block = 0; block < blockCount_; ++block) {
            Slot& slot = waitReady(block);
            if (slot.error) std::rethrow_exception(slot.error);
            if (!consume(slot.text)) return;
            release(slot, block);
        }
    }

    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
        for (std::thread& thread : threads_) thread.join();
        threads_.clear();
    }

  private:
    void work() {
        for (;;) {
            size_t block;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                block = nextBlock_++;
                changed_.wait(lock, [&] { return stopped_ || block < consumed_ + slots_.size(); });
                if (stopped_ || block >= blockCount_) return;
            }
            Slot& slot = slots_[block % slots_.size()];
            try {
                produce_(block, slot.text);
            } catch (...) {
                slot.error = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                slot.ready = true;
            }
            changed_.notify_all();
        }
    }

    Slot& waitReady(size_t block) {
        Slot& slot = slots_[block % slots_.size()];
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return slot.ready; });
        return slot;
    }

    void release(Slot& slot, size_t block) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            slot.ready = false;
            consumed_ = block + 1;
        }
        changed_.notify_all();
    }

    const size_t blockCount_;
    std::vector<Slot> slots_;
    const OrderedBlocks::Produce& produce_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t nextBlock_ = 0;
    size_t consumed_ = 0;
    bool stopped_ = false;
};

void runInline(size_t blockCount, const OrderedBlocks::Produce& produce,
               const OrderedBlocks::Consume& consume) {
    TextBlock text;
    for (size_t block = 0; block < blockCount; ++block) {
        produce(block, text);
        if (!consume(text)) return;
    }
}

}  // namespace

void OrderedBlocks::run(size_t blockCount, unsigned workers, const Produce& produce,
                        const Consume& consume) {
    if (workers == 0 || blockCount < 2) return runInline(blockCount, produce, consume);
    Pipeline pipeline(blockCount, workers, produce);
    if (pipeline.startWorkers(workers) == 0) return runInline(blockCount, produce, consume);
    try {
        pipeline.consumeAll(consume);
    } catch (...) {
        pipeline.stop();
        throw;
    }
    pipeline.stop();
}

}  // namespace owl
