// The three data sources hold the same run in different forms: a monitor
// file, a run directory of restart segments, and the results file monpack
// makes of either. Every mode must give byte-identical standard output,
// standard error and exit status whichever form it reads.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/CommandRunner.h"

namespace {

using e2e::example;

struct Mode {
    const char* name;
    std::vector<std::string> args;
};

const std::vector<Mode>& modes() {
    static const std::vector<Mode> all = {
        {"variable list", {"-showvars"}},
        {"time history", {}},
        {"time history of selected variables", {"-varlist", "RMS P-Mass\nTIME\nOutlet Velocity"}},
        {"time history without loops, steps 3 to 9",
         {"-nocoeffloops", "-noheader", "-firsttimestep", "3", "-lasttimestep", "9"}},
        {"last values", {"-lastvaluesonly"}},
        {"variable information", {"-varinfo"}},
        {"plot information", {"-plotinfo"}},
    };
    return all;
}

e2e::Result run(const Mode& mode, const std::string& sourceOption, const std::string& source) {
    std::vector<std::string> args = mode.args;
    args.push_back(sourceOption);
    args.push_back(source);
    return e2e::monexport(args, {{"ORB_DATA_DIR", e2e::sourcePath("data")}});
}

void expectIdentical(const std::vector<std::pair<std::string, std::string>>& sources) {
    for (const Mode& mode : modes()) {
        const e2e::Result first = run(mode, sources[0].first, sources[0].second);
        for (size_t i = 1; i < sources.size(); ++i) {
            const e2e::Result other = run(mode, sources[i].first, sources[i].second);
            SCOPED_TRACE(std::string(mode.name) + ": " + sources[0].first + " versus " +
                         sources[i].first);
            EXPECT_EQ(other.status, first.status);
            EXPECT_EQ(other.out, first.out);
            EXPECT_EQ(other.err, first.err);
        }
    }
}

std::string pack(const std::string& option, const std::string& source, const std::string& out) {
    e2e::Result r = e2e::run(e2e::binary("monpack"), {option, source, "-out", out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    return out;
}

TEST(SourcesIdentity, TransientRunInEveryForm) {
    e2e::TempDir dir;
    const std::string packedDir = pack("-dir", example("transient.dir"), dir.file("dir.res"));
    const std::string packedMon = pack("-mon", example("transient.mon"), dir.file("mon.res"));
    const std::string repacked = pack("-res", example("transient.res"), dir.file("res.res"));
    expectIdentical({{"-mon", example("transient.mon")},
                     {"-dir", example("transient.dir")},
                     {"-res", example("transient.res")},
                     {"-res", packedDir},
                     {"-res", packedMon},
                     {"-res", repacked}});
    // Packing is deterministic: the same run gives the same bytes, whichever
    // form it is packed from (a results file's attributes are read only when
    // needed, and packing needs them).
    EXPECT_TRUE(e2e::readFile(packedDir) == e2e::readFile(example("transient.res")));
    EXPECT_TRUE(e2e::readFile(repacked) == e2e::readFile(example("transient.res")));
}

TEST(SourcesIdentity, SteadyRunAsFileFolderAndCompressedResults) {
    e2e::TempDir dir;
    ::mkdir(dir.file("run").c_str(), 0777);
    e2e::writeFile(dir.file("run/steady.mon"), e2e::readFile(example("steady.mon")));
    e2e::Result r = e2e::run(
        e2e::binary("monpack"),
        {"-mon", example("steady.mon"), "-out", dir.file("z.res"), "-deflate", "9", "-chunk", "7"});
    ASSERT_EQ(r.status, 0) << r.err;
    expectIdentical({{"-mon", example("steady.mon")},
                     {"-dir", dir.file("run")},
                     {"-res", pack("-mon", example("steady.mon"), dir.file("steady.res"))},
                     {"-res", dir.file("z.res")}});
}

TEST(SourcesIdentity, VariableListIsTheSameRun) {
    // Guards the comparison above against three sources failing alike.
    const std::vector<std::pair<std::string, std::string>> sources = {
        {"-mon", "transient.mon"}, {"-dir", "transient.dir"}, {"-res", "transient.res"}};
    for (const auto& [option, source] : sources) {
        e2e::Result r = e2e::monexport({"-showvars", option, example(source)});
        EXPECT_EQ(r.status, 0) << source << r.err;
        EXPECT_EQ(r.out.substr(0, 43), "ACCUMULATED TIMESTEP\nCOEFFICIENT LOOP\nRMS P") << source;
        EXPECT_NE(r.out.find("\nOutlet Velocity\n"), std::string::npos) << source;
    }
}

}  // namespace
