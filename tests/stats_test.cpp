// -stats, -converged and -reference end to end, on an OpenFOAM case and an
// SU2 history written here in the solvers' layouts.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "stats/StatsSignals.h"
#include "tests/CommandRunner.h"

namespace {

using e2e::monexport;

constexpr int kSteps = 3000;

std::string fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// An OpenFOAM case: force coefficients with a start-up transient on
// correlated noise (Cd, Cl) and a slow drift (CmPitch); residuals that fall
// 4 orders in 1000 steps and stay.
void writeFoamCase(const e2e::TempDir& dir) {
    stats::signals::Ar1 cd(0.8, 11), cl(0.5, 12), noise(0.5, 13);
    std::ostringstream forces, residuals;
    forces << "# Force coefficients\n# dragDir     : (1 0 0)\n"
           << "# Time                Cd                  Cl                  CmPitch\n";
    residuals << "# Residuals\n# Time          \tp               \tUx\n";
    for (int step = 1; step <= kSteps; ++step) {
        const double startUp = std::exp(-step / 150.0);
        forces << step << '\t' << fixed(1.2 + 0.005 * cd(0) + 0.5 * startUp) << '\t'
               << fixed(0.3 + 0.001 * cl(0) - 0.2 * startUp) << '\t'
               << fixed(0.05 + 1e-5 * step + 1e-4 * noise(0)) << '\n';
        const double level = std::pow(10.0, -4.0 * std::min(step - 1, 1000) / 1000.0);
        residuals << step << '\t' << fixed(level) << '\t' << fixed(0.5 * level) << '\n';
    }
    dir.write("postProcessing/forceCoeffs/0/forceCoeffs.dat", forces.str());
    dir.write("postProcessing/residuals/0/residuals.dat", residuals.str());
}

// An SU2 history: log10 residuals falling 5 orders in 400 iterations, then
// flat; a drag coefficient settling on correlated noise.
std::string writeSu2History(const e2e::TempDir& dir) {
    stats::signals::Ar1 cd(0.9, 21);
    std::ostringstream text;
    text << "\"Time_Iter\",\"Outer_Iter\",\"Inner_Iter\",\"rms[Rho]\",\"CD\"\n";
    for (int iter = 0; iter < 2000; ++iter)
        text << "0,0," << iter << ',' << fixed(-5.0 * std::min(iter, 400) / 400.0) << ','
             << fixed(0.025 + 2e-4 * cd(0) + 0.01 * std::exp(-iter / 50.0)) << '\n';
    return dir.write("history.csv", text.str());
}

// The table's rows by variable: the fields of each line after the header.
std::map<std::string, std::vector<std::string>> rows(const std::string& table) {
    std::map<std::string, std::vector<std::string>> byName;
    std::istringstream lines(table);
    std::string line, field;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;  // the comma added keeps a last empty field
        for (std::istringstream in(line + ','); std::getline(in, field, ',');)
            fields.push_back(field);
        byName[fields[0]] = fields;
    }
    return byName;
}

const std::string kHeader =
    "\"VARIABLE\",\"COUNT\",\"FIRST STEP\",\"LAST STEP\",\"MEAN\",\"STD\",\"MIN\",\"MAX\","
    "\"STDERR\",\"NEFF\",\"DRIFT\",\"ORDERS\",\"CAUCHY\",\"NOTE\"";

class StatsCommand : public testing::Test {
  protected:
    void SetUp() override { writeFoamCase(dir); }
    e2e::TempDir dir;
};

TEST_F(StatsCommand, ForceCoefficientsWithIntervalsAndTheStartUpCut) {
    const std::string table =
        e2e::monexportOutput({"-dir", dir.path(), "-stats", "-varrule", "CATEGORY = FORCE"});
    EXPECT_EQ(table.substr(0, table.find('\n')), kHeader);
    auto byName = rows(table);
    ASSERT_EQ(byName.size(), 3u) << table;
    const auto& cd = byName.at("\"forceCoeffs Cd\"");
    ASSERT_EQ(cd.size(), 14u);
    EXPECT_GT(std::stoi(cd[2]), 150);  // the start-up is cut
    EXPECT_LT(std::stoi(cd[2]), 1500);
    EXPECT_EQ(cd[3], std::to_string(kSteps));
    EXPECT_EQ(std::stoi(cd[1]), kSteps - std::stoi(cd[2]) + 1);
    EXPECT_NEAR(std::stod(cd[4]), 1.2, 1.96 * std::stod(cd[8]));
    EXPECT_GT(std::stod(cd[9]), 10);  // NEFF
    EXPECT_EQ(cd[11], "");            // no ORDERS for a force
    EXPECT_EQ(cd[13], "");
    const auto& pitch = byName.at("\"forceCoeffs CmPitch\"");
    EXPECT_NE(pitch[13].find("drifting"), std::string::npos);
    EXPECT_NEAR(std::stod(pitch[10]), 1e-5 * (kSteps - std::stoi(pitch[2])), 2e-4);

    // -window N: the last N steps; residuals have ORDERS.
    const auto fixedWindow =
        rows(e2e::monexportOutput({"-dir", dir.path(), "-stats", "-window", "500", "-varlist",
                                   "forceCoeffs Cd;residuals p"}));
    EXPECT_EQ(fixedWindow.at("\"forceCoeffs Cd\"")[1], "500");
    EXPECT_EQ(fixedWindow.at("\"forceCoeffs Cd\"")[2], std::to_string(kSteps - 499));
    EXPECT_NEAR(std::stod(fixedWindow.at("\"residuals p\"")[11]), 4, 1e-5);
}

TEST_F(StatsCommand, ConvergedSetsTheExitStatus) {
    struct Case {
        std::vector<std::string> extra;
        int status;
        std::string expect;  // in the output (status 0 or 1) or standard error (255)
    };
    const std::string good = "CATEGORY = FORCE and NAME != *CmPitch : stderr 1% and stable 500 2%";
    for (const Case& c : {
             Case{{"-converged", good}, 0, "\"VERDICT\",\"REASON\"\n"},
             Case{{"-converged", good + "; CATEGORY = RESIDUAL : drop 3.9 and below 1e-4"},
                  0,
                  ",yes,\n"},
             Case{{"-converged", "CATEGORY = RESIDUAL : drop 4.5"},
                  1,
                  ",no,\"dropped 4 orders (fewer than 4.5)\"\n"},
             Case{{"-converged", good, "-varlist", "forceCoeffs Cd;Cx"},
                  1,
                  "\"Cx\",0" + std::string(13, ',') + "no,\"missing\"\n"},
             Case{{"-converged", "NAME = Cd : below"},
                  255,
                  "Invalid convergence criteria \"NAME = Cd : below\": expected a number after "
                  "'below' at column 18."},
             Case{{"-converged", "NAME = Cx : below 1"},
                  255,
                  "rule \"NAME = Cx \" matches no variable"},
             Case{{"-window", "0"}, 255, "Invalid value '0' for option -window"},
             Case{{"-tolerance", "atol=x"}, 255, "Invalid tolerance"},
         }) {
        std::vector<std::string> args = {"-dir", dir.path(), "-stats"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const e2e::Result r = monexport(args);
        EXPECT_EQ(r.status, c.status) << c.extra[1] << "\n" << r.out << r.err;
        EXPECT_NE((c.status == 255 ? r.err : r.out).find(c.expect), std::string::npos) << r.err;
        EXPECT_TRUE(c.status != 255 || r.out.empty()) << r.out;
    }
    // A verdict needs the statistics table.
    EXPECT_EQ(monexport({"-dir", dir.path(), "-converged", good}).status, 255);
}

// A -stats table as reference matches itself; a value off by a few
// STDERR passes only with the STDERR term.
TEST_F(StatsCommand, ReferenceWithAndWithoutTheSamplingError) {
    const std::string reference = dir.file("reference.csv");
    e2e::monexportOutput(
        {"-dir", dir.path(), "-stats", "-varlist", "forceCoeffs Cd", "-out", reference});
    const e2e::Result same = monexport({"-dir", dir.path(), "-stats", "-reference", reference});
    EXPECT_EQ(same.status, 0) << same.out << same.err;
    EXPECT_NE(same.out.find("\"REFERENCE\",\"DIFFERENCE\",\"VERDICT\",\"REASON\"\n"),
              std::string::npos);
    EXPECT_NE(same.out.find(",yes,\n"), std::string::npos) << same.out;

    const auto cd = rows(e2e::readFile(reference)).at("\"forceCoeffs Cd\"");
    const double shifted = std::stod(cd[4]) + 2 * std::stod(cd[8]);
    const std::string values =
        dir.write("values.csv", "VARIABLE,VALUE\nforceCoeffs Cd," + fixed(shifted) + "\n");
    for (const auto& [tolerance, status] :
         std::vector<std::pair<std::string, int>>{{"k=3", 0}, {"k=0", 1}, {"k=0 atol=1", 0}}) {
        const e2e::Result r = monexport(
            {"-dir", dir.path(), "-stats", "-reference", values, "-tolerance", tolerance});
        EXPECT_EQ(r.status, status) << tolerance << "\n" << r.out << r.err;
    }
    EXPECT_EQ(monexport({"-dir", dir.path(), "-stats", "-reference", dir.file("none.csv")}).status,
              255);
}

TEST(StatsSu2, LogResidualsDropInLogSpace) {
    e2e::TempDir dir;
    const std::string history = writeSu2History(dir);
    auto byName = rows(e2e::monexportOutput({"-mon", history, "-stats", "-cauchy", "50"}));
    ASSERT_TRUE(byName.count("\"rms[Rho]\"")) << byName.size();
    const auto& rho = byName.at("\"rms[Rho]\"");
    EXPECT_EQ(rho[11], "5.00000000e+00");
    EXPECT_EQ(rho[12], "0.00000000e+00");  // flat: no change
    const auto& cd = byName.at("\"CD\"");
    EXPECT_GT(std::stoi(cd[2]), 50);
    EXPECT_NEAR(std::stod(cd[4]), 0.025, 1.96 * std::stod(cd[8]));
    EXPECT_EQ(cd[11], "");
}

}  // namespace
