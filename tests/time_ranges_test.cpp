// Physical time end to end: an OpenFOAM case whose adaptive time step
// resolves the peaks of a shedding lift coefficient finely, read with time
// ranges (-firsttime, -lasttime) by the table, -stats, -study and monplot;
// and the real shedding history where the shared collection is at hand.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/CommandRunner.h"

namespace {

using Fields = std::vector<std::string>;
constexpr double kPi = 3.14159265358979323846;

using e2e::csvFields;

// The table's rows by their first field; the header's under its own.
std::map<std::string, std::map<std::string, std::string>> table(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    const Fields header = csvFields(line);
    std::map<std::string, std::map<std::string, std::string>> rows;
    while (std::getline(in, line)) {
        const Fields fields = csvFields(line);
        for (size_t i = 0; i < header.size() && i < fields.size(); ++i)
            rows[fields[0]][header[i]] = fields[i];
    }
    return rows;
}

// Cl = 0.5 sin(π t) (period 2 s) over 60 s; the time step is 0.002 s on the
// peaks and troughs of Cl and 0.01 s between, as Courant control gives.
std::string adaptiveCase(const e2e::TempDir& dir) {
    std::ostringstream text;
    text << "# Force coefficients\n# Time\tCd\tCl\n";
    text.precision(10);
    for (double t = 0.001; t < 60;) {
        const double cl = 0.5 * std::sin(kPi * t);
        text << t << '\t' << 1.2 + 0.1 * cl * cl << '\t' << cl << '\n';
        t += 0.002 + 0.008 * (1 - std::fabs(cl) / 0.5);
    }
    dir.write("case/postProcessing/forceCoeffs/0/coefficient.dat", text.str());
    return dir.file("case");
}

TEST(TimeRanges, TablesStatisticsStudyAndPlotsOfAnAdaptiveRun) {
    e2e::TempDir dir;
    const std::string run = adaptiveCase(dir);

    // The table's rows from the first time at or after 10 s to the last at
    // or before 10.05 s.
    const auto rows = table(e2e::monexportOutput({"-dir", run, "-nocoeffloops", "-varlist", "TIME",
                                                  "-firsttime", "10", "-lasttime", "10.05"}));
    ASSERT_FALSE(rows.empty());
    for (const auto& [step, row] : rows) {
        EXPECT_GE(std::stod(row.at("TIME")), 10);
        EXPECT_LE(std::stod(row.at("TIME")), 10.05);
    }

    // -stats: time averages over whole periods. Cd = 1.2 + 0.1 Cl², whose
    // records crowd on its peaks, averages to its true 1.2125 all the same.
    const auto stats = table(e2e::monexportOutput({"-dir", run, "-stats"}));
    const auto& cl = stats.at("forceCoeffs Cl");
    EXPECT_EQ(cl.at("NOTE"), "periodic");
    EXPECT_NEAR(std::stod(cl.at("PERIOD")), 2, 0.01);
    EXPECT_NEAR(std::stod(cl.at("FREQUENCY")), 0.5, 0.0025);
    EXPECT_NEAR(std::stod(cl.at("AMPLITUDE")), 0.5, 0.005);
    EXPECT_NEAR(std::stod(cl.at("MEAN")), 0, 5e-4);
    const auto& cd = stats.at("forceCoeffs Cd");
    EXPECT_NEAR(std::stod(cd.at("PERIOD")), 1, 0.005);
    EXPECT_NEAR(std::stod(cd.at("MEAN")), 1.2 + 0.1 * 0.125, 1e-4);

    // -firsttime fixes the window's start: whole periods from 30 s on.
    const auto late = table(e2e::monexportOutput(
        {"-dir", run, "-stats", "-varlist", "forceCoeffs Cl;TIME", "-firsttime", "30"}));
    EXPECT_GE(std::stod(late.at("TIME").at("MIN")), 30);
    EXPECT_NEAR(std::stod(late.at("TIME").at("MIN")), 30, 0.01);
    EXPECT_LT(std::stoi(late.at("forceCoeffs Cl").at("COUNT")),
              std::stoi(stats.at("forceCoeffs Cl").at("COUNT")));

    // A study's row is the run's own -stats row over the same times.
    const Fields study = csvFields(e2e::monexportOutput(
        {"-study", run, "-stats", "-varlist", "forceCoeffs Cl", "-firsttime", "30", "-noheader"}));
    const Fields header = csvFields(e2e::monexportOutput(
        {"-study", run, "-stats", "-varlist", "forceCoeffs Cl", "-firsttime", "30"}));
    for (const auto& [column, field] :
         {std::pair{"forceCoeffs Cl", "MEAN"}, std::pair{"forceCoeffs Cl PERIOD", "PERIOD"},
          std::pair{"forceCoeffs Cl AMPLITUDE", "AMPLITUDE"}}) {
        const size_t at = std::find(header.begin(), header.end(), column) - header.begin();
        ASSERT_LT(at, study.size()) << column;
        EXPECT_EQ(study[at], late.at("forceCoeffs Cl").at(field)) << column;
    }

    // monplot draws the run against its time, and says so.
    ASSERT_EQ(e2e::monplot({"-dir", run, "-out", dir.file("plots"), "-varlist", "forceCoeffs Cl",
                            "-firsttime", "50"})
                  .status,
              0);
    const std::string svg = e2e::readFile(dir.file("plots/Selected_Variables.svg"));
    EXPECT_NE(svg.find(">Simulation Time [s]<"), std::string::npos);
    EXPECT_NE(svg.find(">60<"), std::string::npos);  // the axis ends at 60 s, not a step
    EXPECT_NE(e2e::readFile(dir.file("plots/index.html")).find("The x axis is the run's time"),
              std::string::npos);
    ASSERT_EQ(e2e::monplot({"-dir", run, "-out", dir.file("steps"), "-varlist", "forceCoeffs Cl",
                            "-x", "STEP"})
                  .status,
              0);
    EXPECT_NE(
        e2e::readFile(dir.file("steps/Selected_Variables.svg")).find(">Accumulated Time Step<"),
        std::string::npos);
}

TEST(TimeRanges, BadTimesAndRunsWithoutTimeAreErrors) {
    const std::string steady = e2e::testData("tables/steady.mon");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Case& c : {
             Case{{"-mon", steady, "-firsttime", "1"},
                  "The run has no TIME variable, so -firsttime and -lasttime cannot select its "
                  "records: use -firsttimestep and -lasttimestep."},
             Case{{"-mon", steady, "-stats", "-lasttime", "x1"},
                  "Invalid value 'x1' for option -lasttime: expected a number."},
         })
        EXPECT_TRUE(e2e::failsWith(e2e::monexport(c.args), c.message)) << c.args[3];
    const e2e::Result plot = e2e::monplot({"-mon", steady, "-out", "/tmp", "-firsttime", "nan"});
    EXPECT_EQ(plot.status, 255);
}

// The shedding history of the shared collection (a cylinder's wake, about
// 761 steps of 0.01 s to a period): a settled periodic flow whose period is
// the spacing of its lift peaks, drawn against its time.
TEST(TimeRanges, RealSheddingHistory) {
    // The collection beside the main checkout, or beside a worktree's folder.
    std::string shared = e2e::sourcePath("../shared/realdata/");
    if (!e2e::fileExists(shared + "SOURCES.md")) shared = e2e::sourcePath("../../shared/realdata/");
    const std::string run = shared + "openfoam/fluidfoam_output_samples_ascii";
    const std::string file = run + "/postProcessing/forces/100/coefficient.dat";
    if (!e2e::fileExists(file)) GTEST_SKIP() << "no " << file;
    // The lift's peaks: the largest value between two rises through zero.
    std::istringstream in(e2e::readFile(file));
    std::vector<double> peaks;
    double peakTime = 0, peak = 0, previous = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        double t, cd, cl;
        std::istringstream(line) >> t >> cd >> cl;
        if (previous < 0 && cl >= 0 && peak > 0) peaks.push_back(peakTime), peak = 0;
        if (cl > peak) peak = cl, peakTime = t;
        previous = cl;
    }
    ASSERT_GE(peaks.size(), 10u);
    const double spacing = (peaks.back() - peaks.front()) / double(peaks.size() - 1);

    const auto stats = table(e2e::monexportOutput({"-mon", file, "-stats"}));
    // Drag peaks twice a shedding period.
    for (const auto& [name, perPeriod] : {std::pair{"forces Cl", 1}, std::pair{"forces Cd", 2}}) {
        const auto& row = stats.at(name);
        EXPECT_EQ(row.at("NOTE"), "periodic") << name;
        EXPECT_NEAR(std::stod(row.at("PERIOD")) * perPeriod, spacing, 0.01 * spacing) << name;
    }
    e2e::TempDir dir;
    ASSERT_EQ(e2e::monplot({"-dir", run, "-out", dir.path(), "-varlist",
                            "forces forces pressure_x;forces Cd"})
                  .status,
              0);
    EXPECT_NE(e2e::readFile(dir.file("Selected_Variables.svg")).find(">Simulation Time [s]<"),
              std::string::npos);
}

}  // namespace
