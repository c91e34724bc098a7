#include "tests/CommandRunner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace e2e {

namespace {
std::vector<std::string> environmentWith(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        std::string text = *entry;
        std::string name = text.substr(0, text.find('='));
        if (!changes.count(name)) env.push_back(text);
    }
    for (const auto& [name, value] : changes)
        if (!value.empty()) env.push_back(name + "=" + value);
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (auto& text : texts) list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}
}  // namespace

Result run(const std::string& program, const std::vector<std::string>& args,
           const std::map<std::string, std::string>& env) {
    TempDir capture;
    const std::string outPath = capture.file("stdout"), errPath = capture.file("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0644);

    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> envp = environmentWith(env);
    auto argPointers = pointers(argv), envPointers = pointers(envp);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argPointers.data(),
                         envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + program);
    int status = 0;
    waitpid(pid, &status, 0);
    Result result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

Result monexport(const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env) {
    return run(binary("monexport"), args, env);
}

Result monpack(const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env) {
    return run(binary("monpack"), args, env);
}

Result monplot(const std::vector<std::string>& args,
               const std::map<std::string, std::string>& env) {
    return run(binary("monplot"), args, env);
}

std::string binary(const std::string& name) {
    return std::string(MONEXPORT_BIN_DIR) + "/" + name;
}
std::string sourcePath(const std::string& relative) {
    return std::string(MONEXPORT_SOURCE_DIR) + "/" + relative;
}
std::string example(const std::string& name) {
    return sourcePath("examples/" + name);
}
std::string testData(const std::string& name) {
    return sourcePath("tests/data/" + name);
}

TempDir::TempDir() {
    std::string pattern =
        std::filesystem::temp_directory_path().string() + "/monexport-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const {
    const std::string path = file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeFile(path, content);
    return path;
}

std::string TempDir::folder(const std::string& name) const {
    std::filesystem::create_directories(file(name));
    return file(name);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::string errorReport(const std::string& message) {
    return "Exporter error:\n" + message + "\n";
}

::testing::AssertionResult failsWith(const Result& result, const std::string& message,
                                     const std::string& reporter) {
    if (result.status == 255 && result.out.empty() &&
        result.err == reporter + " error:\n" + message + "\n")
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "status " << result.status << ", stdout '" << result.out << "', stderr '"
           << result.err << "'; expected status 255 and the report '" << message << "'";
}

std::string monexportOutput(const std::vector<std::string>& args,
                            const std::map<std::string, std::string>& env) {
    Result result = monexport(args, env);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
    return result.out;
}

}  // namespace e2e
