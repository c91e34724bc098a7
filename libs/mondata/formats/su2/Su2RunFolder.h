#pragma once
// An SU2 run folder given with -dir: the history files an SU2 run writes
// into its working folder (docs/formats/su2.md).
//
// Every file directly in the folder named BASE[_ZONE][_RESTART], with any
// extension or none, whose content is an SU2 history belongs to the run:
// RESTART (five or more digits) is the time iteration an unsteady restart
// started from, ZONE (fewer digits) a multizone run's zone. Of files that
// differ only in their extension the one with the most rows is read. One
// zone's files form one history,
// read in run order: the file without RESTART first (the run from its
// start), then the restarts by ascending number. The zones' histories are
// merged on their record keys, each zone's variables named apart.

#include <string>
#include <vector>

#include "libs/mondata/model/RunDataBuilder.h"

namespace mon {

// Whether the folder holds an SU2 history file.
bool isSu2RunFolder(const std::string& folder);

// Reads the run's history files. Throws owl::data::error naming the folder or
// the file and line.
void readSu2RunFolder(const std::string& folder, RunDataBuilder& builder);

// A history file of a run folder and its slot.
struct Su2FolderFile {
    std::string path;
    std::string base;
    std::string zone;   // empty: not a zone's file
    long restart = -1;  // -1: the run from its start

    // Files of one slot differ only in their extension: one history twice.
    bool sameSlot(const Su2FolderFile& other) const {
        return zone == other.zone && restart == other.restart;
    }
    // Zone order, then run order.
    bool operator<(const Su2FolderFile& other) const;
};

// The folder's history files in zone order and run order; none when it
// cannot be listed. Throws owl::data::error when they are the histories of
// more than one run.
std::vector<Su2FolderFile> su2FolderFiles(const std::string& folder);

}  // namespace mon
