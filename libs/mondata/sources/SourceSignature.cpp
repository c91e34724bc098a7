#include "libs/mondata/sources/SourceSignature.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "libs/mondata/sources/SourceFileCheck.h"
#include "libs/system/FolderEntry.h"

namespace mon {

namespace {
std::string fileSignature(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return path + " missing\n";
    return path + " " + std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino) + " " +
           std::to_string(status.st_size) + " " + std::to_string(status.st_mtim.tv_sec) + "." +
           std::to_string(status.st_mtim.tv_nsec) + "\n";
}

std::vector<std::string> filesBelow(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file(error)) files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    return files;
}
}  // namespace

std::string formatSignature(const std::string& path) {
    const auto headSize = [](const std::string& file) {
        struct stat status {};
        if (::stat(file.c_str(), &status) != 0) return std::string(" missing");
        const bool folder = S_ISDIR(status.st_mode);
        return folder ? std::string(" folder")
                      : " " + std::to_string(std::min<uint64_t>(
                                  static_cast<uint64_t>(status.st_size), kFormatHeadSize));
    };
    std::string signature = headSize(path);
    std::vector<owl::FolderEntry> entries;
    if (signature == " folder" && owl::listFolder(path, entries))
        for (const owl::FolderEntry& entry : entries)
            signature += "\n" + entry.name + headSize(entry.path);
    return signature;
}

std::string sourceSignature(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) return fileSignature(path);
    std::string signature;
    for (const std::string& file : filesBelow(path)) signature += fileSignature(file);
    return signature;
}

}  // namespace mon
