#pragma once
// Results computed once per key and kept for the requests that follow, which
// the server answers on several threads at once: a thread asking for a result
// another thread is computing waits for it instead of computing it again (a
// page asks for all its plots at once, and each plot's figure is made from
// its runs' whole history). A computation that throws is forgotten, and its
// error is thrown to the threads that waited for it.
//
// Keys may name objects by address (a run's reading): each result keeps its
// holders, so that those addresses stay taken, and is dropped once nothing
// but the cache holds one of them (a reading replaced by a newer one).
// Beyond `capacity` results, the oldest go.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <future>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace serve {

template <class Result>
class SharedResults {
  public:
    using Holders = std::vector<std::shared_ptr<const void>>;

    explicit SharedResults(size_t capacity) : capacity_(capacity) {}

    // The result kept under key, else compute()'s, kept with the holders.
    template <class Compute>
    Result get(const std::string& key, const Holders& holders, Compute&& compute) {
        std::promise<Result> promise;
        std::shared_future<Result> result;
        uint64_t computing = 0;    // the entry this call computes, if any
        std::list<Entry> dropped;  // freed once the lock is released: figures are large
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (const auto found = byKey_.find(key); found != byKey_.end()) {
                result = found->second->result;
            } else {
                result = promise.get_future().share();
                dropUnheld(dropped);
                computing = ++lastId_;
                entries_.push_front({key, holders, result, computing});
                byKey_[key] = entries_.begin();
                if (entries_.size() > capacity_) drop(std::prev(entries_.end()), dropped);
            }
        }
        if (computing) {
            try {
                promise.set_value(compute());
            } catch (...) {
                promise.set_exception(std::current_exception());
                forget(key, computing);
            }
        }
        return result.get();
    }

  private:
    struct Entry {
        std::string key;
        Holders holders;
        std::shared_future<Result> result;
        uint64_t id;  // tells a result from a later one under the same key
    };
    using Position = typename std::list<Entry>::iterator;

    void drop(Position entry, std::list<Entry>& dropped) {
        byKey_.erase(entry->key);
        dropped.splice(dropped.end(), entries_, entry);
    }

    void forget(const std::string& key, uint64_t id) {
        std::list<Entry> dropped;
        std::lock_guard<std::mutex> lock(mutex_);
        if (const auto found = byKey_.find(key); found != byKey_.end() && found->second->id == id)
            drop(found->second, dropped);
    }

    // Drops the results of which a holder is held by nothing but the cache
    // any more (one of a page's runs was read again).
    void dropUnheld(std::list<Entry>& dropped) {
        std::unordered_map<const void*, long> kept;
        for (const Entry& entry : entries_)
            for (const auto& holder : entry.holders) ++kept[holder.get()];
        for (auto it = entries_.begin(); it != entries_.end();) {
            bool held = true;
            for (const auto& holder : it->holders)
                held = held && holder.use_count() > kept[holder.get()];
            const Position entry = it++;
            if (!held) drop(entry, dropped);
        }
    }

    size_t capacity_;
    std::mutex mutex_;
    std::list<Entry> entries_;  // newest first
    std::unordered_map<std::string, Position> byKey_;
    uint64_t lastId_ = 0;
};

}  // namespace serve
