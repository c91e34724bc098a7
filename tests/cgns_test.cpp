// CGNS files through -res: the convergence histories of both storage
// flavours (ADF and HDF5), written by tests/tools/make_cgns, in every mode,
// their errors, and monpack's results file of them.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <tuple>

#include "tests/CommandRunner.h"

namespace {

// The test files of one flavour, written once for all tests.
class CgnsFiles : public ::testing::TestWithParam<const char*> {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<e2e::TempDir>();
        for (const char* flavour : {"adf", "hdf5"}) {
            const std::string folder = dir_->file(flavour);
            std::filesystem::create_directory(folder);
            e2e::Result r = e2e::run(e2e::binary("make_cgns"), {flavour, folder});
            ASSERT_EQ(r.status, 0) << r.err;
        }
    }
    static void TearDownTestSuite() { dir_.reset(); }
    // A failed suite set-up only skips the tests: fail them instead.
    void SetUp() override { ASSERT_TRUE(e2e::fileExists(file("wing"))); }

    std::string file(const std::string& name) const {
        return dir_->file(std::string(GetParam()) + "/" + name + ".cgns");
    }
    e2e::Result res(const std::string& name, std::vector<std::string> args = {}) const {
        args.insert(args.begin(), {"-res", file(name)});
        return e2e::monexport(args, {{"ORB_DATA_DIR", e2e::sourcePath("data")}});
    }
    static void expectOutput(const e2e::Result& r, const std::string& out) {
        EXPECT_EQ(std::tie(r.status, r.err, r.out), std::make_tuple(0, std::string(), out));
    }
    static std::string header(const e2e::Result& r) {
        EXPECT_EQ(r.err, "");
        return r.out.substr(0, r.out.find('\n'));
    }

    static std::unique_ptr<e2e::TempDir> dir_;
};
std::unique_ptr<e2e::TempDir> CgnsFiles::dir_;

const char* const kWingHeader =
    "\"ACCUMULATED TIMESTEP\",\"RSDMassRMS\",\"RSDEnergyMax\",\"CoefLift\",\"CoefMomentY\","
    "\"totalR\",\"Block1/RSD_L2\",\"Block1/RSD_oo\",\"Block2/CHGDensity\"\n";

// Global history: steps 1-4 of double, float and integer arrays. Block1:
// pre-sized arrays of which 3 values count, at iterations 2, 4, 6. Block2:
// a 64-bit integer array at steps 1-2.
TEST_P(CgnsFiles, GlobalAndZoneHistoriesShareTheStepsOfAllOfThem) {
    const std::string before = e2e::readFile(file("wing"));
    expectOutput(res("wing"), std::string(kWingHeader) +
                                  "1,1.00000000e+00,2.00000000e+00,1.00000001e-01,-9.99999978e-03,"
                                  "4.00000000e+02,,,7.00000000e+00\n"
                                  "2,5.00000000e-01,1.50000000e+00,2.00000003e-01,-1.99999996e-02,"
                                  "3.00000000e+02,5.00000000e-01,7.50000000e-01,8.00000000e+00\n"
                                  "3,2.50000000e-01,1.25000000e+00,3.00000012e-01,-2.99999993e-02,"
                                  "2.00000000e+02,,,\n"
                                  "4,1.25000000e-01,1.00000000e+00,4.00000006e-01,-3.99999991e-02,"
                                  "1.00000000e+02,5.00000007e-02,5.00000000e-01,\n"
                                  "6,,,,,,4.99999989e-03,2.50000000e-01,\n");
    expectOutput(res("wing", {"-lastvaluesonly"}),
                 std::string(kWingHeader) +
                     "6,1.25000000e-01,1.00000000e+00,4.00000006e-01,-3.99999991e-02,"
                     "1.00000000e+02,4.99999989e-03,2.50000000e-01,8.00000000e+00\n");
    expectOutput(res("wing", {"-showvars"}),
                 "ACCUMULATED TIMESTEP\nRSDMassRMS\nRSDEnergyMax\nCoefLift\nCoefMomentY\ntotalR\n"
                 "Block1/RSD_L2\nBlock1/RSD_oo\nBlock2/CHGDensity\n");
    EXPECT_EQ(e2e::readFile(file("wing")), before);  // reading changes nothing
}

TEST_P(CgnsFiles, SeveralBasesPutTheBaseBeforeEveryName) {
    expectOutput(res("two-bases", {"-firsttimestep", "2"}),
                 "\"ACCUMULATED TIMESTEP\",\"Wing/CoefDrag\",\"Wing/Block1/RSDMomentumXRMS\","
                 "\"Tail/CoefDrag\",\"Tail/Block1/RSDMomentumXRMS\"\n"
                 "2,1.99999996e-02,5.00000000e-01,1.99999996e-02,5.00000000e-01\n");
    EXPECT_EQ(header(res("two-bases", {"-varrule", "GROUP = Tail/Block1"})),
              "\"ACCUMULATED TIMESTEP\",\"Tail/Block1/RSDMomentumXRMS\"");
}

TEST_P(CgnsFiles, StandardNamesAndDescriptorsGiveAttributesForRules) {
    expectOutput(res("wing", {"-varrule", "CATEGORY = RESIDUAL and SUBCATEGORY = MAX", "-noheader",
                              "-lasttimestep", "2"}),
                 "1,2.00000000e+00,\n2,1.50000000e+00,7.50000000e-01\n");
    EXPECT_EQ(
        header(res("wing", {"-varrule", "DESCRIPTION = \"L2 norms, summed over all blocks\""})),
        "\"ACCUMULATED TIMESTEP\",\"RSDMassRMS\",\"RSDEnergyMax\",\"CoefLift\",\"CoefMomentY\","
        "\"totalR\"");
    EXPECT_EQ(header(res("wing", {"-varrule", "DESCRIPTION = \"largest residual of the block\""})),
              "\"ACCUMULATED TIMESTEP\",\"Block1/RSD_oo\"");
    EXPECT_NE(res("wing", {"-varinfo"}).out.find("TreePath=\"RESIDUAL;MAX;Block1/RSD_oo\""),
              std::string::npos);
}

// The template plots residuals by equation, forces, moments, and one plot
// per zone and for the arrays of no known kind.
TEST_P(CgnsFiles, DefaultPlotsFollowTheCategoriesAndZones) {
    e2e::Result r = res("wing", {"-plotinfo"});
    EXPECT_EQ(r.status, 0);
    std::string plots;
    for (size_t at = r.out.find("<Plot Name=\""); at != std::string::npos;
         at = r.out.find("<Plot Name=\"", at + 1)) {
        const size_t start = at + 12;
        plots += r.out.substr(start, r.out.find('"', start) - start) + ";";
    }
    EXPECT_EQ(plots,
              "Momentum and Mass;Heat Transfer MAX;Forces;Moments;Block1;Block2;"
              "Convergence History;");
}

TEST_P(CgnsFiles, DamagedOrMissingHistoriesAreReportedWithTheNodePath) {
    const std::string history = "node '/Wing/GlobalConvergenceHistory";
    const std::pair<const char*, std::string> cases[] = {
        {"solution-only",
         "it holds no convergence history (no ConvergenceHistory_t node under a "
         "base or a zone)."},
        {"short-array",
         history + "/CoefDrag' holds 3 values, fewer than the 5 iterations of its history."},
        {"wrong-type", history + "' is of type 'UserDefinedData_t', not ConvergenceHistory_t."},
        {"text-array", history + "/CoefLift' holds C1 data where numbers are needed."},
        {"no-count",
         history + "' does not hold its number of iterations as an integer (data type MT)."},
        {"steps-backwards",
         history + "/IterationNumber' holds iteration 15 at record 3, not after iteration 20."},
        {"two-dimensional", history + "/CoefLift' is not a one-dimensional array."},
        {"huge-value",
         history + "/CoefLift' holds 1e+300 at record 2, outside the single-precision range."}};
    for (const auto& [name, what] : cases)
        EXPECT_TRUE(e2e::failsWith(res(name), "Cannot read '" + file(name) + "': " + what)) << name;
    // Values are read when a variable is first needed: an array that cannot
    // be read spoils only the outputs that need it.
    expectOutput(res("huge-value", {"-varlist", "CoefDrag"}),
                 "\"ACCUMULATED TIMESTEP\",\"CoefDrag\"\n1,5.00000000e-01\n2,2.50000000e-01\n");
    expectOutput(res("huge-value", {"-showvars"}), "ACCUMULATED TIMESTEP\nCoefLift\nCoefDrag\n");
}

TEST_P(CgnsFiles, MonpackedHistoryGivesTheSameOutputInEveryMode) {
    const std::vector<std::vector<std::string>> modes = {
        {},
        {"-varinfo"},
        {"-plotinfo"},
        {"-varrule", "NAME = *Block1*", "-firsttimestep", "2"},
        {"-varrule", "CATEGORY = RESIDUAL", "-nocoeffloops"}};
    e2e::TempDir out;
    for (const char* name : {"wing", "two-bases"}) {
        const std::string packed = out.file(std::string(name) + ".res");
        e2e::Result pack = e2e::run(e2e::binary("monpack"), {"-res", file(name), "-out", packed});
        ASSERT_EQ(pack.status, 0) << pack.err;
        for (const std::vector<std::string>& mode : modes) {
            std::vector<std::string> args = mode;
            args.insert(args.end(), {"-res", packed});
            const e2e::Result fromPack =
                e2e::monexport(args, {{"ORB_DATA_DIR", e2e::sourcePath("data")}});
            const e2e::Result fromCgns = res(name, mode);
            SCOPED_TRACE(std::string(name) + " " + (mode.empty() ? "table" : mode[0]));
            EXPECT_EQ(fromCgns.status, 0);
            EXPECT_EQ(std::tie(fromPack.status, fromPack.out, fromPack.err),
                      std::tie(fromCgns.status, fromCgns.out, fromCgns.err));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Flavours, CgnsFiles, ::testing::Values("adf", "hdf5"));

// Damage below the tree's nodes, where the library itself finds it.
TEST(CgnsDamage, TruncatedOrOverwrittenAdfFilesAreReported) {
    e2e::TempDir dir;
    ASSERT_EQ(e2e::run(e2e::binary("make_cgns"), {"adf", dir.path()}).status, 0);
    const std::string whole = e2e::readFile(dir.file("wing.cgns"));
    e2e::writeFile(dir.file("head.cgns"), whole.substr(0, 100));
    EXPECT_TRUE(e2e::failsWith(e2e::monexport({"-res", dir.file("head.cgns")}),
                               "Cannot read '" + dir.file("head.cgns") +
                                   "': the CGNS file is damaged or truncated (ADF 16: "
                                   "Internal error: Memory boundary tag bad.)."));
    e2e::writeFile(dir.file("cut.cgns"), whole.substr(0, whole.size() / 2));
    e2e::Result cut = e2e::monexport({"-res", dir.file("cut.cgns")});
    EXPECT_EQ(cut.status, 255);
    EXPECT_EQ(cut.err.substr(0, cut.err.find(" is damaged:")),
              "Exporter error:\nCannot read '" + dir.file("cut.cgns") + "': node '/Wing'");
}

}  // namespace
