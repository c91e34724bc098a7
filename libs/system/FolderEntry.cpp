#include "libs/system/FolderEntry.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace owl {

EntryKind entryKind(const dirent& entry, const std::string& path) {
    if (entry.d_type == DT_DIR) return EntryKind::Folder;
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return EntryKind::Other;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return EntryKind::Missing;
    return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return false;
    const std::string prefix = folder.back() == '/' ? folder : folder + "/";
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        std::string path = prefix + entry->d_name;
        const EntryKind kind = entryKind(*entry, path);
        entries.push_back({entry->d_name, std::move(path), kind});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return true;
}

}  // namespace owl
