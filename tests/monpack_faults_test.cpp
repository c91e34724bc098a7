// monpack: its command line; and when the disk fails it, when it is stopped,
// and when the target or the run cannot be stored: the target is always the
// old file or the whole new one, no temporary file is left, and every failure
// is reported.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/CommandRunner.h"

extern char** environ;

namespace {

// The shim's settings for one run; the sanitizers' runtime then accepts not
// being the first library.
std::map<std::string, std::string> shim(int writeNumber, const std::string& mark, bool stall) {
    const char* asan = std::getenv("ASAN_OPTIONS");
    return {{"LD_PRELOAD", FAILWRITE_LIBRARY},
            {"FAILWRITE_AT", std::to_string(writeNumber)},
            {"FAILWRITE_MARK", mark},
            {"FAILWRITE_STALL", stall ? "1" : ""},
            {"ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0"}};
}

// A folder holding an old results file (the steady example) where a new one
// (the transient example) is packed, and the tables both give.
class PackFolder {
  public:
    PackFolder() {
        e2e::monpack({"-mon", e2e::example("steady.mon"), "-out", target()});
        oldBytes_ = e2e::readFile(target());
        newTable_ = e2e::monexport({"-mon", e2e::example("transient.mon")}).out;
    }
    std::string target() const { return dir_.file("run.res"); }
    std::string mark() const { return dir_.file("reached"); }
    std::vector<std::string> packArgs() const {
        return {"-mon", e2e::example("transient.mon"), "-out", target()};
    }
    std::string table() const { return e2e::monexport({"-res", target()}).out; }
    // Whether the target is the old file untouched, and nothing else is left.
    bool holdsTheOldFile() const {
        return e2e::readFile(target()) == oldBytes_ && e2e::filesIn(dir_.path()).size() == 1;
    }
    bool holdsTheNewFile() const {
        return table() == newTable_ && e2e::filesIn(dir_.path()).size() == 1;
    }
    void forgetMark() const { ::unlink(mark().c_str()); }
    bool hasTemporary() const {
        for (const std::string& name : e2e::filesIn(dir_.path()))
            if (name.rfind(".run.res.tmp-", 0) == 0) return true;
        return false;
    }

  private:
    e2e::TempDir dir_;
    std::string oldBytes_, newTable_;
};

TEST(MonpackFaults, EveryFailedWriteIsReportedAndLeavesTheOldFile) {
    PackFolder folder;
    int failedRuns = 0;
    for (int write = 1; write < 1000; ++write) {
        e2e::Result r = e2e::monpack(folder.packArgs(), shim(write, folder.mark(), false));
        if (!e2e::fileExists(folder.mark())) {  // the run has fewer writes: it succeeded
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_TRUE(folder.holdsTheNewFile());
            break;
        }
        ++failedRuns;
        folder.forgetMark();
        EXPECT_EQ(r.status, 255) << "write " << write << ": " << r.err;
        EXPECT_EQ(r.err.substr(0, 28), "Packer error:\nCannot write '") << r.err;
        EXPECT_NE(r.err.find("No space left on device."), std::string::npos) << r.err;
        EXPECT_TRUE(folder.holdsTheOldFile()) << "write " << write;
    }
    // The run writes each dataset and then the file's metadata: dozens of writes.
    EXPECT_GT(failedRuns, 20);
}

// Starts monpack so that it stops at its nth write, and waits until it is there.
pid_t startStalled(const PackFolder& folder, int write) {
    std::vector<std::string> texts = {e2e::binary("monpack")}, env;
    for (const std::string& arg : folder.packArgs()) texts.push_back(arg);
    // The shim's settings come first, so they win over inherited ones.
    for (const auto& [name, value] : shim(write, folder.mark(), true))
        env.push_back(name + "=" + value);
    for (char** entry = environ; *entry; ++entry) env.push_back(*entry);
    std::vector<char*> argv, envp;
    for (std::string& text : texts) argv.push_back(text.data());
    for (std::string& text : env) envp.push_back(text.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    // The stop signals act as by default, even if the tests run ignoring them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stops, signal);
    posix_spawnattr_setsigdefault(&attributes, &stops);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) return -1;
    for (int wait = 0; wait < 3000 && !e2e::fileExists(folder.mark()); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return pid;
}

// The process's status once it ends; killed after 30 s.
int waitBriefly(pid_t pid) {
    int status = 0;
    for (int wait = 0; wait < 3000; ++wait) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    ADD_FAILURE() << "the process did not end";
    return status;
}

TEST(MonpackFaults, StopSignalsRemoveTheTemporaryFile) {
    PackFolder folder;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        for (int write : {1, 9, 30}) {
            pid_t pid = startStalled(folder, write);
            ASSERT_GT(pid, 0);
            ASSERT_TRUE(e2e::fileExists(folder.mark()));
            EXPECT_TRUE(folder.hasTemporary());
            ::kill(pid, signal);
            int status = waitBriefly(pid);
            folder.forgetMark();
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            EXPECT_TRUE(folder.holdsTheOldFile()) << "signal " << signal << ", write " << write;
        }
}

TEST(MonpackFaults, TargetsThatAreNotRegularFilesAreRefused) {
    e2e::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    ::mkdir(dir.file("folder").c_str(), 0755);
    std::vector<std::pair<std::string, std::string>> targets = {{"fifo", "a FIFO"},
                                                                {"folder", "a directory"}};
    // A copy of the null device, where the system lets this process make one.
    if (::mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        targets.emplace_back("null", "a character device");
    for (const auto& [name, kind] : targets) {
        EXPECT_TRUE(e2e::failsWith(
            e2e::monpack({"-mon", e2e::example("steady.mon"), "-out", dir.file(name)}),
            "Refusing to write the results file '" + dir.file(name) + "': it is " + kind +
                ", not a regular file.",
            "Packer"));
        struct stat info {};
        EXPECT_TRUE(::stat(dir.file(name).c_str(), &info) == 0 && !S_ISREG(info.st_mode));
    }
    EXPECT_EQ(e2e::filesIn(dir.path()).size(), targets.size());
}

// A run it cannot read, or cannot store, fails before the target is touched.
TEST(MonpackFaults, RunsItCannotReadOrStoreLeaveTheTargetAsItWas) {
    e2e::TempDir dir;
    const std::string mon = dir.file("run.mon"), target = dir.file("run.res");
    const std::string cannot = "Cannot write '" + target + "': ",
                      nul = " holds a NUL byte, which a results file cannot store.";
    const std::pair<std::string, std::string> cases[] = {
        {"monitor-file 1\nvar A\n1 x\n", mon + ":3: value 'x' of variable 'A' is not a number"},
        {std::string("monitor-file 1\nvar \"A\" label=\"a") + '\0' + "b\"\n1 1\n",
         cannot + "attribute 'label' of variable 'A'" + nul},
        {std::string("monitor-file 1\nvar \"X") + '\0' + "y\"\nvar \"X" + '\0' + "z\"\n1 1 2\n",
         cannot + "the name of variable 'X\\x00y'" + nul}};
    for (const auto& [text, message] : cases) {
        dir.write("run.res", "previous results");
        EXPECT_TRUE(e2e::failsWith(
            e2e::monpack({"-mon", dir.write("run.mon", text), "-out", target}), message, "Packer"));
        EXPECT_EQ(e2e::readFile(target), "previous results");
        EXPECT_EQ(e2e::filesIn(dir.path()), (std::vector<std::string>{"run.mon", "run.res"}));
    }
    const e2e::Result r = e2e::monpack({"-mon", mon, "-out", dir.file("no/such/run.res")});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err.substr(0, 13), "Packer error:");
}

TEST(Monpack, CommandLineMistakesAreReported) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "No data source has been specified: give -mon, -dir or -res (see monpack -help)."},
        {{"-mon", "a.mon"}, "No output file has been specified: give -out (see monpack -help)."},
        {{"-mon", "a.mon", "-out"}, "Missing value for option -out."},
        {{"-mon", "a.mon", "-dir", "d"}, "Give only one data source (-mon and -dir)."},
        {{"-x", "1"}, "Unknown option '-x' (see monpack -help)."},
        {{"-deflate", "10"}, "Option -deflate needs a whole number from 0 to 9, not '10'."},
        {{"-chunk", "0x10"}, "Option -chunk needs a whole number from 1 to 16777216, not '0x10'."},
    };
    for (const auto& [args, message] : cases)
        EXPECT_TRUE(e2e::failsWith(e2e::monpack(args), message, "Packer"));
    e2e::Result help = e2e::monpack({"-help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 14), "Usage: monpack");
}

TEST(Monpack, ReplacesTheTargetWholeAndNeverItsSource) {
    e2e::TempDir dir;
    const std::string text = e2e::readFile(e2e::example("steady.mon"));
    const std::string mon = dir.write("run.mon", text), res = dir.write("run.res", "previous");
    ASSERT_EQ(e2e::monpack({"-mon", mon, "-out", res}).status, 0);
    EXPECT_EQ(e2e::readFile(res).substr(1, 3), "HDF");
    EXPECT_EQ(e2e::filesIn(dir.path()), (std::vector<std::string>{"run.mon", "run.res"}));
    EXPECT_TRUE(e2e::failsWith(
        e2e::monpack({"-res", res, "-out", res}),
        "Refusing to write the results file '" + res + "': it is the data source '" + res + "'.",
        "Packer"));
    EXPECT_EQ(e2e::monpack({"-mon", mon, "-out", mon}).status, 255);
    EXPECT_EQ(e2e::readFile(mon), text);
}

}  // namespace
