// The three data sources hold the same run in different forms: a monitor
// file, a run directory of restart segments, and the results file monpack
// makes of either. Every mode must give byte-identical standard output,
// standard error and exit status whichever form it reads.

#include <gtest/gtest.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::example;
using Source = std::pair<std::string, std::string>;  // option, path

const std::vector<std::vector<std::string>> kModes = {
    {"-showvars"},
    {},
    {"-varlist", "RMS P-Mass\nTIME\nOutlet Velocity"},
    {"-nocoeffloops", "-noheader", "-firsttimestep", "3", "-lasttimestep", "9"},
    {"-lastvaluesonly"},
    {"-varinfo"},
    {"-plotinfo"},
};

e2e::Result run(std::vector<std::string> args, const Source& source) {
    args.push_back(source.first);
    args.push_back(source.second);
    return e2e::monexport(args, {{"ORB_DATA_DIR", e2e::sourcePath("data")}});
}

// Also guards the comparison against every source failing alike: the first
// must list the run's variables.
void expectIdentical(const std::vector<Source>& sources) {
    const std::string list = run({"-showvars"}, sources[0]).out;
    EXPECT_EQ(list.substr(0, 21), "ACCUMULATED TIMESTEP\n");
    EXPECT_NE(list.find("\nRMS P-Mass\n"), std::string::npos);
    for (const std::vector<std::string>& mode : kModes) {
        const e2e::Result first = run(mode, sources[0]);
        for (size_t i = 1; i < sources.size(); ++i) {
            const e2e::Result other = run(mode, sources[i]);
            SCOPED_TRACE((mode.empty() ? "table" : mode[0]) + ": " + sources[i].second);
            EXPECT_EQ(other.status, first.status);
            EXPECT_EQ(other.out, first.out);
            EXPECT_EQ(other.err, first.err);
        }
    }
}

std::string pack(const std::vector<std::string>& args, const std::string& out) {
    std::vector<std::string> all = args;
    all.insert(all.end(), {"-out", out});
    e2e::Result r = e2e::run(e2e::binary("monpack"), all);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    return out;
}

TEST(SourcesIdentity, TransientRunInEveryForm) {
    e2e::TempDir dir;
    const std::string packedDir = pack({"-dir", example("transient.dir")}, dir.file("dir.res"));
    const std::string repacked = pack({"-res", example("transient.res")}, dir.file("res.res"));
    expectIdentical({{"-mon", example("transient.mon")},
                     {"-dir", example("transient.dir")},
                     {"-res", example("transient.res")},
                     {"-res", packedDir},
                     {"-res", pack({"-mon", example("transient.mon")}, dir.file("mon.res"))},
                     {"-res", repacked}});
    // Packing is deterministic: the same run gives the same bytes, whichever
    // form it is packed from (a results file's attributes are read only when
    // needed, and packing needs them).
    EXPECT_TRUE(e2e::readFile(packedDir) == e2e::readFile(example("transient.res")));
    EXPECT_TRUE(e2e::readFile(repacked) == e2e::readFile(example("transient.res")));
}

TEST(SourcesIdentity, SteadyRunAsFileFolderAndCompressedResults) {
    e2e::TempDir dir;
    const std::string steady = example("steady.mon");
    dir.write("run/steady.mon", e2e::readFile(steady));
    expectIdentical(
        {{"-mon", steady},
         {"-dir", dir.file("run")},
         {"-res", pack({"-mon", steady}, dir.file("steady.res"))},
         {"-res", pack({"-mon", steady, "-deflate", "9", "-chunk", "7"}, dir.file("z.res"))}});
}

}  // namespace
