// Results files from other people: monexport reads only what the file holds
// itself, reports parts that were never written and keys it cannot hold, and
// refuses sources that are not regular files without waiting on them.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/CommandRunner.h"
#include "tests/tools/craft_results.h"

namespace {

using craft::Flaw;

const char* const kTable =
    "\"ACCUMULATED TIMESTEP\",\"A\",\"B\"\n"
    "1,1.50000000e+00,1.00000000e+01\n"
    "2,2.50000000e+00,2.00000000e+01\n"
    "3,3.50000000e+00,3.00000000e+01\n";

// Runs monexport under a time limit, so that a source it would wait on
// forever fails the test instead of hanging it.
e2e::Result monexportBriefly(const std::vector<std::string>& args) {
    std::vector<std::string> limited = {"20", e2e::binary("monexport")};
    limited.insert(limited.end(), args.begin(), args.end());
    return e2e::run("/usr/bin/timeout", limited);
}

class CraftedFiles : public ::testing::Test {
  protected:
    // A sound file, which the flawed ones point to.
    CraftedFiles() { craft::writeResults(other(), Flaw::None); }
    std::string other() const { return dir_.file("other.res"); }
    std::string craft(Flaw flaw, const std::string& target = "") {
        const std::string path = dir_.file("run.res");
        craft::writeResults(path, flaw, target.empty() ? other() : target);
        return path;
    }
    void expectRefused(const std::string& path, const std::vector<std::string>& args,
                       const std::string& problem) {
        std::vector<std::string> all = {"-res", path};
        all.insert(all.end(), args.begin(), args.end());
        e2e::Result r = monexportBriefly(all);
        EXPECT_EQ(r.status, 255);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, e2e::errorReport("Cannot read '" + path + "': " + problem + "."));
    }
    e2e::TempDir dir_;
};

TEST_F(CraftedFiles, SoundFilesInEveryStorageAreRead) {
    for (Flaw flaw : {Flaw::None, Flaw::CompactAndContiguous}) {
        e2e::Result r = monexportBriefly({"-res", craft(flaw)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, kTable);
    }
}

TEST_F(CraftedFiles, ObjectsOutsideTheFileAreRefused) {
    const std::string only = "; only objects stored in the results file itself are read";
    expectRefused(craft(Flaw::ExternalLinkGroup), {"-showvars"},
                  "'/monitor' is an external link" + only);
    expectRefused(craft(Flaw::ExternalLinkNames), {"-showvars"},
                  "'/monitor/variable_names' is an external link" + only);
    expectRefused(craft(Flaw::SoftLinkValues), {}, "'/monitor/values/1' is a soft link" + only);
}

TEST_F(CraftedFiles, DataStoredOutsideTheFileAreRefused) {
    const std::string only = "; only data stored in the results file itself are read";
    const std::string secret = dir_.file("secret.txt");
    e2e::writeFile(secret, "HOSTNAME");
    expectRefused(craft(Flaw::ExternalStorageNames, secret), {"-showvars"},
                  "dataset '/monitor/variable_names' keeps its data in other files" + only);
    expectRefused(
        craft(Flaw::VirtualValues), {"-varlist", "B"},
        "dataset '/monitor/values/1' is a virtual dataset, made of other datasets" + only);
}

TEST_F(CraftedFiles, PartsNeverWrittenAreDamageFoundWhenRead) {
    for (Flaw flaw : {Flaw::UnwrittenChunk, Flaw::UnwrittenContiguous}) {
        const std::string path = craft(flaw);
        // Variables not read do not matter: values are checked when read.
        e2e::Result r = monexportBriefly({"-res", path, "-varlist", "A", "-noheader"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "1,1.50000000e+00\n2,2.50000000e+00\n3,3.50000000e+00\n");
        expectRefused(path, {"-lastvaluesonly"},
                      "dataset '/monitor/values/1' is damaged: part of it was never written");
    }
}

TEST_F(CraftedFiles, KeysAndTextsTheRunCannotHoldAreRefused) {
    expectRefused(craft(Flaw::StepAbove32Bits), {"-showvars"},
                  "record 2: time step 2147483648 is not a whole number from 0 to 2147483647");
    expectRefused(craft(Flaw::NulInsideName), {"-showvars"},
                  "dataset '/monitor/variable_names' holds a text with a NUL byte inside "
                  "(element 1)");
}

TEST(ResultsSources, SourcesThatAreNotRegularFilesAreRefusedAtOnce) {
    e2e::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/dev/zero", "a character device"}, {dir.file("fifo"), "a FIFO"}};
    for (const auto& [path, kind] : cases) {
        e2e::Result r = monexportBriefly({"-res", path, "-showvars"});
        EXPECT_EQ(r.status, 255);
        EXPECT_EQ(r.err, e2e::errorReport("Cannot read '" + path + "': it is " + kind +
                                          ", not a regular file."));
        r = e2e::run("/usr/bin/timeout",
                     {"20", e2e::binary("monpack"), "-res", path, "-out", dir.file("x.res")});
        EXPECT_EQ(r.err, "Packer error:\nCannot read '" + path + "': it is " + kind +
                             ", not a regular file.\n");
    }
}

}  // namespace
