#pragma once
// What a folder's entry is, from the type its listing gives: the file system
// is asked only when the listing does not say (some file systems never do)
// or the entry is a symbolic link, which is followed. A folder of hundreds
// of files is then listed without a call per file.

#include <dirent.h>

#include <string>
#include <vector>

namespace owl {

enum class EntryKind { Missing, Folder, Other };

// path is the entry's path (its folder's path and its name).
EntryKind entryKind(const dirent& entry, const std::string& path);

struct FolderEntry {
    std::string name;
    std::string path;  // the folder's path and the name
    EntryKind kind;
};

// The entries of a folder but "." and "..", sorted by name. Returns false,
// with errno saying why, when the folder cannot be read.
bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries);

}  // namespace owl
