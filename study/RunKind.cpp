#include "study/RunKind.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "libs/mondata/sources/SourceFileCheck.h"

namespace study {

namespace {
const char kAdfSignature[] = "ADF Database";

// Whether the file starts like a CGNS file stored as ADF.
bool looksLikeAdf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char head[64] = {};
    file.read(head, sizeof head);
    const std::string start(head, static_cast<size_t>(std::max<std::streamsize>(file.gcount(), 0)));
    return start.find(kAdfSignature) != std::string::npos;
}
}  // namespace

MonDatabase::SourceType runKindOf(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return MonDatabase::RunDirectory;
    if (mon::looksLikeHdf5(path) || looksLikeAdf(path)) return MonDatabase::ResultsFile;
    return MonDatabase::MonitorFile;
}

}  // namespace study
