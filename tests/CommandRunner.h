#pragma once
// Runs the real monexport binary (or another command) for end-to-end tests
// and captures its standard output, standard error and exit status.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "libs/exception/Error.h"

namespace e2e {

struct Result {
    int status = -1;  // exit status as a shell sees it (0..255)
    std::string out;
    std::string err;
};

// Runs program with the arguments; env entries are set (an empty value
// unsets the variable). Standard input is empty.
Result run(const std::string& program, const std::vector<std::string>& args,
           const std::map<std::string, std::string>& env = {});

// Runs the monexport binary under test.
Result monexport(const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env = {});

// The other commands under test.
Result monpack(const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env = {});
Result monplot(const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env = {});

// Standard output of a monexport run that must succeed silently (status 0,
// nothing on standard error; a failure is reported to the test).
std::string monexportOutput(const std::vector<std::string>& args,
                            const std::map<std::string, std::string>& env = {});

// Whether a command failed as a user error does: status 255, nothing on
// standard output, the two-line report of message on standard error ("Packer"
// for monpack's). Use as EXPECT_TRUE(e2e::failsWith(result, message)).
::testing::AssertionResult failsWith(const Result& result, const std::string& message,
                                     const std::string& reporter = "Exporter");

// Paths of the built commands and of the source tree's folders.
std::string binary(const std::string& name);
std::string sourcePath(const std::string& relative);
// A bundled example run (examples/NAME) and a test input (tests/data/NAME).
std::string example(const std::string& name);
std::string testData(const std::string& name);

// A fresh empty directory, removed with its contents at destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes a file (creating the folders it names) and returns its path.
    std::string write(const std::string& name, const std::string& content) const;
    // Creates a folder (and those above it) and returns its path.
    std::string folder(const std::string& name) const;

  private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
// The names of the entries of a folder, sorted.
std::vector<std::string> filesIn(const std::string& folder);
size_t lineCount(const std::string& text);
// The fields of a CSV line, quotes removed (a quoted field may hold commas).
std::vector<std::string> csvFields(const std::string& line);

// The two-line error report.
std::string errorReport(const std::string& message);

// The message of the owl::Error that calling action throws, "" when none.
template <typename Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const owl::Error& error) {
        return error.getErrorText();
    }
    return "";
}

}  // namespace e2e
