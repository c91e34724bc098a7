// Hostile or unlucky monitor files: shrinking while read, loop numbers naming
// billions of lines, values beyond memory, FIFOs and devices.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "libs/system/SanitizedBuild.h"
#include "tests/CommandRunner.h"

namespace {

using e2e::lineCount;
using e2e::monexport;
using e2e::monpack;

const std::string kNotRegular = "': not a regular file (a device, FIFO or socket).";

std::string lastLine(const std::string& text) {
    return text.substr(text.rfind('\n', text.size() - 2) + 1);
}

// The largest resident size of any command this test ran, in MiB.
long childPeakMiB() {
    struct rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024;
}

TEST(MonitorHardening, AFileTruncatedWhileReadGivesItsDataOrAnErrorNeverASignal) {
    e2e::TempDir dir;
    const std::string file = dir.file("run.dir/seg.mon");
    std::string text = "monitor-file 1\nvar A\nvar B\n";
    for (int step = 1; text.size() < (64u << 20); ++step)
        text += std::to_string(step) + " 1.25e-03 -4.5e+02\n";
    for (const char* source : {"-mon", "-dir"}) {
        const std::string path = source == std::string("-mon") ? file : dir.file("run.dir");
        for (int delay : {0, 10, 40, 120, 300}) {
            dir.write("run.dir/seg.mon", text);
            std::thread writer([&] {  // truncates the file while it is read
                std::this_thread::sleep_for(std::chrono::milliseconds(delay));
                ::truncate(file.c_str(), 100);
            });
            const e2e::Result r = monexport({"-showvars", source, path});
            writer.join();
            if (r.status == 0)
                EXPECT_EQ(r.out, "ACCUMULATED TIMESTEP\nA\nB\n");
            else
                EXPECT_TRUE(e2e::failsWith(r, "Cannot read '" + file +
                                                  "': the file shrank while it was read "
                                                  "(truncated or replaced by its writer)."))
                    << source << " " << delay << "ms";
        }
    }
}

// Two files whose records name loop 100000. One of 300 KB has 21,500 steps:
// 2.15 billion (step, loop) pairs, more than a 32-bit count holds. One of
// 19 KB has 2,000 variables and 20 steps: the skipped loops are table lines,
// not memory (dense, the values alone would take 16 GB).
TEST(MonitorHardening, LoopsFarAheadAreCountedWithoutOverflowOrMemory) {
    e2e::TempDir dir;
    std::string text = "monitor-file 1 coefficient-loops\nvar A\n", wide = text;
    for (int step = 1; step <= 21500; ++step)
        text += std::to_string(step) + " 100000 " + std::to_string(step) + ".5\n";
    for (int variable = 2; variable <= 2000; ++variable)
        wide += "var V" + std::to_string(variable) + "\n";
    for (int step = 1; step <= 20; ++step)
        wide += std::to_string(step) + " 100000 " + std::to_string(step) + "\n";
    const std::string mon = dir.write("run.mon", text), res = dir.file("run.res");
    const std::string last = e2e::monexportOutput({"-lastvaluesonly", "-mon", mon});
    EXPECT_EQ(last,
              "\"ACCUMULATED TIMESTEP\",\"COEFFICIENT LOOP\",\"A\"\n21500,100000,2.15005000e+04\n");
    const std::string steps = e2e::monexportOutput({"-nocoeffloops", "-noheader", "-mon", mon});
    EXPECT_EQ(lineCount(steps), 21500u);
    const std::string loops = e2e::monexportOutput(
        {"-firsttimestep", "21499", "-lasttimestep", "21499", "-noheader", "-mon", mon});
    EXPECT_EQ(lineCount(loops), 100000u);
    EXPECT_EQ(loops.substr(0, 18) + lastLine(loops),
              "21499,1,\n21499,2,\n21499,100000,2.14995000e+04\n");
    ASSERT_EQ(monpack({"-mon", mon, "-out", res}).status, 0);
    EXPECT_EQ(monexport({"-nocoeffloops", "-noheader", "-res", res}).out, steps);
    EXPECT_EQ(monexport({"-lastvaluesonly", "-res", res}).out, last);

    const std::string wideMon = dir.write("wide.mon", wide), wideRes = dir.file("wide.res");
    const std::vector<std::string> options{"-nocoeffloops", "-noheader", "-varlist", "A;V2000"};
    const auto stepsOf = [&](const std::string& source, const std::string& path) {
        std::vector<std::string> args = options;
        args.insert(args.end(), {source, path});
        return e2e::monexportOutput(args);
    };
    EXPECT_EQ(lastLine(stepsOf("-mon", wideMon)), "20,2.00000000e+01,\n");
    ASSERT_EQ(monpack({"-mon", wideMon, "-out", wideRes}).status, 0);
    EXPECT_LT(e2e::readFile(wideRes).size(), 4u << 20);
    EXPECT_EQ(stepsOf("-res", wideRes), stepsOf("-mon", wideMon));
    EXPECT_LT(childPeakMiB(), 400);
}

TEST(MonitorHardening, ValuesBeyondTheMachinesMemoryAreRefusedAtOnce) {
    // Under the sanitizers columns come from operator new, which fills what
    // it hands out: a minute of writing gigabytes, for what the release
    // build checks here.
    if (owl::kSanitizedBuild) GTEST_SKIP() << "sanitizer build: columns come from operator new";
    // Records first, then enough variables for their values to outgrow the
    // machine: the declaration that crosses the limit is reported.
    const uint64_t records = 1000000;
    const uint64_t memory = static_cast<uint64_t>(sysconf(_SC_PHYS_PAGES)) *
                            static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    const uint64_t variables = memory / (records * 4) + 1;
    std::string text = "monitor-file 1\n";
    for (uint64_t step = 1; step <= records; ++step) text += std::to_string(step) + "\n";
    for (uint64_t variable = 1; variable <= variables; ++variable)
        text += "var V" + std::to_string(variable) + "\n";
    e2e::TempDir dir;
    const std::string big = dir.write("big.mon", text);
    const uint64_t mebibyte = 1 << 20;
    EXPECT_TRUE(e2e::failsWith(
        monexport({"-showvars", "-mon", big}),
        big + ":" + std::to_string(1 + records + variables) +
            ": the run needs more memory than there is: its " + std::to_string(variables) +
            " variables at " + std::to_string(records) + " records take " +
            std::to_string(variables * records * 4 / mebibyte) + " MiB of values, and " +
            std::to_string(memory / mebibyte) + " MiB are available"));
    EXPECT_LT(childPeakMiB(), 400);
}

// Under a limit on address space a few times their data (as batch systems
// set), the commands work as without: their reserves give way to the limit.
TEST(MonitorHardening, ASmallAddressSpaceLimitChangesNothing) {
    if (owl::kSanitizedBuild) GTEST_SKIP() << "sanitizers reserve terabytes of address space";
    e2e::TempDir dir;
    const std::string mon = e2e::example("transient.mon"), res = dir.file("run.res");
    const auto limited = [](const std::string& program, std::vector<std::string> args) {
        args.insert(args.begin(), {"-c", "ulimit -v 150000 && exec \"$0\" \"$@\"", program});
        return e2e::run("/bin/sh", args);
    };
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-lastvaluesonly", "-mon", mon},
          std::vector<std::string>{"-varinfo", "-res", e2e::example("transient.res")}})
        EXPECT_EQ(limited(e2e::binary("monexport"), args).out, e2e::monexportOutput(args));
    EXPECT_EQ(limited(e2e::binary("monpack"), {"-mon", mon, "-out", res}).status, 0);
    EXPECT_EQ(monexport({"-lastvaluesonly", "-res", res}).out,
              e2e::monexportOutput({"-lastvaluesonly", "-mon", mon}));
}

TEST(MonitorHardening, FifosAndDevicesAreRefusedWithoutWaiting) {
    e2e::TempDir dir;
    dir.write("run.dir/a.mon", "monitor-file 1\nvar A\n1 1\n");
    const std::string fifo = dir.file("run.dir/b.mon");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer: opening it would block
    for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/dev/null")})
        EXPECT_TRUE(e2e::failsWith(monexport({"-showvars", "-mon", path}),
                                   "Cannot read '" + path + kNotRegular));
    EXPECT_TRUE(e2e::failsWith(monexport({"-showvars", "-dir", dir.file("run.dir")}),
                               "Cannot read '" + fifo + kNotRegular));
    EXPECT_EQ(monpack({"-dir", dir.file("run.dir"), "-out", dir.file("run.res")}).status, 255);
    EXPECT_FALSE(e2e::fileExists(dir.file("run.res")));
}

}  // namespace
