// monplot: the default plots of a run drawn as SVG, PNG and PDF files with
// an index page, the options that pick plots and steps, -watch following a
// growing run, and the errors.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <pugixml.hpp>
#include <thread>

#include "tests/CommandRunner.h"

extern char** environ;

namespace {

const std::string kKnownRun = e2e::testData("monplot/known.mon");

e2e::Result monplot(const std::vector<std::string>& args,
                    const std::map<std::string, std::string>& env = {}) {
    return e2e::run(e2e::binary("monplot"), args, env);
}

std::string plotError(const std::string& reason) {
    return "Plot error:\n" + reason + "\n";
}

// The drawn picture of one plot, parsed.
struct Svg {
    pugi::xml_document document;
    explicit Svg(const std::string& path) { EXPECT_TRUE(document.load_file(path.c_str())) << path; }
    std::vector<std::string> texts() const {
        std::vector<std::string> all;
        for (const auto& node : document.select_nodes("//text"))
            all.push_back(node.node().text().get());
        return all;
    }
    bool hasText(const std::string& text) const {
        const auto all = texts();
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    double textY(const std::string& text) const {
        for (const auto& node : document.select_nodes("//text"))
            if (node.node().text().get() == text) return node.node().attribute("y").as_double();
        return NAN;
    }
    // The points of each clipped line drawn in the stroke colour.
    std::vector<std::vector<std::pair<double, double>>> lines(const std::string& colour) const {
        std::vector<std::vector<std::pair<double, double>>> found;
        const std::string query = "//g[@clip-path]/path[@stroke='" + colour + "']";
        for (const auto& node : document.select_nodes(query.c_str()))
            found.push_back(pathPoints(node.node().attribute("d").value()));
        return found;
    }
    // The points of path data made of M, l, h and v commands.
    static std::vector<std::pair<double, double>> pathPoints(const std::string& d) {
        std::vector<std::pair<double, double>> points;
        double x = 0, y = 0;
        size_t at = 0;
        const auto number = [&] {
            size_t used = 0;
            const double value = std::stod(d.substr(at), &used);
            at += used;
            return value;
        };
        while (at < d.size()) {
            const char command = d[at++];
            if (command == 'M') x = number(), y = number();
            if (command == 'l') x += number(), y += number();
            if (command == 'h') x += number();
            if (command == 'v') y += number();
            if (std::string("Mlhv").find(command) != std::string::npos) points.emplace_back(x, y);
        }
        return points;
    }
};

const std::string kFirstColour = "#1f63c6";
const std::string kSecondColour = "#d94a1e";

TEST(Monplot, DrawsTheVisibleDefaultPlotsAndAnIndex) {
    e2e::TempDir out;
    const e2e::Result result = monplot({"-mon", kKnownRun, "-out", out.file("plots")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(
        e2e::filesIn(out.file("plots")),
        (std::vector<std::string>{"Momentum_and_Mass.svg", "Pressure_Probes.svg", "index.html"}));
    const std::string index = e2e::readFile(out.file("plots/index.html"));
    const size_t residuals =
        index.find("<h2>Momentum and Mass</h2>\n<img src=\"Momentum_and_Mass.svg\"");
    const size_t probes = index.find("<h2>Pressure Probes</h2>\n<img src=\"Pressure_Probes.svg\"");
    EXPECT_NE(residuals, std::string::npos) << index;
    EXPECT_NE(probes, std::string::npos) << index;
    EXPECT_LT(residuals, probes);
    EXPECT_EQ(index.find("refresh"), std::string::npos);
    EXPECT_NE(index.find("<title>Monitor plots: known.mon</title>"), std::string::npos);
}

TEST(Monplot, ResidualPlotHasTitlesLegendDecadesAndLogPoints) {
    e2e::TempDir out;
    ASSERT_EQ(monplot({"-mon", kKnownRun, "-out", out.path()}).status, 0);
    const Svg svg(out.file("Momentum_and_Mass.svg"));
    for (const char* text :
         {"Momentum and Mass", "Accumulated Time Step", "Variable Value", "RMS P-Mass", "RMS U-Mom",
          "10⁻⁵", "10⁻⁴", "10⁻³", "10⁻²", "10⁻¹", "1", "2", "3", "4", "5", "6"})
        EXPECT_TRUE(svg.hasText(text)) << text;
    EXPECT_FALSE(svg.hasText("10⁻⁶"));
    EXPECT_FALSE(svg.hasText("MAX P-Mass"));

    // RMS P-Mass: the zero of step 5 is left out without breaking the line.
    const auto mass = svg.lines(kFirstColour);
    ASSERT_EQ(mass.size(), 1u);
    ASSERT_EQ(mass[0].size(), 5u);
    const auto& p = mass[0];
    const double dx = (p[3].first - p[0].first) / 3;        // one step
    const double decade = (p[3].second - p[0].second) / 3;  // one decade lower, further down
    EXPECT_GT(dx, 50);
    EXPECT_GT(decade, 50);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_NEAR(p[i].first - p[0].first, i * dx, 1.0);
        EXPECT_NEAR(p[i].second - p[0].second, i * decade, 1.0);
    }
    EXPECT_NEAR(p[4].first - p[0].first, 5 * dx, 1.0);        // step 6
    EXPECT_NEAR(p[4].second - p[0].second, 4 * decade, 1.0);  // 1e-5
    // The first point (0.1) sits on the line of the 10⁻¹ label.
    EXPECT_NEAR(svg.textY("10⁻¹") - 4, mass[0][0].second, 1.0);
    EXPECT_NEAR(svg.textY("10⁻⁵") - 4, mass[0][4].second, 1.0);

    // RMS U-Mom has no value at step 3: two pieces, steps 1-2 and 4-6.
    const auto momentum = svg.lines(kSecondColour);
    ASSERT_EQ(momentum.size(), 2u);
    EXPECT_EQ(momentum[0].size(), 2u);
    EXPECT_EQ(momentum[1].size(), 3u);
    EXPECT_NEAR(momentum[1][0].first, mass[0][3].first, 1.0);    // step 4
    EXPECT_NEAR(momentum[1][0].second, mass[0][2].second, 1.0);  // 1e-3
}

TEST(Monplot, ProbePlotHasLinearTicksAndTheProbeName) {
    e2e::TempDir out;
    ASSERT_EQ(monplot({"-mon", kKnownRun, "-out", out.path()}).status, 0);
    const Svg svg(out.file("Pressure_Probes.svg"));
    for (const char* text : {"Pressure Probes", "P1 Pressure", "100", "120", "140", "160", "180"})
        EXPECT_TRUE(svg.hasText(text)) << text;
    const auto probe = svg.lines(kFirstColour);
    ASSERT_EQ(probe.size(), 1u);
    ASSERT_EQ(probe[0].size(), 6u);
    EXPECT_NEAR(probe[0][0].second, svg.textY("100") - 4, 1.0);
    EXPECT_NEAR(probe[0][3].second, svg.textY("180") - 4, 1.0);
    EXPECT_NEAR(probe[0][1].second, svg.textY("150") - 4, 1.0);
}

TEST(Monplot, PicksPlotsAndSteps) {
    e2e::TempDir all, picked;
    ASSERT_EQ(monplot({"-mon", kKnownRun, "-out", all.path(), "-all"}).status, 0);
    EXPECT_EQ(e2e::filesIn(all.path()),
              (std::vector<std::string>{"Momentum_and_Mass.svg", "Momentum_and_Mass_MAX.svg",
                                        "Pressure_Probes.svg", "index.html"}));
    EXPECT_TRUE(Svg(all.file("Momentum_and_Mass_MAX.svg")).hasText("Momentum and Mass (MAX)"));

    const e2e::Result result =
        monplot({"-mon", kKnownRun, "-out", picked.path(), "-plot", "Momentum and Mass MAX",
                 "-plot", "Momentum and Mass", "-firsttimestep", "2", "-lasttimestep", "4"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(e2e::filesIn(picked.path()),
              (std::vector<std::string>{"Momentum_and_Mass.svg", "Momentum_and_Mass_MAX.svg",
                                        "index.html"}));
    const std::string index = e2e::readFile(picked.file("index.html"));
    EXPECT_LT(index.find("Momentum_and_Mass.svg"), index.find("Momentum_and_Mass_MAX.svg"));
    const Svg svg(picked.file("Momentum_and_Mass.svg"));
    ASSERT_EQ(svg.lines(kFirstColour).size(), 1u);
    EXPECT_EQ(svg.lines(kFirstColour)[0].size(), 3u);
    EXPECT_FALSE(svg.hasText("10⁻⁵"));
}

TEST(Monplot, PlotWithoutValuesSaysSo) {
    e2e::TempDir out;
    const e2e::Result result =
        monplot({"-mon", e2e::testData("monplot/nodata.mon"), "-out", out.path(), "-png"});
    ASSERT_EQ(result.status, 0) << result.err;
    const Svg svg(out.file("Pressure_Probes.svg"));
    EXPECT_TRUE(svg.hasText("No data to plot"));
    EXPECT_TRUE(svg.hasText("P2 Pressure"));
    EXPECT_TRUE(svg.lines(kFirstColour).empty());
    EXPECT_TRUE(e2e::fileExists(out.file("Pressure_Probes.png")));
}

uint32_t bigEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

size_t count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(Monplot, WritesPngImagesAndOnePdfPagePerPlot) {
    e2e::TempDir out;
    const e2e::Result result =
        monplot({"-dir", e2e::example("transient.dir"), "-out", out.path(), "-png", "-pdf"});
    ASSERT_EQ(result.status, 0) << result.err;
    size_t svgs = 0;
    for (const std::string& name : e2e::filesIn(out.path())) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".svg") continue;
        ++svgs;
        const std::string png = e2e::readFile(out.file(name.substr(0, name.size() - 4) + ".png"));
        ASSERT_GT(png.size(), 24u) << name;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
        EXPECT_EQ(png.substr(12, 4), "IHDR");
        EXPECT_EQ(bigEndian(png, 16), 1200u);
        EXPECT_EQ(bigEndian(png, 20), 800u);
    }
    EXPECT_GE(svgs, 5u);
    const std::string pdf = e2e::readFile(out.file("plots.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    EXPECT_EQ(count(pdf, "/Type /Page\n") + count(pdf, "/Type /Page ") + count(pdf, "/Type /Page>"),
              svgs);
}

// Eleven probes in one group: the eleventh takes the first colour again,
// dashed. Over a few records the dashes show; over thousands of records per
// pixel column they would be noise, so that line is drawn solid.
TEST(Monplot, LinesMuchDenserThanThePixelsAreDrawnSolid) {
    for (const int records : {20, 6000}) {
        e2e::TempDir out;
        std::string text = "monitor-file 1\n";
        for (int probe = 1; probe <= 11; ++probe)
            text += "var \"P" + std::to_string(probe) +
                    "\" category=MONITOR subcategory=POINT group=\"Probes\"\n";
        for (int step = 1; step <= records; ++step) {
            text += std::to_string(step);
            for (int probe = 1; probe <= 11; ++probe)
                text += " " + std::to_string(probe * 10 + (step * 7919 + probe) % 13);
            text += "\n";
        }
        e2e::writeFile(out.file("run.mon"), text);
        ASSERT_EQ(monplot({"-mon", out.file("run.mon"), "-out", out.file("plots")}).status, 0);
        const Svg svg(out.file("plots/Probes.svg"));
        const std::string query =
            "//g[@clip-path]/path[@stroke='" + kFirstColour + "'][@stroke-dasharray]";
        EXPECT_EQ(svg.document.select_nodes(query.c_str()).size(), records == 20 ? 1u : 0u)
            << records << " records";
        EXPECT_EQ(svg.lines(kFirstColour).size(), 2u);
    }
}

// A monplot -watch running in the background until it is sent SIGTERM.
class Watcher {
  public:
    explicit Watcher(const std::vector<std::string>& args) {
        std::vector<std::string> argv{e2e::binary("monplot")};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> pointers;
        for (auto& arg : argv) pointers.push_back(arg.data());
        pointers.push_back(nullptr);
        posix_spawn(&pid_, pointers[0], nullptr, nullptr, pointers.data(), environ);
    }
    // The exit status after SIGTERM, or -1 when it did not end.
    int stop() {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = 0;
};

bool waitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 200; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(Monplot, WatchRedrawsWhenTheRunGrowsAndStopsCleanly) {
    e2e::TempDir folder;
    const std::string run = folder.file("run.mon"), out = folder.file("plots");
    e2e::writeFile(run, e2e::readFile(kKnownRun));
    Watcher watcher({"-mon", run, "-out", out, "-watch", "0.2"});
    const std::string svg = out + "/Momentum_and_Mass.svg";
    ASSERT_TRUE(waitFor([&] { return e2e::fileExists(out + "/index.html"); }));
    EXPECT_NE(
        e2e::readFile(out + "/index.html").find("<meta http-equiv=\"refresh\" content=\"1\">"),
        std::string::npos);
    EXPECT_FALSE(Svg(svg).hasText("10⁻⁷"));

    e2e::writeFile(run, e2e::readFile(kKnownRun) + "7 1e-7 1e-6 0.005 150\n");
    EXPECT_TRUE(waitFor([&] { return Svg(svg).hasText("10⁻⁷"); }));
    EXPECT_EQ(Svg(svg).lines(kFirstColour)[0].size(), 6u);
    EXPECT_EQ(watcher.stop(), 0);
    EXPECT_EQ(e2e::filesIn(out), (std::vector<std::string>{"Momentum_and_Mass.svg",
                                                           "Pressure_Probes.svg", "index.html"}));
}

TEST(Monplot, WatchRetriesASourceThatIsBrieflyUnreadable) {
    e2e::TempDir folder;
    const std::string run = folder.file("run.mon"), out = folder.file("plots");
    e2e::writeFile(run, e2e::readFile(kKnownRun));
    Watcher watcher({"-mon", run, "-out", out, "-watch", "0.2"});
    ASSERT_TRUE(waitFor([&] { return e2e::fileExists(out + "/index.html"); }));
    std::filesystem::remove(run);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    e2e::writeFile(run, e2e::readFile(kKnownRun) + "7 1e-7 1e-6 0.005 150\n");
    EXPECT_TRUE(waitFor([&] { return Svg(out + "/Momentum_and_Mass.svg").hasText("10⁻⁷"); }));
    EXPECT_EQ(watcher.stop(), 0);
}

TEST(Monplot, FindsTheInstalledTemplateBesideTheExecutable) {
    e2e::TempDir prefix;
    std::filesystem::create_directories(prefix.file("bin"));
    std::filesystem::create_directories(prefix.file("share/monexport"));
    std::filesystem::copy_file(e2e::binary("monplot"), prefix.file("bin/monplot"));
    std::string mst = e2e::readFile(e2e::sourcePath("data/workspace-basic.mst"));
    const std::string label = "Window Label = Momentum and Mass\n";
    mst.replace(mst.find(label), label.size(), "Window Label = Installed Residuals\n");
    e2e::writeFile(prefix.file("share/monexport/workspace-basic.mst"), mst);
    const e2e::Result result =
        e2e::run(prefix.file("bin/monplot"), {"-mon", kKnownRun, "-out", prefix.file("out")},
                 {{"ORB_DATA_DIR", ""}});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(Svg(prefix.file("out/Momentum_and_Mass.svg")).hasText("Installed Residuals"));

    const e2e::Result fromBuild =
        monplot({"-mon", kKnownRun, "-out", prefix.file("build")}, {{"ORB_DATA_DIR", ""}});
    ASSERT_EQ(fromBuild.status, 0) << fromBuild.err;
    EXPECT_TRUE(Svg(prefix.file("build/Momentum_and_Mass.svg")).hasText("Momentum and Mass"));
}

TEST(Monplot, ReportsErrorsInTwoLines) {
    e2e::TempDir folder;
    e2e::writeFile(folder.file("file"), "x");
    const std::string out = folder.file("out");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-out", out}, "No valid data source has been specified."},
        {{"-mon", kKnownRun}, "No output folder has been specified: use -out FOLDER."},
        {{"-mon", kKnownRun, "-out"}, "Missing value for option -out."},
        {{"-mon", kKnownRun, "-out", out, "-colour"},
         "Unknown option '-colour'. Usage: monplot (-res FILE | -dir FOLDER | -mon FILE) -out "
         "FOLDER [options]."},
        {{"-mon", kKnownRun, "-out", out, "-watch", "soon"},
         "Option -watch needs a number of seconds above 0, not 'soon'."},
        {{"-mon", kKnownRun, "-out", out, "-watch", "0"},
         "Option -watch needs a number of seconds above 0, not '0'."},
        {{"-mon", kKnownRun, "-out", folder.file("file/plots")},
         "Cannot create the output folder '" + folder.file("file/plots") + "': Not a directory."},
        {{"-mon", kKnownRun, "-out", out, "-plot", "Momentum and Mass", "-plot", "Residuals"},
         "The run has no plot 'Residuals'. Its plots are: Momentum and Mass, Momentum and Mass "
         "MAX, Pressure Probes."},
    };
    for (const auto& [args, message] : cases) {
        const e2e::Result result = monplot(args);
        EXPECT_EQ(result.status, 255) << message;
        EXPECT_EQ(result.err, plotError(message));
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(e2e::fileExists(out));
}

TEST(Monplot, ReportsMissingSourcesAndBadTemplates) {
    e2e::TempDir folder;
    const std::string missing = folder.file("missing.mon");
    const e2e::Result noSource = monplot({"-mon", missing, "-out", folder.file("out")});
    EXPECT_EQ(noSource.status, 255);
    EXPECT_EQ(noSource.err.substr(0, 12), "Plot error:\n");
    EXPECT_NE(noSource.err.find(missing), std::string::npos) << noSource.err;

    e2e::writeFile(folder.file("workspace-basic.mst"), "LIBRARY:\n  MONITOR GROUP: Broken\n");
    const e2e::Result badTemplate =
        monplot({"-mon", kKnownRun, "-out", folder.file("out")}, {{"ORB_DATA_DIR", folder.path()}});
    EXPECT_EQ(badTemplate.status, 255);
    EXPECT_NE(badTemplate.err.find(folder.file("workspace-basic.mst")), std::string::npos)
        << badTemplate.err;
    EXPECT_EQ(std::count(badTemplate.err.begin(), badTemplate.err.end(), '\n'), 2);
    EXPECT_FALSE(e2e::fileExists(folder.file("out/index.html")));
}

}  // namespace
