#include "libs/system/FolderEntry.h"

#include <sys/stat.h>

namespace owl {

EntryKind entryKind(const dirent& entry, const std::string& path) {
    if (entry.d_type == DT_DIR) return EntryKind::Folder;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return EntryKind::Other;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return EntryKind::Missing;
    return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

}  // namespace owl
