#pragma once
// The page's files: a fixed list of names, read once from the installed web
// folder (share/monexport/web/) when the server starts and answered from
// memory, so that no request ever names a file.

#include <map>
#include <string>

namespace serve {

struct WebFile {
    std::string contentType;
    std::string body;
};

class WebFiles {
  public:
    // Reads every listed file of the folder; throws owl::Error naming the
    // first one missing.
    explicit WebFiles(const std::string& folder);
    // The file served at this path ("/", "/app.js"), or null.
    const WebFile* find(const std::string& path) const;

  private:
    std::map<std::string, WebFile> files_;
};

// share/monexport/web of the installation the executable belongs to (beside
// its bin/), or of the build tree it was built in. Throws owl::Error when
// neither holds the page.
std::string findWebFolder(const std::string& executable);

}  // namespace serve
