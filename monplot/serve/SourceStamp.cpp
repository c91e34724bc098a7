#include "monplot/serve/SourceStamp.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace serve {

namespace {
void addFile(SourceStamp& stamp, const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        stamp.signature += path + " missing\n";
        return;
    }
    stamp.exists = true;
    stamp.newestTime = std::max<int64_t>(stamp.newestTime, status.st_mtim.tv_sec);
    stamp.signature +=
        path + " " + std::to_string(status.st_size) + " " + std::to_string(status.st_mtim.tv_sec) +
        "." + std::to_string(status.st_mtim.tv_nsec) + " " + std::to_string(status.st_ino) + "\n";
}
}  // namespace

SourceStamp stampOf(const std::string& path) {
    SourceStamp stamp;
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
        addFile(stamp, path);
        return stamp;
    }
    stamp.exists = true;
    std::vector<std::string> files;
    for (std::filesystem::recursive_directory_iterator it(path, error), end; !error && it != end;
         it.increment(error))
        if (it->is_regular_file(error)) files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) addFile(stamp, file);
    return stamp;
}

}  // namespace serve
