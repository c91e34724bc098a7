// Results files from other people: monexport reads only what the file holds
// itself, reports parts that were never written and keys it cannot hold, and
// refuses sources that are not regular files without waiting on them.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <tuple>

#include "tests/CommandRunner.h"
#include "tests/tools/craft_results.h"

namespace {

using craft::Flaw;

const char* const kTable =
    "\"ACCUMULATED TIMESTEP\",\"A\",\"B\"\n"
    "1,1.50000000e+00,1.00000000e+01\n"
    "2,2.50000000e+00,2.00000000e+01\n"
    "3,3.50000000e+00,3.00000000e+01\n";

class CraftedFiles : public ::testing::Test {
  protected:
    // A sound file, which the flawed ones point to.
    CraftedFiles() { craft::writeResults(other(), {}); }
    std::string other() const { return dir_.file("other.res"); }
    std::string craft(Flaw flaw, const std::string& target = "") {
        const std::string path = dir_.file("run.res");
        craft::writeResults(path, {}, flaw, target.empty() ? other() : target);
        return path;
    }
    void expectRefused(const std::string& path, const std::vector<std::string>& args,
                       const std::string& problem) {
        std::vector<std::string> all = {"-res", path};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_TRUE(
            e2e::failsWith(e2e::monexport(all), "Cannot read '" + path + "': " + problem + "."));
    }
    e2e::TempDir dir_;
};

TEST_F(CraftedFiles, SoundFilesInEveryStorageAreRead) {
    for (Flaw flaw : {Flaw::None, Flaw::CompactAndContiguous})
        EXPECT_EQ(e2e::monexportOutput({"-res", craft(flaw)}), kTable);
}

// Objects and data kept outside the file, and keys and texts the run
// cannot hold.
TEST_F(CraftedFiles, WhatTheRunCannotTakeIsRefused) {
    const std::string link = "; only objects stored in the results file itself are read",
                      data = "; only data stored in the results file itself are read",
                      secret = dir_.write("secret.txt", "HOSTNAME");
    const std::vector<std::string> names = {"-showvars"};
    const std::tuple<Flaw, std::vector<std::string>, std::string> cases[] = {
        {Flaw::ExternalLinkGroup, names, "'/monitor' is an external link" + link},
        {Flaw::ExternalLinkNames, names, "'/monitor/variable_names' is an external link" + link},
        {Flaw::SoftLinkValues, {}, "'/monitor/values/1' is a soft link" + link},
        {Flaw::ExternalStorageNames, names,
         "dataset '/monitor/variable_names' keeps its data in other files" + data},
        {Flaw::VirtualValues, std::vector<std::string>{"-varlist", "B"},
         "dataset '/monitor/values/1' is a virtual dataset, made of other datasets" + data},
        {Flaw::StepAbove32Bits, names,
         "record 2: time step 2147483648 is not a whole number from 0 to 2147483647"},
        {Flaw::NulInsideName, names,
         "dataset '/monitor/variable_names' holds a text with a NUL byte inside (element 1)"}};
    for (const auto& [flaw, args, problem] : cases)
        expectRefused(craft(flaw, flaw == Flaw::ExternalStorageNames ? secret : ""), args, problem);
}

TEST_F(CraftedFiles, PartsNeverWrittenAreDamageFoundWhenRead) {
    for (Flaw flaw : {Flaw::UnwrittenChunk, Flaw::UnwrittenContiguous}) {
        const std::string path = craft(flaw);
        // Variables not read do not matter: values are checked when read.
        EXPECT_EQ(e2e::monexportOutput({"-res", path, "-varlist", "A", "-noheader"}),
                  "1,1.50000000e+00\n2,2.50000000e+00\n3,3.50000000e+00\n");
        expectRefused(path, {"-lastvaluesonly"},
                      "dataset '/monitor/values/1' is damaged: part of it was never written");
    }
}

TEST(ResultsSources, SourcesThatAreNotRegularFilesAreRefusedAtOnce) {
    e2e::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/dev/zero", "a character device"}, {dir.file("fifo"), "a FIFO"}};
    // Under a time limit: a source a command would wait on fails the test
    // instead of hanging it.
    const auto briefly = [](const std::string& command, std::vector<std::string> args) {
        args.insert(args.begin(), {"20", e2e::binary(command)});
        return e2e::run("/usr/bin/timeout", args);
    };
    for (const auto& [path, kind] : cases) {
        const std::string message =
            "Cannot read '" + path + "': it is " + kind + ", not a regular file.";
        EXPECT_TRUE(e2e::failsWith(briefly("monexport", {"-res", path, "-showvars"}), message));
        EXPECT_TRUE(e2e::failsWith(briefly("monpack", {"-res", path, "-out", dir.file("x.res")}),
                                   message, "Packer"));
    }
}

}  // namespace
