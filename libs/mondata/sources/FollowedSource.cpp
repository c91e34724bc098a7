#include "libs/mondata/sources/FollowedSource.h"

#include "libs/exception/MessageText.h"

namespace mon {

FollowedFile::Change pollFollowed(FollowedFile& file, RunDataBuilder& builder) {
    const FollowedFile::Change change = file.poll();
    if (change != FollowedFile::Change::Missing) return change;
    if (!file.opened()) return FollowedFile::Change::Appended;
    if (file.wentMissing())
        builder.addWarning("'" + owl::printable(file.path()) + "' cannot be seen (" +
                           file.missingReason() +
                           "): its records are kept, and it is followed again when it is back.");
    return FollowedFile::Change::None;
}

}  // namespace mon
