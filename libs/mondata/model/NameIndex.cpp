#include "libs/mondata/model/NameIndex.h"

#include <QHash>

namespace mon {

void NameIndex::assign(std::vector<const QString*> names) {
    names_ = std::move(names);
    size_t size = 8;
    while (size < 2 * names_.size()) size *= 2;  // at most half full: short probes
    slots_.assign(size, -1);
    mask_ = size - 1;
    for (size_t position = 0; position < names_.size(); ++position)
        slots_[slotOf(*names_[position])] = static_cast<long>(position);
}

long NameIndex::find(const QString& name) const {
    return slots_.empty() ? -1 : slots_[slotOf(name)];
}

// The slot holding the name, else the empty slot where it would go (open
// addressing, linear probing).
size_t NameIndex::slotOf(const QString& name) const {
    size_t slot = qHash(name) & mask_;
    while (slots_[slot] >= 0 && *names_[static_cast<size_t>(slots_[slot])] != name)
        slot = (slot + 1) & mask_;
    return slot;
}

}  // namespace mon
