#pragma once
// What a folder's entry is, from the type its listing gives: the file system
// is asked only when the listing does not say (some file systems never do)
// or the entry is a symbolic link, which is followed. A folder of hundreds
// of files is then listed without a call per file.

#include <dirent.h>

#include <string>

namespace owl {

enum class EntryKind { Missing, Folder, Other };

// path is the entry's path (its folder's path and its name).
EntryKind entryKind(const dirent& entry, const std::string& path);

}  // namespace owl
