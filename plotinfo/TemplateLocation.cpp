#include "monplot/TemplateLocation.h"

#include <filesystem>

#include "libs/exception/Error.h"

namespace {
const char* const kTemplateName = "workspace-basic.mst";

bool holdsTemplate(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / kTemplateName, error);
}
}  // namespace

std::string findTemplateDirectory(const std::string& orbDataDir, const std::string& executable) {
    if (!orbDataDir.empty()) return orbDataDir;
    const std::filesystem::path installed =
        std::filesystem::path(executable).parent_path() / ".." / "share" / "monexport";
    if (holdsTemplate(installed)) return installed.lexically_normal().string();
    if (holdsTemplate(MONPLOT_SOURCE_DATA_DIR)) return MONPLOT_SOURCE_DATA_DIR;
    throw owl::internal::error("monplot", "findTemplateDirectory",
                               "Initial workspace file not found.", owl::errorFatal);
}

std::string runningExecutable() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}
