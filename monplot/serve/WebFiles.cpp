#include "monplot/serve/WebFiles.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "libs/exception/Error.h"

namespace serve {

namespace {
struct Listed {
    const char* path;
    const char* file;  // below the web folder
    const char* contentType;
};

const Listed kListed[] = {
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/app.js", "app.js", "text/javascript; charset=utf-8"},
    {"/charts.js", "charts.js", "text/javascript; charset=utf-8"},
    {"/style.css", "style.css", "text/css; charset=utf-8"},
    {"/uPlot.iife.min.js", "uplot/uPlot.iife.min.js", "text/javascript; charset=utf-8"},
    {"/uPlot.min.css", "uplot/uPlot.min.css", "text/css; charset=utf-8"},
};

[[noreturn]] void fail(const std::string& message) {
    throw owl::internal::error("serve", "WebFiles", message, owl::errorFatal);
}
}  // namespace

WebFiles::WebFiles(const std::string& folder) {
    for (const Listed& listed : kListed) {
        const std::string name = folder + "/" + listed.file;
        std::ifstream in(name, std::ios::binary);
        std::ostringstream body;
        if (!(in && body << in.rdbuf()))
            fail("The dashboard's page file '" + name +
                 "' cannot be read: the installation is incomplete.");
        files_[listed.path] = {listed.contentType, body.str()};
    }
}

const WebFile* WebFiles::find(const std::string& path) const {
    const auto found = files_.find(path);
    return found == files_.end() ? nullptr : &found->second;
}

std::string findWebFolder(const std::string& executable) {
    const std::filesystem::path bin = std::filesystem::path(executable).parent_path();
    for (const std::filesystem::path& prefix : {bin, bin / ".."}) {
        const std::filesystem::path folder = prefix / "share" / "monexport" / "web";
        std::error_code error;
        if (std::filesystem::is_regular_file(folder / "index.html", error))
            return folder.lexically_normal().string();
    }
    fail("The dashboard's page (share/monexport/web/) is not installed beside '" + executable +
         "'.");
}

}  // namespace serve
