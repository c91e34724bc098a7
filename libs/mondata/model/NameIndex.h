#pragma once
// Positions in a list of names, found by name in constant time. The table is
// one block of memory however many names there are: a run of 100,000
// variables builds and frees it at a fraction of the cost of a node per name.

#include <QString>
#include <vector>

namespace mon {

class NameIndex {
  public:
    // Indexes names[i] at position i; where names repeat, the last position
    // is the one found. The names must stay where they are while the index
    // is used.
    void assign(std::vector<const QString*> names);
    // The position of the name, or -1 when it is not indexed.
    long find(const QString& name) const;

  private:
    size_t slotOf(const QString& name) const;

    std::vector<const QString*> names_;
    std::vector<long> slots_;  // position, or -1 for an empty slot
    size_t mask_ = 0;          // slots_.size() - 1, a power of two minus one
};

}  // namespace mon
