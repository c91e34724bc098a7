#include "plotinfo/TemplateLocation.h"

#include <filesystem>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"

namespace {
const char* const kTemplateName = "workspace-basic.mst";

bool holdsTemplate(const std::filesystem::path& folder) {
    std::error_code error;
    return std::filesystem::is_regular_file(folder / kTemplateName, error);
}
}  // namespace

std::string findTemplateDirectory(const std::string& orbDataDir, const std::string& executable,
                                  const std::string& sourceDataDir) {
    if (!orbDataDir.empty()) return orbDataDir;
    const std::string installed =
        (std::filesystem::path(executable).parent_path() / ".." / "share" / "monexport")
            .lexically_normal()
            .string();
    for (const std::string& folder : {installed, sourceDataDir})
        if (holdsTemplate(folder)) return folder;
    throw owl::internal::error(
        "PlotTemplate", "findTemplateDirectory",
        std::string("Initial workspace file not found.\nORB_DATA_DIR is not set, and neither '") +
            owl::printable(installed) + "' nor '" + owl::printable(sourceDataDir) + "' holds " +
            kTemplateName + ": set ORB_DATA_DIR to the folder that holds it.",
        owl::errorFatal);
}

std::string findTemplateDirectory(const std::string& orbDataDir, const std::string& executable) {
    return findTemplateDirectory(orbDataDir, executable, MONEXPORT_SOURCE_DATA_DIR);
}

std::string runningExecutable() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}
