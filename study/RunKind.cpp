#include "study/RunKind.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

namespace study {

namespace {
const char kHdf5Signature[] = "\x89HDF\r\n\x1a\n";
const char kAdfSignature[] = "ADF Database";
}  // namespace

MonDatabase::SourceType runKindOf(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return MonDatabase::RunDirectory;
    std::ifstream file(path, std::ios::binary);
    char head[64] = {};
    file.read(head, sizeof head);
    const std::string start(head, static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    if (start.rfind(kHdf5Signature, 0) == 0) return MonDatabase::ResultsFile;
    if (start.find(kAdfSignature) != std::string::npos) return MonDatabase::ResultsFile;
    return MonDatabase::MonitorFile;
}

}  // namespace study
