#pragma once
// A new file beside a target, to be renamed over the target once complete.
// It is removed when it is not committed: on a failure, when the object goes
// away, and when the program is stopped by SIGINT, SIGTERM or SIGHUP (the
// signal then takes its usual effect), so that no temporary file is left.

#include <string>

class TemporaryFile {
  public:
    // Creates the empty file `.NAME.tmp-XXXXXX` beside target; throws
    // owl::Error naming the target when it cannot.
    explicit TemporaryFile(const std::string& target);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    // Renames the file over the target; returns errno on failure (the file
    // is then removed), else 0.
    int commit();

  private:
    std::string target_;
    std::string path_;
};
